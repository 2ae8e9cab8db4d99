// Applying settings from the panel, as SpringBoard lives it: the apply notification
// presses the home button, the interface animation that starts ends, 0.1 second later
// the farewell blurs and darkens a snapshot of the screen for 2.3 seconds, and then
// SpringBoard relaunches. Each case is a SpringBoard process of its own, on the
// virtual clock, with the master switch off, which must not matter to any of this.

#include "FrameTestSupport.h"
#include "OwnProcess.h"
#include "darwin/TemporaryDevice.h"
#include "darwin/notify.h"
#include "foundation/Clock.h"
#include "foundation/CoreFoundation.h"
#include "foundation/tests/Watchdog.h"
#include "quartzcore/CAFilter.h"
#include "springboard-extension/frame/Extension.h"
#include "uikit/UIColor.h"
#include "uikit/UIScreen.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr double kFarewellDelay = 0.1;
constexpr double kFarewellDuration = 2.3;
// A little more than the 1 ns that the farewell's delay has beyond 0.1 second.
constexpr double kMoment = 0.01;

class ApplySettings : public testing::Test {
protected:
    // Starts SpringBoard with the extension on iOS 9, the master switch off, and a key
    // window showing the home screen.
    void launch(bool notesAnimationEnds = true)
    {
        // The device's services are forked before the watchdog's thread exists, so the
        // fork cannot catch that thread holding an allocator lock.
        device.emplace();
        ASSERT_TRUE(device->ready());
        watchdog.emplace("apply settings test");
        sim::useVirtualClock(100);
        fake::registerSpringBoard(notesAnimationEnds);
        fake::writeSettingsFile("<key>CVGlobal</key><dict><key>enabled</key><false/></dict>");
        kCFCoreFoundationVersionNumber = 1240.1;
        makeHomeScreenWindow();
        fake::RecordingInstallers installers;
        ExtensionEntry();
        EXPECT_TRUE(installers.called().empty());
    }

    void makeHomeScreenWindow()
    {
        CGRect screen = UIScreen::mainScreen()->bounds();
        window = StrongRef<UIWindow>::adopt(static_cast<UIWindow *>(msg<id, CGRect>(
            msg<id>(UIWindow::class_(), "alloc"_sel), "initWithFrame:"_sel, screen)));
        msg<void>(window.get(), "setBackgroundColor:"_sel,
                  UIColor::colorWithRedGreenBlueAlpha(0.2, 0.4, 0.8, 1));
        msg<void>(window.get(), "makeKeyAndVisible"_sel);
    }

    static void apply()
    {
        ASSERT_EQ(notify_post("com.kestrelworks.corvane3.applySettings"), NOTIFY_STATUS_OK);
        sim::advanceVirtualClock(0);
    }

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

TEST_F(ApplySettings, AfterTheHomePressesAnimationTheFarewellPlaysAndSpringBoardRelaunches)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launch();
    apply();
    EXPECT_EQ(fake::events().homeButtonPresses, 1);
    sim::advanceVirtualClock(fake::kInterfaceAnimationDuration + kFarewellDelay - kMoment);
    EXPECT_EQ(fake::events().animationEndsNoted, 1);
    EXPECT_TRUE(farewells().empty());

    sim::advanceVirtualClock(2 * kMoment);
    ASSERT_EQ(farewells().size(), 1u);
    double farewellStart = sim::now() - kMoment;
    UIView *snapshot = farewells().front();
    ASSERT_EQ(snapshot->m_subviews.size(), 1u);
    UIView *darkening = snapshot->m_subviews.front().get();
    EXPECT_NE(snapshot->layer()->contents(), nullptr);
    EXPECT_TRUE(CGRectEqualToRect(snapshot->frame(), UIScreen::mainScreen()->bounds()));
    NSArray *filters = snapshot->layer()->filters();
    ASSERT_EQ(filters ? filters->count() : 0, 1u);
    auto *blur = static_cast<CAFilter *>(filters->objectAtIndex(0));
    EXPECT_EQ(static_cast<NSNumber *>(blur->valueForKey("inputRadius"_ns))->doubleValue(), 5.0);

    // Blurred in and darkened, halfway along an ease-in-out curve, then to the end.
    EXPECT_NEAR(presentedAlpha(snapshot), 0.1, 0.01);
    EXPECT_NEAR(presentedAlpha(darkening), 0.0, 0.01);
    sim::advanceVirtualClock(kFarewellDuration / 2 - kMoment);
    EXPECT_NEAR(presentedAlpha(snapshot), 0.55, 0.02);
    EXPECT_NEAR(presentedAlpha(darkening), 0.25, 0.02);
    sim::advanceVirtualClock(kFarewellDuration / 2 - kMoment);
    EXPECT_TRUE(fake::events().relaunches.empty());
    sim::advanceVirtualClock(2 * kMoment);
    EXPECT_NEAR(presentedAlpha(snapshot), 1.0, 1e-6);
    EXPECT_NEAR(presentedAlpha(darkening), 0.5, 1e-6);
    ASSERT_EQ(fake::events().relaunches.size(), 1u);
    EXPECT_NEAR(fake::events().relaunches.front() - farewellStart, kFarewellDuration, kMoment);
}

TEST_F(ApplySettings, AnInterruptedFarewellDoesNotRelaunch)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launch();
    apply();
    sim::advanceVirtualClock(fake::kInterfaceAnimationDuration + kFarewellDelay + kMoment);
    ASSERT_EQ(farewells().size(), 1u);
    msg<void>(farewells().front()->layer(), "removeAllAnimations"_sel);
    sim::advanceVirtualClock(2 * kFarewellDuration);
    EXPECT_TRUE(fake::events().relaunches.empty());
}

TEST_F(ApplySettings, ASecondApplyNeitherInstallsTheHookAgainNorLosesAFarewell)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launch();
    apply();
    sim::advanceVirtualClock(fake::kInterfaceAnimationDuration / 2);
    IMP hooked = class_getMethodImplementation(objc_getClass("SBUIAnimationController"),
                                               "_noteAnimationDidFinish"_sel);
    apply();
    EXPECT_EQ(class_getMethodImplementation(objc_getClass("SBUIAnimationController"),
                                            "_noteAnimationDidFinish"_sel),
              hooked);
    EXPECT_EQ(fake::events().homeButtonPresses, 2);

    // Each animation's own end is noted once, and each plays a farewell.
    sim::advanceVirtualClock(fake::kInterfaceAnimationDuration + kFarewellDelay + kMoment);
    EXPECT_EQ(fake::events().animationEndsNoted, 2);
    EXPECT_EQ(farewells().size(), 2u);
    sim::advanceVirtualClock(kFarewellDuration);
    EXPECT_EQ(fake::events().relaunches.size(), 2u);
}

TEST_F(ApplySettings, WithoutTheAnimationEndNoteOnlyTheHomeButtonIsPressed)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launch(false);
    apply();
    sim::advanceVirtualClock(10);
    EXPECT_EQ(fake::events().homeButtonPresses, 1);
    EXPECT_FALSE(class_respondsToSelector(objc_getClass("SBUIAnimationController"),
                                          "_noteAnimationDidFinish"_sel));
    EXPECT_TRUE(farewells().empty());
    EXPECT_TRUE(fake::events().relaunches.empty());
}

TEST_F(ApplySettings, AfterTheExitTheApplyNotificationIsNoLongerHeard)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launch();
    ExtensionExit();
    apply();
    sim::advanceVirtualClock(1);
    EXPECT_EQ(fake::events().homeButtonPresses, 0);
}

} // namespace
