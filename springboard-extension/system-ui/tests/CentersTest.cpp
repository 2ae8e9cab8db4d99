// Control Center and Notification Center with the extension (and the lock screen's group,
// installed before them as the extension does), on each generation.

#include "springboard-extension/frame/tests/ExtensionTest.h"

#include "foundation/NSArray.h"
#include "foundation/NSDictionary.h"
#include "springboard-extension/system-ui/ControlCenter.h"
#include "springboard-extension/system-ui/NotificationCenter.h"
#include "springboard/SpringBoardFunctions.h"
#include "springboard/control-center/ControlCenter.h"
#include "springboard/control-center/ControlCenterHost.h"
#include "springboard/notification-center/NotificationCenter.h"
#include "springboard/notification-center/NotificationCenterHost.h"
#include "uikit/UITouch.h"

#include <nlohmann/json.hpp>

namespace {

using sim::DeviceProfile;
using sim::SpringBoardHost;
using Names = std::vector<std::string>;

constexpr const char *kSections[] = {
    "SBCCSettingsSectionController", "SBCCBrightnessSectionController",
    "SBCCMediaControlsSectionController", "SBCCAirStuffSectionController",
    "SBCCQuickLaunchSectionController"};

class Centers : public test::ExtensionTest, public testing::WithParamInterface<double> {
protected:
    Centers() : ExtensionTest({"LockScreenInit", "ControlCenterInit", "NotificationCenterInit"}) {}

    void launchUnlocked(const char *settings = "")
    {
        launchWithExtension(test::phoneProfile(GetParam()), settings);
        SpringBoardHost::unlock();
    }
    static bool isIOS9() { return GetParam() == DeviceProfile::kIOS9CoreFoundation; }

    static SBControlCenterContentView *controlCenterContent()
    {
        auto *controller = msg<SBControlCenterController *>(SBControlCenterController::class_(),
                                                            "sharedInstance"_sel);
        msg<UIView *>(controller->m_viewController, "view"_sel);
        return controller->m_viewController->m_containerView->m_contentContainerView->m_contentView;
    }
    static void relayoutControlCenter()
    {
        msg<void>(controlCenterContent(), "setNeedsLayout"_sel);
        msg<void>(controlCenterContent(), "layoutIfNeeded"_sel);
    }
    template <typename Controller = NSObject> static Controller *section(std::size_t index)
    {
        for (const auto &item :
             *static_cast<NSArray *>(controlCenterContent()->m_allSections.get()))
            if (object_getClass(item.get()) == objc_getClass(kSections[index]))
                return static_cast<Controller *>(item.get());
        return nullptr;
    }
    // Whether the panel shows the separator below each section but the last.
    static std::vector<bool> separatorsShown()
    {
        auto *separators = static_cast<NSArray *>(controlCenterContent()->m_separatorViews.get());
        std::vector<bool> shown;
        for (std::size_t index = 0; index + 1 < std::size(kSections); ++index)
            shown.push_back(!static_cast<UIView *>(separators->objectAtIndex(index))->isHidden());
        return shown;
    }

    static SBNotificationCenterController *notificationCenter()
    {
        return msg<SBNotificationCenterController *>(SBNotificationCenterController::class_(),
                                                     "sharedInstance"_sel);
    }
    static Names notificationCenterList(const char *key)
    {
        return sim::dumpNotificationCenter()[key].get<Names>();
    }
};

void expectColor(UIColor *color, double red, double green, double blue)
{
    ASSERT_TRUE(color);
    EXPECT_EQ(std::vector<double>({color->m_red, color->m_green, color->m_blue, color->m_alpha}),
              std::vector<double>({red, green, blue, 1.0}));
}

// A hidden section takes no room and its separator goes with it; with all five hidden no
// separator is left. Hidden brightness hides its slider too.
TEST_P(Centers, HiddenSectionsTakeNoRoomAndHiddenSeparatorsAndButtonsGo)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchUnlocked();
    ASSERT_TRUE(sim::openControlCenter());
    CVControlCenter &settings = gCVControlCenter;
    bool *hidden[] = {&settings.hideSectionSettings, &settings.hideSectionBrightness,
                      &settings.hideSectionMediaControls, &settings.hideSectionAirStuff,
                      &settings.hideSectionQuickLaunch};
    const double fullHeight = controlCenterContent()->m_contentHeight;
    for (std::size_t index = 0; index < std::size(kSections); ++index) {
        SCOPED_TRACE(kSections[index]);
        *hidden[index] = true;
        relayoutControlCenter();
        for (std::size_t other = 0; other < std::size(kSections); ++other)
            EXPECT_EQ(msg<UIView *>(section(other), "view"_sel)->isHidden(), other == index);
        std::vector<bool> separators = separatorsShown();
        EXPECT_EQ(std::count(separators.begin(), separators.end(), true), 3);
        EXPECT_LT(controlCenterContent()->m_contentHeight, fullHeight);
        EXPECT_EQ(section<SBCCBrightnessSectionController>(1)->m_slider->isHidden(), index == 1);
        *hidden[index] = false;
    }
    for (bool *flag : hidden)
        *flag = true;
    relayoutControlCenter();
    EXPECT_EQ(separatorsShown(), std::vector<bool>(4, false));
    EXPECT_EQ(controlCenterContent()->m_contentHeight, 0.0);

