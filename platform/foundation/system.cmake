# Logging, the device profile, date formatting, bundles, and the system calls whose
# answers come from the simulated phone.
target_sources(cvfoundation PRIVATE
    NSLog.cpp
    DeviceProfile.cpp
    NSDateFormatter.cpp
    StringsFile.cpp
    NSBundle.cpp
    PhoneSystem.cpp
    SystemConfiguration.cpp
    DeviceIdentity.cpp
)
target_link_libraries(cvfoundation PUBLIC PkgConfig::ICU PkgConfig::PLIST ${CMAKE_DL_LIBS})
# The system calls of PhoneSystem.cpp replace the C library's only when this library comes
# before the C library in the process's search order, so every executable that links it
# keeps it among its own needed libraries even where it calls nothing of it directly.
target_link_options(cvfoundation INTERFACE
    "$<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:LINKER:--no-as-needed>")

cv_add_test(foundation_log_test SOURCES tests/LogTest.cpp LIBS cvfoundation)
cv_add_test(foundation_date_formatter_test SOURCES tests/DateFormatterTest.cpp LIBS cvfoundation)

if(CV_BUILD_TESTS)
    # Two bundle executables from one source: each registers a principal and a helper
    # class under its own prefix as it loads.
    foreach(prefix Named Unnamed)
        add_library(foundation_test_bundle_${prefix} MODULE tests/TestBundle.cpp)
        target_link_libraries(foundation_test_bundle_${prefix} PRIVATE cvfoundation)
        target_compile_definitions(foundation_test_bundle_${prefix} PRIVATE
            CV_TEST_BUNDLE_PREFIX="${prefix}")
    endforeach()

    # A library that opens libraries by phone path as product code does, without
    # linking the Foundation stand-in.
    add_library(foundation_test_phone_loader SHARED tests/PhoneLoader.cpp)
    target_link_libraries(foundation_test_phone_loader PRIVATE ${CMAKE_DL_LIBS})
endif()

cv_add_test(foundation_bundle_test SOURCES tests/BundleTest.cpp LIBS cvfoundation)
if(TARGET foundation_bundle_test)
    add_dependencies(foundation_bundle_test
        foundation_test_bundle_Named foundation_test_bundle_Unnamed)
    target_compile_definitions(foundation_bundle_test PRIVATE
        CV_TEST_BUNDLE_NAMED="$<TARGET_FILE:foundation_test_bundle_Named>"
        CV_TEST_BUNDLE_UNNAMED="$<TARGET_FILE:foundation_test_bundle_Unnamed>")
endif()

cv_add_test(foundation_system_queries_test
    SOURCES tests/SystemQueriesTest.cpp
    LIBS cvfoundation foundation_test_phone_loader)
if(TARGET foundation_system_queries_test)
    target_compile_definitions(foundation_system_queries_test PRIVATE
        CV_TEST_PHONE_LOADER="$<TARGET_FILE:foundation_test_phone_loader>")
endif()
