// The home and lock buttons: what a press does, its animation's end, and locking's notifications.

#include "SpringBoardTest.h"

#include "springboard/SBUIController.h"
#include "springboard/SpringBoardState.h"
#include "springboard/backlight/Backlight.h"
#include "springboard/home-screen/JitterAnimation.h"
#include "springboard/lock-screen/LockScreen.h"
#include "springboard/status-bar/SBStatusBarStateAggregator.h"

namespace {

using sim::SpringBoardHost;

// When animation controllers noted their end, seen through a replacement of the inherited
// method on SBUIAnimationController, as the extension installs it.
std::vector<double> g_finishTimes;

void recordFinish(SBUIBaseAnimationController *self, SEL _cmd)
{
    g_finishTimes.push_back(sim::now());
    auto inherited = reinterpret_cast<void (*)(SBUIBaseAnimationController *, SEL)>(
        class_getMethodImplementation(SBUIBaseAnimationController::class_(), _cmd));
    inherited(self, _cmd);
}

class HomeButton : public test::SpringBoardTest {
protected:
    void SetUp() override
    {
        test::SpringBoardTest::SetUp();
        g_finishTimes.clear();
    }

    static SBUIController *uiController()
    {
        return msg<SBUIController *>(SBUIController::class_(), "sharedInstance"_sel);
    }

