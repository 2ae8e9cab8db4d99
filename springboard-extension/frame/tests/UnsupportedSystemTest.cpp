// A system the extension does not know: SpringBoard runs unchanged, and the user is told
// once, at the first lock or unlock after SpringBoard has launched. Each case is a
// SpringBoard process of its own, since the alert is shown once per process.

#include "FrameTestSupport.h"
#include "OwnProcess.h"
#include "darwin/TemporaryDevice.h"
#include "darwin/notify.h"
#include "foundation/Clock.h"
#include "foundation/CoreFoundation.h"
#include "foundation/NSLog.h"
#include "foundation/tests/Watchdog.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Extension.h"
#include "uikit/UIAlertView.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using Lines = std::vector<std::string>;

class UnsupportedSystem : public testing::Test {
protected:
    // Starts SpringBoard with the extension on the given system; SpringBoard has not
    // finished launching yet. Answers what the entry logged.
    Lines launchOn(double version)
    {
        // The device's services are forked before the watchdog's thread exists, so the
        // fork cannot catch that thread holding an allocator lock.
        device.emplace();
        EXPECT_TRUE(device->ready());
        watchdog.emplace("unsupported system test");
        sim::useVirtualClock(100);
        fake::registerSpringBoard();
        CVSpringBoardDidLaunch = 0;
        kCFCoreFoundationVersionNumber = version;
        sim::LogCapture log;
        ExtensionEntry();
        return log.lines();
    }

    // A shown alert keeps itself alive until it is dismissed.
    void TearDown() override
    {
        for (const sim::VisibleAlert &shown : sim::visibleAlerts())
            sim::pressAlertButton(shown.alert, 0);
    }

    static void post(const char *notification)
    {
        ASSERT_EQ(notify_post(notification), NOTIFY_STATUS_OK);
        sim::advanceVirtualClock(0);
    }

    static void lockOrUnlock() { post("com.apple.springboard.lockstate"); }

    std::optional<sim::TemporaryDevice> device;
    std::optional<Watchdog> watchdog;
    AutoreleasePool pool;
};

TEST_F(UnsupportedSystem, NothingChangesAndTheAlertComesOnceAtTheFirstLockAfterLaunch)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    fake::RecordingInstallers installers;
    EXPECT_EQ(launchOn(847.19), (Lines{"Welcome to Corvane 3", "847.190000 not supported!"}));
    EXPECT_TRUE(installers.called().empty());
    EXPECT_EQ(CVExtensionInitialized, 0);
    post("com.kestrelworks.corvane3.applySettings");
    EXPECT_EQ(fake::events().homeButtonPresses, 0);
    lockOrUnlock();
    EXPECT_TRUE(sim::visibleAlerts().empty());

    CVSpringBoardDidLaunch = 1;
    lockOrUnlock();
    lockOrUnlock();
    std::vector<sim::VisibleAlert> alerts = sim::visibleAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].title, "Corvane");
    EXPECT_EQ(alerts[0].message, "Corvane 3 does not support this iOS version (847.190).");
    EXPECT_EQ(alerts[0].buttons, (Lines{"Cancel"}));
    EXPECT_EQ(alerts[0].alert->m_delegate, nil);

    ASSERT_TRUE(sim::pressAlertButton(alerts[0].alert, 0));
    lockOrUnlock();
    EXPECT_TRUE(sim::visibleAlerts().empty());
}

TEST_F(UnsupportedSystem, AfterTheExitNoAlertComes)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchOn(847.19);
    ExtensionExit();
    CVSpringBoardDidLaunch = 1;
    lockOrUnlock();
    EXPECT_TRUE(sim::visibleAlerts().empty());
}

} // namespace
