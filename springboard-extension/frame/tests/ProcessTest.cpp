// What the entry arms for the life of SpringBoard's process, each case a process of its
// own: applying settings and its farewell (the master switch, off here, must not matter),
// and the alert on a system the extension does not know.

#include "FrameTestSupport.h"
#include "OwnProcess.h"
#include "darwin/TemporaryDevice.h"
#include "darwin/notify.h"
#include "foundation/Clock.h"
#include "foundation/CoreFoundation.h"
#include "foundation/tests/Watchdog.h"
#include "quartzcore/CAFilter.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Extension.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIColor.h"
#include "uikit/UIScreen.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using Lines = std::vector<std::string>;

constexpr double kFarewellDelay = 0.1;
constexpr double kFarewellDuration = 2.3;
// A little more than the 1 ns that the farewell's delay has beyond 0.1 second.
constexpr double kMoment = 0.01;
constexpr double kUnsupported = 847.19;

class ExtensionProcess : public testing::Test {
protected:
    // Starts the test's SpringBoard with the extension on the system, a key window showing
    // the home screen; SpringBoard has not finished launching.
    void launchOn(double version = 1240.1, bool notesAnimationEnds = true)
    {
        // The device's services are forked before the watchdog's thread exists, so the
        // fork cannot catch that thread holding an allocator lock.
        device.emplace();
        EXPECT_TRUE(device->ready());
        watchdog.emplace("extension process test");
        sim::useVirtualClock(100);
        fake::registerSpringBoard(notesAnimationEnds);
        fake::writeSettingsFile("<key>CVGlobal</key><dict><key>enabled</key><false/></dict>");
        CVSpringBoardDidLaunch = 0;
        window = StrongRef<UIWindow>::adopt(static_cast<UIWindow *>(
            msg<id, CGRect>(msg<id>(UIWindow::class_(), "alloc"_sel), "initWithFrame:"_sel,
                            UIScreen::mainScreen()->bounds())));
        msg<void>(window.get(), "setBackgroundColor:"_sel,
                  UIColor::colorWithRedGreenBlueAlpha(0.2, 0.4, 0.8, 1));
        msg<void>(window.get(), "makeKeyAndVisible"_sel);
        // (The screen sets the system's version from the device; the case's comes after.)
        kCFCoreFoundationVersionNumber = version;
        fake::RecordingInstallers installers;
        ExtensionEntry();
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
    static void apply() { post("com.kestrelworks.corvane3.applySettings"); }
    static void lockOrUnlock() { post("com.apple.springboard.lockstate"); }

    // The snapshots that farewells put in the key window, oldest first.
    std::vector<UIView *> farewells() const
    {
        std::vector<UIView *> snapshots;
        for (const StrongRef<UIView> &subview : window->m_subviews)
            snapshots.push_back(subview.get());
        return snapshots;
    }
    static CGFloat presentedAlpha(UIView *view) { return view->layer()->presented().opacity; }

    std::optional<sim::TemporaryDevice> device;
    std::optional<Watchdog> watchdog;
    AutoreleasePool pool;
    StrongRef<UIWindow> window;
};

TEST_F(ExtensionProcess, AfterTheHomePressesAnimationTheFarewellPlaysAndSpringBoardRelaunches)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchOn();
    apply();
    sim::advanceVirtualClock(fake::kInterfaceAnimationDuration + kFarewellDelay - kMoment);
    EXPECT_TRUE(farewells().empty());

    sim::advanceVirtualClock(2 * kMoment);
    ASSERT_EQ(farewells().size(), 1u);
    UIView *snapshot = farewells().front();
    ASSERT_EQ(snapshot->m_subviews.size(), 1u);
    UIView *darkening = snapshot->m_subviews.front().get();
    EXPECT_NE(snapshot->layer()->contents(), nullptr);
    EXPECT_TRUE(CGRectEqualToRect(snapshot->frame(), UIScreen::mainScreen()->bounds()));
    NSArray *filters = snapshot->layer()->filters();
    ASSERT_EQ(filters ? filters->count() : 0, 1u);
    auto *blur = static_cast<CAFilter *>(filters->objectAtIndex(0));
    EXPECT_EQ(static_cast<NSNumber *>(blur->valueForKey("inputRadius"_ns))->doubleValue(), 5.0);

    // Blurred in and darkened from the start to the end.
    EXPECT_NEAR(presentedAlpha(snapshot), 0.1, 0.01);
    EXPECT_NEAR(presentedAlpha(darkening), 0.0, 0.01);
    sim::advanceVirtualClock(kFarewellDuration - 2 * kMoment);
    EXPECT_TRUE(fake::events().relaunches.empty());
    sim::advanceVirtualClock(2 * kMoment);
    EXPECT_NEAR(presentedAlpha(snapshot), 1.0, 1e-6);
    EXPECT_NEAR(presentedAlpha(darkening), 0.5, 1e-6);
    EXPECT_EQ(fake::events().relaunches.size(), 1u);
}

TEST_F(ExtensionProcess, AnInterruptedFarewellDoesNotRelaunch)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchOn();
    apply();
    sim::advanceVirtualClock(fake::kInterfaceAnimationDuration + kFarewellDelay + kMoment);
    ASSERT_EQ(farewells().size(), 1u);
    msg<void>(farewells().front()->layer(), "removeAllAnimations"_sel);
    sim::advanceVirtualClock(2 * kFarewellDuration);
    EXPECT_TRUE(fake::events().relaunches.empty());
}

// The hook is installed once (twice, each end would play two farewells); each animation's
// own end plays one.
TEST_F(ExtensionProcess, ASecondApplyNeitherInstallsTheHookAgainNorLosesAFarewell)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchOn();
    apply();
    sim::advanceVirtualClock(fake::kInterfaceAnimationDuration / 2);
    apply();
    sim::advanceVirtualClock(fake::kInterfaceAnimationDuration + kFarewellDelay + kMoment);
    EXPECT_EQ(farewells().size(), 2u);
    sim::advanceVirtualClock(kFarewellDuration);
    EXPECT_EQ(fake::events().relaunches.size(), 2u);
}

// Without the animation end note only the home button is pressed; after the exit the apply
// notification is no longer heard.
TEST_F(ExtensionProcess, WithoutTheAnimationEndNoteOnlyTheHomeButtonIsPressedUntilTheExit)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchOn(1240.1, false);
    apply();
    sim::advanceVirtualClock(10);
    EXPECT_EQ(fake::events().homeButtonPresses, 1);
    EXPECT_TRUE(farewells().empty());
    EXPECT_TRUE(fake::events().relaunches.empty());
    ExtensionExit();
    apply();
    sim::advanceVirtualClock(1);
    EXPECT_EQ(fake::events().homeButtonPresses, 1);
}

TEST_F(ExtensionProcess, OnAnUnknownSystemTheAlertComesOnceAtTheFirstLockAfterLaunch)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchOn(kUnsupported);
    apply();
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
    ASSERT_TRUE(sim::pressAlertButton(alerts[0].alert, 0));
    lockOrUnlock();
    EXPECT_TRUE(sim::visibleAlerts().empty());
}

TEST_F(ExtensionProcess, OnAnUnknownSystemNoAlertComesAfterTheExit)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchOn(kUnsupported);
    ExtensionExit();
    CVSpringBoardDidLaunch = 1;
    lockOrUnlock();
    EXPECT_TRUE(sim::visibleAlerts().empty());
}

} // namespace
