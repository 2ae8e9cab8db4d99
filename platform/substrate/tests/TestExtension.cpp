// An extension library for the injection tests: its load-time constructor, the entry an
// extension has, logs which of the built copies it is and registers a class of its own,
// as extensions define theirs.

#include "foundation/NSLog.h"
#include "objc/ClassBuilder.h"

namespace {

const char *extensionName(id, SEL)
{
    return CV_TEST_EXTENSION_NAME;
}

[[gnu::constructor]] void extensionEntry()
{
    NSLog("test extension " CV_TEST_EXTENSION_NAME " loaded");
    ClassBuilder<NSObject>("TestExtension" CV_TEST_EXTENSION_NAME, "NSObject")
        .classMethod("extensionName", extensionName)
        .registerClass();
}

} // namespace
