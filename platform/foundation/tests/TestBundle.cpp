// The executable of the bundle test's bundles. Loading it registers a principal class and
// a helper class, in that order, named after the build's prefix ("NamedPrincipal").

#include "objc/ClassBuilder.h"

namespace {

struct BundlePrincipal : NSObject {};
struct BundleHelper : NSObject {};

const char *greeting(id, SEL)
{
    return "hello from " CV_TEST_BUNDLE_PREFIX;
}

const Class kPrincipal =
    ClassBuilder<BundlePrincipal>(CV_TEST_BUNDLE_PREFIX "Principal", "NSObject")
        .classMethod("greeting", greeting)
        .registerClass();
const Class kHelper =
    ClassBuilder<BundleHelper>(CV_TEST_BUNDLE_PREFIX "Helper", "NSObject").registerClass();

} // namespace
