// An extension for the SpringBoard tests: its load-time entry reports what it finds of
// SpringBoard at that moment and registers a class of its own, as extensions define theirs.

#include "foundation/NSLog.h"
#include "objc/ClassBuilder.h"
#include "uikit/UIWindow.h"

namespace {

BOOL isExtensionProbe(id, SEL)
{
    return YES;
}

[[gnu::constructor]] void extensionEntry()
{
    ClassBuilder<NSObject>("TestExtensionProbe", "NSObject")
        .classMethod("isExtensionProbe", isExtensionProbe)
        .registerClass();
    NSLog("test extension: SBIconController %s, %zu windows on screen",
          objc_getClass("SBIconController") ? "registered" : "missing",
          sim::visibleWindowsBottomUp().size());
}

} // namespace
