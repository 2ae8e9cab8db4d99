// Notification Center with the extension, on each generation: the no-notifications text,
// the disabled center (gestures refused, system gesture withdrawn on iOS 9), the Today
// and Missed views left out when added and when already present, the backdrop, and the
// lock screen's top grabber.

#include "CentersTest.h"
#include "springboard-extension/frame/tests/OwnProcess.h"

#include "foundation/NSArray.h"
#include "foundation/NSDictionary.h"
#include "springboard-extension/system-ui/NotificationCenter.h"
#include "springboard/SpringBoardState.h"
#include "springboard/control-center/ControlCenterHost.h"
#include "springboard/lock-screen/LockScreen.h"
#include "springboard/notification-center/NotificationCenter.h"
#include "springboard/notification-center/NotificationCenterHost.h"
#include "uikit/UITouch.h"

#include <nlohmann/json.hpp>

namespace {

using sim::SpringBoardHost;

class NotificationCenter : public test::CentersTest, public testing::WithParamInterface<double> {
protected:
    void launchUnlocked(const char *settings = "")
    {
        launchWithExtension(test::phoneProfile(GetParam()), settings);
        SpringBoardHost::unlock();
    }

    static bool isIOS7() { return GetParam() == sim::DeviceProfile::kIOS7CoreFoundation; }
    static bool isIOS9() { return GetParam() == sim::DeviceProfile::kIOS9CoreFoundation; }

    static SBNotificationCenterController *controller()
    {
        return msg<SBNotificationCenterController *>(SBNotificationCenterController::class_(),
                                                     "sharedInstance"_sel);
    }

    static std::vector<std::string> modes()
    {
        return sim::dumpNotificationCenter()["modes"].get<std::vector<std::string>>();
    }