    static CGFloat pagePosition() { return rootFolderView()->iconListPosition(); }
};

TEST_F(HomeButton, APressRunsAnAnimationWhoseEndIsNotedAfterItsDurationEvenWhileLocked)
{
    launch();
    ASSERT_TRUE(class_addMethod(SBUIAnimationController::class_(), "_noteAnimationDidFinish"_sel,
                                reinterpret_cast<IMP>(recordFinish), "v@:"));
    // While locked a press leaves the home screen alone but still animates.
    SpringBoardHost::setEditing(true);
    SpringBoardHost::pressHome();
    sim::advanceVirtualClock(0.5);
    EXPECT_TRUE(msg<BOOL>(rootFolderView(), "isEditing"_sel));
    EXPECT_EQ(g_finishTimes.size(), 1u);

    SpringBoardHost::setEditing(false);
    SpringBoardHost::unlock();
    g_finishTimes.clear();
    double pressed = sim::now();

    SpringBoardHost::pressHome();
    auto *running = msg<SBUIBaseAnimationController *>(uiController(), "_animationController"_sel);
    ASSERT_NE(running, nullptr);
    EXPECT_STREQ(object_getClassName(running), "SBUIAnimationController");
    EXPECT_TRUE(msg<BOOL>(running, "isAnimating"_sel));
    sim::advanceVirtualClock(sim::kHomeScreenSettleDuration - 0.05);
    EXPECT_TRUE(g_finishTimes.empty());

    sim::advanceVirtualClock(0.1);
    ASSERT_EQ(g_finishTimes.size(), 1u);
    EXPECT_NEAR(g_finishTimes[0] - pressed, sim::kHomeScreenSettleDuration, 1.0 / 60);
    EXPECT_EQ(msg<id>(uiController(), "_animationController"_sel), nil);
}

// Every icon wiggles; only applications the user installed show a close box.
TEST_F(HomeButton, EditingMakesIconsJitterShowsCloseBoxesAndEndsWithAPress)
{
    launch();
    SpringBoardHost::setEditing(true);
    SBIconView *system = iconView(page(0), 0);
    SBIconView *folder = iconView(page(0), 17);
    SBIconView *installed = iconView(page(1), 0);
    for (SBIconView *view : {system, folder, installed}) {
        EXPECT_TRUE(msg<BOOL>(view, "isJittering"_sel));
        EXPECT_EQ(sim::keyframeAnimationKeys(view->layer()),
                  (std::vector<std::string>{"SBIconPosition", "SBIconTransform"}));
    }
    EXPECT_FALSE(installed->m_closeBox->isHidden());
    EXPECT_TRUE(system->m_closeBox->isHidden());
    EXPECT_TRUE(folder->m_closeBox->isHidden());
    EXPECT_NE(system->layer()->presented().transform.m12, 0) << "the icon is turned";

    SpringBoardHost::setEditing(false);
    EXPECT_TRUE(installed->m_closeBox->isHidden());
    EXPECT_TRUE(sim::keyframeAnimationKeys(system->layer()).empty());
    EXPECT_FALSE(system->layer()->hasAnimations());

    // A press returns to the first page; while editing it only ends the editing.
    SpringBoardHost::unlock();
    SpringBoardHost::swipePages(1, false);
    SpringBoardHost::setEditing(true);
    ASSERT_TRUE(msg<BOOL>(rootFolderView(), "isEditing"_sel));

    SpringBoardHost::pressHome();
    sim::advanceVirtualClock(0.5);
    EXPECT_FALSE(msg<BOOL>(rootFolderView(), "isEditing"_sel));
    EXPECT_FALSE(msg<BOOL>(iconView(page(0), 0), "isJittering"_sel));
    EXPECT_DOUBLE_EQ(pagePosition(), 1);

    SpringBoardHost::pressHome();
    sim::advanceVirtualClock(0.5);
    EXPECT_DOUBLE_EQ(pagePosition(), 0);
}

class Locking : public test::SpringBoardTest {};

TEST_F(Locking, TheLockScreenShowsTheTimeAndGoesWithNotificationsAndTheDisplayState)
{
    // 2016-03-01 10:00 UTC on the virtual clock: 10:00, a Tuesday.
    launch();
    auto *view = msg<SBLockScreenView *>(sim::springBoardState().lockScreenViewController,
                                         "lockScreenView"_sel);
    EXPECT_STREQ(view->m_dateView->m_timeLabel->m_text->UTF8String(), "10:00");
    EXPECT_STREQ(view->m_dateView->m_dateLabel->m_text->UTF8String(), "Tuesday, March 1");
    EXPECT_STREQ(view->m_slideToUnlockView->m_text->UTF8String(), "slide to unlock");
    // Laid out as soon as SpringBoard has launched: the slider 60 points above the bottom.
    EXPECT_RECT_NEAR(view->m_dateView->frame(), 0, 40, 375, 114);
    EXPECT_RECT_NEAR(view->m_slideToUnlockView->frame(), 0, 667 - 60 - 30, 375, 30);

    sim::advanceVirtualClock(61);
    EXPECT_STREQ(view->m_dateView->m_timeLabel->m_text->UTF8String(), "10:01");

    msg<void, NSString *>(view, "setCustomSlideToUnlockText:"_sel, "open sesame"_ns);
    EXPECT_STREQ(view->m_slideToUnlockView->m_text->UTF8String(), "open sesame");
    msg<void, NSString *>(view, "setCustomSlideToUnlockText:"_sel, nil);
    EXPECT_STREQ(view->m_slideToUnlockView->m_text->UTF8String(), "slide to unlock");

    // The status bar formats its time item every minute.
    auto *aggregator = static_cast<SBStatusBarStateAggregator *>(
        msg<id>(SBStatusBarStateAggregator::class_(), "sharedInstance"_sel));
    EXPECT_STREQ(aggregator->m_data.timeString, "10:01 AM");

    // Unlocking and locking post their notifications and set the display state.
    int lockState = watch("com.apple.springboard.lockstate");
    int lockComplete = watch("com.apple.springboard.lockcomplete");
    UIWindow *lockScreen = sim::springBoardState().lockScreenWindow;

    SpringBoardHost::unlock();
    EXPECT_TRUE(posted(lockState));
    EXPECT_FALSE(posted(lockComplete));
    EXPECT_EQ(stateOf("com.apple.iokit.hid.displayStatus"), 1u);
    EXPECT_EQ(stateOf("com.apple.springboard.lockstate"), 0u);
    EXPECT_TRUE(lockScreen->isHidden());
    EXPECT_FALSE(rootFolderView()->window()->isHidden());
    EXPECT_TRUE(rootFolderView()->window()->isKeyWindow());

    SpringBoardHost::lock();
    EXPECT_TRUE(posted(lockState));
    EXPECT_TRUE(posted(lockComplete));
    // The backlight fades out, and the display reports off when it is dark.
    EXPECT_EQ(stateOf("com.apple.iokit.hid.displayStatus"), 1u);
    sim::advanceVirtualClock(sim::kBacklightFadeDuration - 0.01);
    EXPECT_EQ(stateOf("com.apple.iokit.hid.displayStatus"), 1u);
    sim::advanceVirtualClock(0.01);
    EXPECT_EQ(stateOf("com.apple.iokit.hid.displayStatus"), 0u);
    EXPECT_EQ(stateOf("com.apple.springboard.lockstate"), 1u);
    EXPECT_FALSE(lockScreen->isHidden());
    EXPECT_TRUE(lockScreen->isKeyWindow());

    // Locking a locked device does nothing more.
    SpringBoardHost::lock();
    EXPECT_FALSE(posted(lockState));
    notify_cancel(lockState);
    notify_cancel(lockComplete);
}

} // namespace
