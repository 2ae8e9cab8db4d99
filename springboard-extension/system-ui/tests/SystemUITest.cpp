// The status bar and lock screen groups as installed into SpringBoard on each generation,
// their clocks on the virtual clock.

#include "springboard-extension/frame/tests/ExtensionTest.h"

#include "foundation/NSDateFormatter.h"
#include "springboard-extension/system-ui/StatusBar.h"
#include "springboard/SpringBoardState.h"
#include "springboard/lock-screen/LockScreen.h"
#include "springboard/status-bar/SBStatusBarStateAggregator.h"
#include "springboard/status-bar/SBTelephonyManager.h"
#include "springboard/status-bar/StatusBarHost.h"
#include "springboard/status-bar/StatusBarViews.h"
#include "uikit/UIFont.h"

#include <string>

namespace {

using sim::DeviceProfile;

constexpr int kAlarm = 13; // an item the test phone does not turn on

// Replaces a string option as a live update replaces it, and applies the settings.
void setText(CFStringRef &option, const char *text)
{
    if (option)
        CFRelease(option);
    option = CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingUTF8);
    applyStatusBarSettings();
}

std::string nowInStyle(NSDateFormatterStyle style)
{
    return NSDateFormatter::localizedStringFromDateDateStyleTimeStyle(NSDate::date(),
                                                                      NSDateFormatterNoStyle, style)
        ->str();
}

class StatusBar : public test::ExtensionTest, public testing::WithParamInterface<double> {
protected:
    StatusBar() : ExtensionTest({"StatusBarInit", "LockScreenInit"}) {}

    // A phone on Wi-Fi with every item turned on but the alarm.
    void launchPhone()
    {
        DeviceProfile profile = test::phoneProfile(GetParam());
        profile.wifiAddress = "10.0.0.7";
        profile.ssid = "Home";
        for (int item = 0; item < kSBStatusBarItemCount; ++item)
            if (item != kAlarm)
                profile.statusBarItems.push_back(sim::statusBarItemName(item));
        launchWithExtension(profile);
    }

    static SBStatusBarStateAggregator *aggregator()
    {
        return msg<SBStatusBarStateAggregator *>(SBStatusBarStateAggregator::class_(),
                                                 "sharedInstance"_sel);
    }
    static std::string timeText() { return aggregator()->m_data.timeString; }
    static std::string serviceText() { return aggregator()->m_data.serviceString; }
    static std::string operatorName()
    {
        auto *telephony =
            msg<SBTelephonyManager *>(SBTelephonyManager::class_(), "sharedTelephonyManager"_sel);
        return msg<NSString *>(telephony, "operatorName"_sel)->str();
    }
    // The bar's view of the item, as the bar shows it now.
    static UIStatusBarItemView *itemView(int item)
    {
        UIWindow *window = sim::springBoardState().statusBarWindow;
        msg<void>(window, "layoutIfNeeded"_sel);
        return static_cast<UIStatusBarForegroundView *>(window->m_subviews.front().get())
            ->m_itemViews[item];
    }
};

// A carrier text replaces the service text and the operator name, also after the network's
// own change; a long one is cut at 98 bytes before the character that does not fit.
TEST_P(StatusBar, ACarrierTextReplacesTheServiceTextAndEveryItemHidesLive)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchPhone();
    gCVStatusBar.customCarrier = true;
    setText(gCVStatusBar.carrierString, "Kestrel");
    gCVStatusBar.changeCallback();
    EXPECT_EQ(serviceText(), "Kestrel");
    EXPECT_EQ(operatorName(), "Kestrel");
    if (class_respondsToSelector(SBStatusBarStateAggregator::class_(),
                                 "_sbCarrierNameForOperator:"_sel)) {
        auto *name =
            msg<NSString *, NSString *>(aggregator(), "_sbCarrierNameForOperator:"_sel, "Other"_ns);
        EXPECT_EQ(name->str(), "Kestrel");
    }
    sim::StatusBarHost::setCarrier("Roaming");
    EXPECT_EQ(serviceText(), "Kestrel");

    setText(gCVStatusBar.carrierString, "");
    EXPECT_EQ(serviceText(), "");
    EXPECT_EQ(operatorName(), "");
    std::string accented = "a";
    for (int letter = 0; letter < 60; ++letter)
        accented += "é";
    setText(gCVStatusBar.carrierString, accented.c_str());
    EXPECT_EQ(serviceText(), accented.substr(0, 97));

    // Every item hides and shows again live, but one SpringBoard has off stays off.
    for (int item = 0; item < CVStatusBarItemCount; ++item) {
        bool shownBySpringBoard = item != kAlarm;
        gCVStatusBar.itemIsHidden[item] = true;
        applyStatusBarSettings();
        EXPECT_FALSE(aggregator()->m_data.itemIsEnabled[item]) << item;
        EXPECT_TRUE(itemView(item)->isHidden()) << item;
        gCVStatusBar.itemIsHidden[item] = false;
        applyStatusBarSettings();
        EXPECT_EQ(aggregator()->m_data.itemIsEnabled[item], shownBySpringBoard) << item;
        EXPECT_EQ(itemView(item)->isHidden(), !shownBySpringBoard) << item;
    }
}

