// An extension library for the injection tests: its load-time constructor, the entry an
// extension has, logs which of the built copies it is.

#include "foundation/NSLog.h"

namespace {

[[gnu::constructor]] void extensionEntry()
{
    NSLog("test extension " CV_TEST_EXTENSION_NAME " loaded");
}

} // namespace
