# Helpers shared by every folder's CMakeLists.txt.

# The phone paths that `cmake --install` lays the deliverables out at, relative to the
# device root (CMAKE_INSTALL_PREFIX is the device root).
set(CV_PHONE_LIBDIR "usr/lib")
set(CV_PHONE_INJECTION_DIR "Library/MobileSubstrate/DynamicLibraries")
set(CV_PHONE_PREFERENCE_BUNDLES "Library/PreferenceBundles")

include(GoogleTest)

# cv_add_test(NAME SOURCES... LIBS... [LABELS...] [TIMEOUT SECONDS]): one GoogleTest
# binary whose cases ctest lists one by one, as NAME.Suite.Case, each run in a process of
# its own (TIMEOUT, 300 s unless given, is each case's). The cases are asked of the binary
# when ctest starts, not when it is built, so that a build never runs a test binary.
function(cv_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT CV_BUILD_TESTS)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set(properties TIMEOUT ${ARG_TIMEOUT})
    if(ARG_LABELS)
        list(APPEND properties LABELS "${ARG_LABELS}")
    endif()
    gtest_discover_tests(${name} TEST_PREFIX "${name}." DISCOVERY_MODE PRE_TEST
        PROPERTIES ${properties})
endfunction()

# A shared library installed at a phone path under the name the phone gives it
# ("libcv3.dylib"); on Linux it is an ordinary shared object with that file name.
function(cv_phone_library target file_name destination)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME ${file_name} PREFIX "" SUFFIX "")
    install(TARGETS ${target} LIBRARY DESTINATION ${destination})
endfunction()
