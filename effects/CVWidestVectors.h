#pragma once
// A pixel walk runs several times faster with the widest vectors the processor has. Where
// the compiler can build one version of a function per vector width and let the loader
// pick the widest the processor has, CV_WIDEST_VECTORS asks for that; elsewhere the
// function is built once for the baseline. Each version has its callees inlined
// (flatten), so that each is built for its own width. Under ThreadSanitizer the loader's
// choice would run before the sanitizer's runtime is ready, so there it is built once.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
#define CV_WIDEST_VECTORS                                                                          \
    [[gnu::flatten, gnu::target_clones("default", "arch=x86-64-v3", "arch=x86-64-v4")]]
#else
#define CV_WIDEST_VECTORS [[gnu::flatten]]
#endif