    // Hidden separators go everywhere; the AirDrop/AirPlay line and the quick launch buttons
    // are hidden one by one only where SpringBoard has no button modules (before iOS 9).
    for (bool *flag : hidden)
        *flag = false;
    settings.hideSeparators = settings.hideSectionQuickLaunch = true;
    relayoutControlCenter();
    EXPECT_EQ(separatorsShown(), std::vector<bool>(4, false));
    auto *airStuff = section<SBCCAirStuffSectionController>(3);
    msg<void, BOOL>(airStuff, "_updateSubsectionVisibilityAnimated:"_sel, NO);
    EXPECT_EQ(airStuff->m_separatorLine->isHidden(), !isIOS9());
    EXPECT_FALSE(airStuff->m_airDropButton->isHidden());
    for (const auto &button :
         *static_cast<NSArray *>(section<SBCCQuickLaunchSectionController>(4)->m_buttons.get()))
        EXPECT_EQ(static_cast<UIView *>(button.get())->isHidden(), !isIOS9());

    gCVControlCenter.hideSeparators = false;
    gCVControlCenter.hideSectionAirStuff = true;
    msg<void, BOOL>(airStuff, "_updateSubsectionVisibilityAnimated:"_sel, NO);
    EXPECT_FALSE(airStuff->m_separatorLine->isHidden());
    EXPECT_EQ(airStuff->m_airDropButton->isHidden(), !isIOS9());
    EXPECT_EQ(airStuff->m_airPlayButton->isHidden(), !isIOS9());
}

// Both backdrops take the blur radius each time they are shown and the tint only when
// asked; each control colour replaces only its own states, and the toggles follow live.
TEST_P(Centers, BackdropsAndControlsTakeTheirColours)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchUnlocked("<key>CVControlCenter</key><dict><key>customBackdropColor</key><true/>"
                   "<key>backdropColor</key><array><integer>255</integer><integer>0</integer>"
                   "<integer>0</integer><integer>1</integer></array>"
                   "<key>backdropColorAlpha</key><real>0.05</real>"
                   "<key>blurRadius</key><real>12</real></dict>");
    ASSERT_TRUE(sim::openControlCenter());
    _UIBackdropViewSettings *settings =
        msg<SBControlCenterController *>(SBControlCenterController::class_(), "sharedInstance"_sel)
            ->m_viewController->m_containerView->m_contentContainerView->m_backdropView
            ->m_inputSettings;
    EXPECT_DOUBLE_EQ(settings->m_blurRadius, 12);
    expectColor(settings->m_colorTint, 1, 0, 0);
    EXPECT_NEAR(settings->m_colorTintAlpha, 0.05, 1e-6);
    ASSERT_TRUE(sim::closeControlCenter());
    gCVControlCenter.customBackdropColor = false;
    gCVControlCenter.blurRadius = 40;
    ASSERT_TRUE(sim::openControlCenter());
    EXPECT_DOUBLE_EQ(settings->m_blurRadius, 40);
    EXPECT_EQ(settings->m_colorTint->m_alpha, 0.0);
    sim::closeControlCenter();

    gCVNotificationCenter.customBackdropColor = true;
    gCVNotificationCenter.backdropColor = {0, 0, 255, 1};
    gCVNotificationCenter.backdropColorAlpha = 0.25;
    gCVNotificationCenter.blurRadius = 8;
    ASSERT_TRUE(sim::openNotificationCenter());
    nlohmann::json backdrop = sim::dumpNotificationCenter()["backdrop"];
    EXPECT_EQ(backdrop["blurRadius"], 8.0);
    EXPECT_EQ(backdrop["colorTint"], nlohmann::json({0.0, 0.0, 1.0, 1.0}));
    EXPECT_EQ(backdrop["colorTintAlpha"], 0.25);

    sim::closeNotificationCenter();
    ASSERT_TRUE(sim::openControlCenter());
    UIColor *springBoardNormal = _SBUIControlCenterControlColorForState(0);
    gCVControlCenter.customHighlightedControlColor = true;
    gCVControlCenter.highlightedControlColor = {0, 255, 0, 1};
    expectColor(_SBUIControlCenterControlColorForState(1), 0, 1, 0);
    EXPECT_TRUE(_SBUIControlCenterControlColorForState(0)->isEqualToColor(springBoardNormal));

    gCVControlCenter.customHighlightedControlColor = false;
    gCVControlCenter.customNormalControlColor = true;
    gCVControlCenter.normalControlColor = {0, 0, 255, 0};
    expectColor(_SBUIControlCenterControlColorForState(0), 0, 0, 1);
    expectColor(_SBUIControlCenterControlColorForState(4), 0, 0, 1);
    EXPECT_NE(_SBUIControlCenterControlColorForState(1)->m_blue, 1.0);

    gCVControlCenter.changeCallback();
    for (SBCCButtonLikeSectionView *toggle : sim::controlCenterToggles())
        expectColor(msg<UIColor *>(toggle->m_glyphView, "backgroundColor"_sel), 0, 0, 1);
}

