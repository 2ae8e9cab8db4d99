// An extension for the SpringBoard tests: its load-time entry reports what it finds of
// SpringBoard at that moment.

#include "foundation/NSLog.h"
#include "objc/runtime.h"
#include "uikit/UIWindow.h"

namespace {

[[gnu::constructor]] void extensionEntry()
{
    NSLog("test extension: SBIconController %s, %zu windows on screen",
          objc_getClass("SBIconController") ? "registered" : "missing",
          sim::visibleWindowsBottomUp().size());
}

} // namespace
