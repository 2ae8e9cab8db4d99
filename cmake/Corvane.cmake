# Helpers shared by every folder's CMakeLists.txt.

# The phone paths that `cmake --install` lays the deliverables out at, relative to the
# device root (CMAKE_INSTALL_PREFIX is the device root).
set(CV_PHONE_LIBDIR "usr/lib")
set(CV_PHONE_INJECTION_DIR "Library/MobileSubstrate/DynamicLibraries")
set(CV_PHONE_PREFERENCE_BUNDLES "Library/PreferenceBundles")

# cv_add_test(NAME SOURCES... LIBS...): one GoogleTest binary, one ctest entry.
function(cv_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    if(NOT CV_BUILD_TESTS)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()

# A shared library installed at a phone path under the name the phone gives it
# ("libcv3.dylib"); on Linux it is an ordinary shared object with that file name.
function(cv_phone_library target file_name destination)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME ${file_name} PREFIX "" SUFFIX "")
    install(TARGETS ${target} LIBRARY DESTINATION ${destination})
endfunction()
