# Property lists (XML and binary, through libplist) and NSDictionary's property-list files.
target_sources(cvfoundation PRIVATE
    NSPropertyList.cpp
    PropertyListLimits.cpp
    PropertyListFiles.cpp
)
target_link_libraries(cvfoundation PUBLIC PkgConfig::PLIST)

cv_add_test(foundation_property_list_test SOURCES tests/PropertyListTest.cpp LIBS cvfoundation)
