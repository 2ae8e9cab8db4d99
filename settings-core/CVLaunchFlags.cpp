// The process flags. Features that must not act while SpringBoard is still starting up
// ask CVSpringBoardDidLaunch; outside SpringBoard there is no start-up to wait for, so
// the flag is up from the moment the library loads.

#include "darwin/notify.h"
#include "foundation/NSBundle.h"
#include "settings-core/CVProcess.h"
#include "settings-core/CVSettings.h"

unsigned char CVSpringBoardDidLaunch = 0;
unsigned char CVExtensionInitialized = 0;

bool CVIsSpringBoardProcess()
{
    AutoreleasePool pool;
    NSString *identifier = NSBundle::mainBundle()->bundleIdentifier();
    return identifier && identifier->isEqualToString("com.apple.springboard"_ns);
}

namespace {

// Inside SpringBoard the flag goes up when SpringBoard says it has finished launching.
// The registration lasts as long as the process.
[[gnu::constructor]] void armSpringBoardDidLaunch()
{
    if (!CVIsSpringBoardProcess()) {
        CVSpringBoardDidLaunch = 1;
        return;
    }
    int token = 0;
    notify_register_dispatch("SBSpringBoardDidLaunchNotification", &token,
                             dispatch_get_main_queue(), [](int) { CVSpringBoardDidLaunch = 1; });
}

} // namespace