// The time options: a custom text without its seconds, lowercase symbols, the Wi-Fi
// address or name ("n/a" without Wi-Fi), and seconds until the option changes.
TEST_P(StatusBar, TheTimeItemShowsTheChosenOption)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchPhone();
    const std::pair<std::uint32_t, const char *> options[] = {
        {4, "10:00 am"}, {0, "10:00 AM"}, {2, "10.0.0.7"}, {3, "Home"}};
    for (auto [option, shown] : options) {
        gCVStatusBar.timeStringOption = option;
        applyStatusBarSettings();
        EXPECT_EQ(timeText(), shown) << option;
    }
    sim::StatusBarHost::setWiFi(std::nullopt, std::nullopt);
    gCVStatusBar.timeStringOption = 2;
    applyStatusBarSettings();
    EXPECT_EQ(timeText(), "n/a");

    gCVStatusBar.timeStringOption = 5;
    applyStatusBarSettings();
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_EQ(timeText(), nowInStyle(NSDateFormatterMediumStyle));
        sim::advanceVirtualClock(1);
    }
    gCVStatusBar.timeStringOption = 0;
    sim::advanceVirtualClock(1);
    // The timer is gone: seconds switched on again without an update show no seconds.
    std::string frozen = timeText();
    gCVStatusBar.timeStringOption = 5;
    sim::advanceVirtualClock(3);
    EXPECT_EQ(timeText(), frozen);

    gCVStatusBar.timeStringOption = 1;
    setText(gCVStatusBar.timeString, "Back at:ss noon");
    EXPECT_EQ(timeText(), "Back at noon");
    setText(gCVStatusBar.timeString, "It's  late");
    EXPECT_EQ(timeText(), "It's  late") << "spaces and quotes kept";

    // The iOS 7 and 8 form of the option: without a stored text the time item is blank and
    // stays so; a text wins over seconds while their timer runs.
    gCVStatusBar.timeStringOption = 0;
    gCVStatusBar.customTime = true;
    CFRelease(gCVStatusBar.timeString);
    gCVStatusBar.timeString = nullptr;
    applyStatusBarSettings();
    EXPECT_EQ(timeText(), "");
    sim::advanceVirtualClock(120);
    EXPECT_EQ(timeText(), "");
    gCVStatusBar.timeStringOption = 5;
    setText(gCVStatusBar.timeString, "Tea");
    sim::advanceVirtualClock(2);
    EXPECT_EQ(timeText(), "Tea");
}

INSTANTIATE_TEST_SUITE_P(Generations, StatusBar, testing::ValuesIn(test::kGenerations),
                         test::generationName);

// Only iOS 9 applies the settings once SpringBoard has finished launching.
TEST_F(StatusBar, TheSettingsFileShowsAtLaunchOnIOS9)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchWithExtension(test::phoneProfile(DeviceProfile::kIOS9CoreFoundation),
                        "<key>CVStatusBar</key><dict><key>timeStringOption</key><integer>1"
                        "</integer><key>timeString</key><string>Launched</string></dict>");
    EXPECT_EQ(timeText(), "Launched");
}

class LockScreen : public StatusBar {
protected:
    void launchPhone(const char *lockScreenSettings)
    {
        std::string settings =
            std::string("<key>CVLockScreen</key><dict>") + lockScreenSettings + "</dict>";
        launchWithExtension(test::phoneProfile(GetParam()), settings.c_str());
    }

    static SBLockScreenView *view()
    {
        return msg<SBLockScreenView *>(sim::springBoardState().lockScreenViewController,
                                       "lockScreenView"_sel);
    }
    static std::string textOf(UILabel *label)
    {
        return label->m_text ? label->m_text->str() : std::string("(nil)");
    }
    static std::string sliderText() { return textOf(view()->m_slideToUnlockView); }
    static std::string timeText() { return textOf(view()->m_dateView->m_timeLabel); }
    static void redrawDate()
    {
        msg<void>(sim::springBoardState().lockScreenViewController, "_updateLockScreenDate"_sel);
    }
};