    static std::vector<std::string> rows()
    {
        return sim::dumpNotificationCenter()["notifications"].get<std::vector<std::string>>();
    }
};

TEST_P(NotificationCenter, AnEmptyCustomTextKeepsSpringBoardsAndAnotherReplacesIt)
{
    if (ranInProcessOfItsOwn())
        return;
    launchUnlocked("<key>CVNotificationCenter</key><dict>"
                   "<key>customNCText</key><true/>"
                   "<key>customNotificationUnavailableText</key><string></string>"
                   "<key>hideToday</key><true/></dict>");
    ASSERT_TRUE(sim::openNotificationCenter());
    EXPECT_EQ(rows(), std::vector<std::string>{"No Notifications"});
    sim::closeNotificationCenter();

    // As a live update brings it: the section keeps its own copy of the text.
    gCVNotificationCenter.load(NSDictionary::dictionaryWithObjectsForKeys(
        {{"customNotificationUnavailableText"_ns, "All quiet"_ns}}));
    ASSERT_TRUE(sim::openNotificationCenter());
    EXPECT_EQ(rows(), std::vector<std::string>{"All quiet"});
    // A notification takes the text's place.
    sim::postNotification("com.apple.mobilemail", "New mail");
    EXPECT_EQ(rows(), std::vector<std::string>{"com.apple.mobilemail: New mail"});
}

TEST_P(NotificationCenter, DisabledItRefusesItsGesturesAndOnIOS9WithdrawsTheSystemGesture)
{
    if (ranInProcessOfItsOwn())
        return;
    launchUnlocked("<key>CVNotificationCenter</key><dict>"
                   "<key>disableNC</key><true/></dict>");
    EXPECT_FALSE(sim::openNotificationCenter());
    EXPECT_EQ(sim::dumpNotificationCenter()["gestureRegistered"], !isIOS9());
    id bulletins = msg<id>(objc_getClass("SBBulletinWindowController"), "sharedInstance"_sel);
    EXPECT_FALSE(msg<BOOL>(bulletins, "allowsShowNotificationsGesture"_sel));

    // Only the pull-down's directionality is refused: Control Center still opens.
    auto touch = StrongRef<UITouch>::adopt(sim::create<UITouch>(UITouch::class_()));
    touch->m_location = {100, 2};
    UIGestureRecognizer *pullDown = controller()->m_showSystemGestureRecognizer;
    EXPECT_FALSE((msg<BOOL, UITouch *>(pullDown, "firstTouchQualifies:"_sel, touch)));
    EXPECT_TRUE(sim::openControlCenter());
    sim::closeControlCenter();

    gCVNotificationCenter.disableNC = false;
    if (isIOS9()) {
        ASSERT_EQ(gCVNotificationCenter.changeCallback, &applyNotificationCenterSettings);
        gCVNotificationCenter.changeCallback();
        EXPECT_EQ(sim::dumpNotificationCenter()["gestureRegistered"], true);
    } else {
        EXPECT_EQ(gCVNotificationCenter.changeCallback, nullptr);
    }
    EXPECT_TRUE((msg<BOOL, UITouch *>(pullDown, "firstTouchQualifies:"_sel, touch)));
    EXPECT_TRUE(sim::openNotificationCenter());
}

TEST_P(NotificationCenter, TodayAndMissedAreLeftOutWhenAddedAndRemovedWhenPresent)
{
    if (ranInProcessOfItsOwn())
        return;
    launchUnlocked("<key>CVNotificationCenter</key><dict>"
                   "<key>hideToday</key><true/><key>hideMissed</key><true/></dict>");
    std::vector<std::string> withoutBoth =
        isIOS7() ? std::vector<std::string>{"SBNotificationsAllModeViewController"}
                 : std::vector<std::string>{"SBNotificationsViewController"};
    EXPECT_EQ(modes(), withoutBoth);

    // Present already: the mode view controller drops them as it is about to be shown.
    SBModeViewController *modeController = controller()->m_viewController->m_modeViewController;
    StrongRef<NSObject> today =
        StrongRef<NSObject>::adopt(sim::create(objc_getClass("SBTodayViewController")));
    NSMutableArray *present =
        NSMutableArray::arrayWithArray(msg<NSArray *>(modeController, "viewControllers"_sel));
    present->insertObjectAtIndex(today, 0);
    msg<void, NSArray *>(modeController, "setViewControllers:"_sel, present);
    ASSERT_EQ(modes().size(), withoutBoth.size() + 1);
    ASSERT_TRUE(sim::openNotificationCenter());
    EXPECT_EQ(modes(), withoutBoth);

    // Switched back on, a Today view added now stays.
    gCVNotificationCenter.hideToday = false;
    msg<void, id>(modeController, "addViewController:"_sel, today.get());
    EXPECT_EQ(modes().back(), "SBTodayViewController");
}

TEST_P(NotificationCenter, TheBackdropIsClearWithoutTintAndTakesTheRadiusEachTime)
{
    if (ranInProcessOfItsOwn())
        return;
    launchUnlocked();
    ASSERT_TRUE(sim::openNotificationCenter());
    nlohmann::json backdrop = sim::dumpNotificationCenter()["backdrop"];
    EXPECT_EQ(backdrop["blurRadius"], 20.0);
    EXPECT_EQ(backdrop["colorTint"][3], 0.0);
    sim::closeNotificationCenter();

    gCVNotificationCenter.customBackdropColor = true;
    gCVNotificationCenter.backdropColor = {0, 0, 255, 1};
    gCVNotificationCenter.backdropColorAlpha = 0.25;
    gCVNotificationCenter.blurRadius = 8;
    ASSERT_TRUE(sim::openNotificationCenter());
    backdrop = sim::dumpNotificationCenter()["backdrop"];
    EXPECT_EQ(backdrop["blurRadius"], 8.0);
    EXPECT_EQ(backdrop["colorTint"], nlohmann::json({0.0, 0.0, 1.0, 1.0}));
    EXPECT_EQ(backdrop["colorTintAlpha"], 0.25);
}

INSTANTIATE_TEST_SUITE_P(Generations, NotificationCenter, testing::ValuesIn(test::kGenerations),
                         test::generationName);

// The lock screen's top grabber, with the lock screen's group installed first as the
// extension does: hidden while Notification Center is disabled or while the lock screen
// hides it, whichever asks.
class TopGrabber : public test::ExtensionTest, public testing::WithParamInterface<double> {
protected:
    TopGrabber() : ExtensionTest({"LockScreenInit", "NotificationCenterInit"}) {}

    static bool offeredAndHidden()
    {
        auto *view = msg<SBLockScreenView *>(sim::springBoardState().lockScreenViewController,
                                             "lockScreenView"_sel);
        msg<void, BOOL, id>(view, "setTopGrabberHidden:forRequester:"_sel, NO,
                            "NotificationCenter"_ns);
        return view->m_topGrabberView->isHidden();
    }
};

TEST_P(TopGrabber, HiddenWhileTheCenterIsDisabledOrTheLockScreenHidesIt)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension(test::phoneProfile(GetParam()), "");
    EXPECT_FALSE(offeredAndHidden());
    gCVNotificationCenter.disableNC = true;
    EXPECT_TRUE(offeredAndHidden());
    gCVNotificationCenter.disableNC = false;
    EXPECT_FALSE(offeredAndHidden());
    gCVLockScreen.hideNCGrabber = true;
    EXPECT_TRUE(offeredAndHidden());
}

INSTANTIATE_TEST_SUITE_P(Generations, TopGrabber, testing::ValuesIn(test::kGenerations),
                         test::generationName);

} // namespace