// Disabled, each center refuses to open; on iOS 9 the system gesture is withdrawn and given
// back as the option changes live.
TEST_P(Centers, DisabledCentersWithdrawTheirGestures)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchUnlocked("<key>CVControlCenter</key><dict><key>disableCC</key><true/></dict>"
                   "<key>CVNotificationCenter</key><dict><key>disableNC</key><true/></dict>");
    for (bool disabled : {true, false, false, true, true, false}) {
        gCVControlCenter.disableCC = disabled;
        gCVControlCenter.changeCallback();
        EXPECT_EQ(sim::openControlCenter(), !disabled || !isIOS9()) << disabled;
        sim::closeControlCenter();
    }

    // Disabled Notification Center refuses its pull-down's first touch.
    EXPECT_FALSE(sim::openNotificationCenter());
    EXPECT_EQ(sim::dumpNotificationCenter()["gestureRegistered"], !isIOS9());
    id bulletins = msg<id>(objc_getClass("SBBulletinWindowController"), "sharedInstance"_sel);
    EXPECT_FALSE(msg<BOOL>(bulletins, "allowsShowNotificationsGesture"_sel));
    auto touch = StrongRef<UITouch>::adopt(sim::create<UITouch>(UITouch::class_()));
    touch->m_location = {100, 2};
    UIGestureRecognizer *pullDown = notificationCenter()->m_showSystemGestureRecognizer;
    EXPECT_FALSE((msg<BOOL, UITouch *>(pullDown, "firstTouchQualifies:"_sel, touch)));
    gCVNotificationCenter.disableNC = false;
    if (isIOS9())
        gCVNotificationCenter.changeCallback();
    EXPECT_EQ(sim::dumpNotificationCenter()["gestureRegistered"], true);
    EXPECT_TRUE((msg<BOOL, UITouch *>(pullDown, "firstTouchQualifies:"_sel, touch)));
    EXPECT_TRUE(sim::openNotificationCenter());
}

// An empty custom text keeps SpringBoard's, another replaces it until a notification
// comes; Today and Missed are left out whether added or present, until switched back on.
TEST_P(Centers, TheNoNotificationsTextAndTheModesFollowTheOptions)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchUnlocked("<key>CVNotificationCenter</key><dict><key>customNCText</key><true/>"
                   "<key>customNotificationUnavailableText</key><string></string>"
                   "<key>hideToday</key><true/><key>hideMissed</key><true/></dict>");
    ASSERT_TRUE(sim::openNotificationCenter());
    EXPECT_EQ(notificationCenterList("notifications"), Names{"No Notifications"});
    sim::closeNotificationCenter();
    gCVNotificationCenter.load(NSDictionary::dictionaryWithObjectsForKeys(
        {{"customNotificationUnavailableText"_ns, "All quiet"_ns}}));
    ASSERT_TRUE(sim::openNotificationCenter());
    EXPECT_EQ(notificationCenterList("notifications"), Names{"All quiet"});
    sim::postNotification("com.apple.mobilemail", "New mail");
    EXPECT_EQ(notificationCenterList("notifications"), Names{"com.apple.mobilemail: New mail"});
    sim::closeNotificationCenter();

    Names withoutBoth{GetParam() == DeviceProfile::kIOS7CoreFoundation
                          ? "SBNotificationsAllModeViewController"
                          : "SBNotificationsViewController"};
    EXPECT_EQ(notificationCenterList("modes"), withoutBoth);
    SBModeViewController *modes = notificationCenter()->m_viewController->m_modeViewController;
    auto today = StrongRef<NSObject>::adopt(sim::create(objc_getClass("SBTodayViewController")));
    NSMutableArray *present =
        NSMutableArray::arrayWithArray(msg<NSArray *>(modes, "viewControllers"_sel));
    present->insertObjectAtIndex(today, 0);
    msg<void, NSArray *>(modes, "setViewControllers:"_sel, present);
    ASSERT_TRUE(sim::openNotificationCenter());
    EXPECT_EQ(notificationCenterList("modes"), withoutBoth);
    gCVNotificationCenter.hideToday = false;
    msg<void, id>(modes, "addViewController:"_sel, today.get());
    EXPECT_EQ(notificationCenterList("modes").back(), "SBTodayViewController");
}

INSTANTIATE_TEST_SUITE_P(Generations, Centers, testing::ValuesIn(test::kGenerations),
                         test::generationName);

} // namespace