TEST_P(LockScreen, TheSliderHidesShowsATextOrTicksWithTheTime)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchPhone("<key>sliderMode</key><integer>2</integer>"
                "<key>sliderText</key><string>open sesame</string>");
    EXPECT_EQ(sliderText(), "open sesame");
    auto redrawSlider = [] {
        msg<void, NSString *>(view(), "setCustomSlideToUnlockText:"_sel, nil);
    };
    gCVLockScreen.sliderMode = 3;
    gCVLockScreen.sliderTimeStyle = 1;
    redrawSlider();
    EXPECT_EQ(sliderText(), nowInStyle(NSDateFormatterShortStyle));
    gCVLockScreen.sliderTimeStyle = 2;
    for (int tick = 0; tick < 2; ++tick) {
        sim::advanceVirtualClock(1);
        EXPECT_EQ(sliderText(), nowInStyle(NSDateFormatterMediumStyle));
    }
    gCVLockScreen.sliderMode = 1;
    redrawSlider();
    EXPECT_EQ(view()->m_slideToUnlockView->superview(), nullptr);
    msg<void, BOOL, id>(view(), "setSlideToUnlockHidden:forRequester:"_sel, NO, "test"_ns);
    EXPECT_TRUE(view()->m_slideToUnlockView->isHidden());
}

TEST_P(LockScreen, SecondsRedrawTheTimeUntilTheDisplayDimsOrTheLockScreenGoes)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchPhone("<key>timeMode</key><integer>1</integer>");
    sim::advanceVirtualClock(1);
    EXPECT_EQ(timeText(), nowInStyle(NSDateFormatterMediumStyle));
    // The display dims 8 seconds after the lock; the tenth tick reads it and stops.
    sim::advanceVirtualClock(12);
    std::string stopped = timeText();
    sim::advanceVirtualClock(3);
    EXPECT_EQ(timeText(), stopped);
    // Showing again restarts the clock; the first tick after the unlock ends it.
    msg<void>(view(), "startAnimating"_sel);
    sim::advanceVirtualClock(1);
    EXPECT_EQ(timeText(), nowInStyle(NSDateFormatterMediumStyle));
    sim::SpringBoardHost::unlock();
    sim::advanceVirtualClock(1);
    stopped = timeText();
    sim::advanceVirtualClock(2);
    EXPECT_EQ(timeText(), stopped);
}

TEST_P(LockScreen, TimeAndDateTextsColourFontsAndGrabbers)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchPhone("<key>timeMode</key><integer>2</integer><key>timeText</key><string>It's "
                "late</string><key>dateMode</key><integer>2</integer>"
                "<key>dateText</key><string>Someday</string>"
                "<key>hideNCGrabber</key><true/><key>hideCamera</key><true/>");
    EXPECT_TRUE(view()->m_topGrabberView->isHidden());
    EXPECT_EQ(view()->m_cameraGrabberView.get(), nullptr);
    gCVLockScreen.hideCCGrabber = true;
    msg<void, BOOL, id>(view(), "setBottomGrabberHidden:forRequester:"_sel, NO, "test"_ns);
    EXPECT_TRUE(view()->m_bottomGrabberView->isHidden());

    EXPECT_EQ(timeText(), "It's late");
    EXPECT_EQ(textOf(view()->m_dateView->m_dateLabel), "Someday");
    gCVLockScreen.dateMode = 1;
    redrawDate();
    EXPECT_EQ(view()->m_dateView->m_dateLabel->m_text.get(), nullptr);

    gCVLockScreen.customTimeColor = true;
    gCVLockScreen.timeColor = {255, 0, 0, 0};
    msg<void>(view(), "_layoutTimerView"_sel);
    UIColor *color = view()->m_dateView->m_timeLabel->m_textColor;
    EXPECT_EQ(color->m_red, 1.0);
    EXPECT_EQ(color->m_alpha, 1.0) << "always opaque";

    // SpringBoard's launch reaches the settings core as a notification on the run loop;
    // before it the date keeps SpringBoard's font.
    sim::advanceVirtualClock(0.1);
    ASSERT_TRUE(CVSpringBoardDidLaunch);
    gCVLockScreen.timeFontSize = 1.0;
    gCVLockScreen.dateFontSize = 30;
    redrawDate();
    EXPECT_EQ(view()->m_dateView->m_timeLabel->m_font->pointSize(), 80);
    EXPECT_EQ(view()->m_dateView->m_dateLabel->m_font->pointSize(), 30);
    CVSpringBoardDidLaunch = 0;
    redrawDate();
    EXPECT_EQ(view()->m_dateView->m_dateLabel->m_font->pointSize(), 18);
}

INSTANTIATE_TEST_SUITE_P(Generations, LockScreen, testing::ValuesIn(test::kGenerations),
                         test::generationName);

} // namespace
