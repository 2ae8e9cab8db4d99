# Errors, URLs and their loading over libcurl, and CommonCrypto's digests over OpenSSL.
find_package(CURL REQUIRED)
find_package(OpenSSL REQUIRED)
target_sources(cvfoundation PRIVATE
    NSError.cpp
    NSURL.cpp
    CommonDigest.cpp
)
target_link_libraries(cvfoundation PRIVATE CURL::libcurl OpenSSL::Crypto)

cv_add_test(foundation_digest_test SOURCES tests/CommonDigestTest.cpp LIBS cvfoundation)

# The loading test serves its pages from a real HTTP server on the loopback interface.
pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
cv_add_test(foundation_url_loading_test
    SOURCES tests/URLLoadingTest.cpp
    LIBS cvfoundation PkgConfig::HTTPLIB Threads::Threads)
