// The status bar group as installed into SpringBoard on each generation: the carrier
// text, the six time options with the seconds clock on the virtual clock, and hidden
// items, seen in the aggregator's data block and in the bar's views.

#include "SystemUITest.h"
#include "springboard-extension/frame/tests/OwnProcess.h"

#include "foundation/NSDateFormatter.h"
#include "springboard-extension/system-ui/StatusBar.h"
#include "springboard/SpringBoardState.h"
#include "springboard/status-bar/SBStatusBarStateAggregator.h"
#include "springboard/status-bar/SBTelephonyManager.h"
#include "springboard/status-bar/StatusBarHost.h"
#include "springboard/status-bar/StatusBarViews.h"

#include <string>

namespace {

using sim::DeviceProfile;

constexpr int kAlarm = 13; // an item the test phone does not turn on

class StatusBar : public test::SystemUITest, public testing::WithParamInterface<double> {
protected:
    // A phone on Wi-Fi with every item turned on but the alarm.
    void launchPhone(const char *settings = "")
    {
        DeviceProfile profile = test::phoneProfile(GetParam());
        profile.wifiAddress = "10.0.0.7";
        profile.ssid = "Home";
        for (int item = 0; item < kSBStatusBarItemCount; ++item)
            if (item != kAlarm)
                profile.statusBarItems.push_back(sim::statusBarItemName(item));
        launchWithExtension(profile, settings);
    }

    static SBStatusBarStateAggregator *aggregator()
    {
        return msg<SBStatusBarStateAggregator *>(SBStatusBarStateAggregator::class_(),
                                                 "sharedInstance"_sel);
    }
    static std::string timeText() { return aggregator()->m_data.timeString; }
    static std::string serviceText() { return aggregator()->m_data.serviceString; }
    static SBTelephonyManager *telephony()
    {
        return msg<SBTelephonyManager *>(SBTelephonyManager::class_(),
                                         "sharedTelephonyManager"_sel);
    }
    // The bar's view of the item, as the bar shows it now.
    static UIStatusBarItemView *itemView(int item)
    {
        UIWindow *window = sim::springBoardState().statusBarWindow;
        msg<void>(window, "layoutIfNeeded"_sel);
        return static_cast<UIStatusBarForegroundView *>(window->m_subviews.front().get())
            ->m_itemViews[item];
    }
    static std::string nowInStyle(NSDateFormatterStyle style)
    {
        return NSDateFormatter::localizedStringFromDateDateStyleTimeStyle(
                   NSDate::date(), NSDateFormatterNoStyle, style)
            ->str();
    }
};

TEST_P(StatusBar, ACarrierTextReplacesTheServiceTextAndTheOperatorName)
{
    if (ranInProcessOfItsOwn())
        return;
    launchPhone();
    EXPECT_EQ(serviceText(), "Carrier");
    gCVStatusBar.customCarrier = true;
    setText(gCVStatusBar.carrierString, "Kestrel");
    ASSERT_TRUE(gCVStatusBar.changeCallback); // the live update the settings panel sends
    gCVStatusBar.changeCallback();
    EXPECT_EQ(serviceText(), "Kestrel");
    EXPECT_STREQ(msg<NSString *>(telephony(), "operatorName"_sel)->UTF8String(), "Kestrel");
    EXPECT_EQ(aggregator()->m_serviceString.get(), nullptr);
    EXPECT_STREQ(itemView(SBStatusBarItemService)->m_label->m_text->UTF8String(), "Kestrel");
    if (class_respondsToSelector(SBStatusBarStateAggregator::class_(),
                                 "_sbCarrierNameForOperator:"_sel)) {
        NSString *name =
            msg<NSString *, NSString *>(aggregator(), "_sbCarrierNameForOperator:"_sel, "Other"_ns);
        EXPECT_STREQ(name->UTF8String(), "Kestrel");
    }

    // The network's own carrier change keeps the user's text.
    sim::StatusBarHost::setCarrier("Roaming");
    EXPECT_EQ(serviceText(), "Kestrel");
}

TEST_P(StatusBar, AnEmptyCarrierTextEmptiesTheServiceTextButRenamesNoOperator)
{
    if (ranInProcessOfItsOwn())
        return;
    launchPhone();
    gCVStatusBar.customCarrier = true;
    setText(gCVStatusBar.carrierString, "");
    applyStatusBarSettings();
    EXPECT_EQ(serviceText(), "");
    EXPECT_EQ(telephony()->m_operatorName.get(), nullptr);
    EXPECT_STREQ(msg<NSString *>(telephony(), "operatorName"_sel)->UTF8String(), "");
}

TEST_P(StatusBar, ALongCarrierTextIsCutBeforeTheCharacterThatDoesNotFit)
{
    if (ranInProcessOfItsOwn())
        return;
    launchPhone();
    std::string accented = "a";
    for (int letter = 0; letter < 60; ++letter)
        accented += "é";
    gCVStatusBar.customCarrier = true;
    setText(gCVStatusBar.carrierString, accented.c_str());
    applyStatusBarSettings();
    // 98 bytes fit: "a" and 48 whole letters, the 98th byte would split the 49th.
    EXPECT_EQ(serviceText(), accented.substr(0, 97));
    EXPECT_NE(NSString::stringWithUTF8String(aggregator()->m_data.serviceString), nullptr);
}

TEST_P(StatusBar, ACustomTimeTextLosesItsSecondsAndKeepsItsSpacesAndQuotes)
{
    if (ranInProcessOfItsOwn())
        return;
    launchPhone();
    gCVStatusBar.timeStringOption = 1;
    setText(gCVStatusBar.timeString, "Back at:ss noon");
    applyStatusBarSettings();
    EXPECT_EQ(timeText(), "Back at noon");
    setText(gCVStatusBar.timeString, "It's  late");
    applyStatusBarSettings();
    EXPECT_EQ(timeText(), "It's  late");
    EXPECT_STREQ(itemView(SBStatusBarItemTime)->m_label->m_text->UTF8String(), "It's  late");

    // The iOS 7 and 8 form of the option, with no text stored: a blank time item.
    gCVStatusBar.timeStringOption = 0;
    gCVStatusBar.customTime = true;
    CFRelease(gCVStatusBar.timeString);
    gCVStatusBar.timeString = nullptr;
    applyStatusBarSettings();
    EXPECT_EQ(timeText(), "");
    // A fixed text does not keep the minute timer running.
    sim::advanceVirtualClock(120);
    EXPECT_EQ(timeText(), "");
}

// Lowercase symbols go back to uppercase with the next option; the Wi-Fi options show the
// address or the network name, or "n/a" without Wi-Fi.
TEST_P(StatusBar, TheTimeItemShowsLowercaseSymbolsTheWiFiAddressOrNetworkNameOrNotApplicable)
{
    if (ranInProcessOfItsOwn())
        return;
    launchPhone();
    gCVStatusBar.timeStringOption = 4;
    applyStatusBarSettings();
    EXPECT_EQ(timeText(), "10:00 am");
    gCVStatusBar.timeStringOption = 0;
    applyStatusBarSettings();
    EXPECT_EQ(timeText(), "10:00 AM");
    gCVStatusBar.timeStringOption = 2;
    applyStatusBarSettings();
    EXPECT_EQ(timeText(), "10.0.0.7");
    gCVStatusBar.timeStringOption = 3;
    applyStatusBarSettings();
    EXPECT_EQ(timeText(), "Home");

    sim::StatusBarHost::setWiFi(std::nullopt, std::nullopt);
    EXPECT_TRUE(itemView(SBStatusBarItemDataNetwork)->isHidden());
    applyStatusBarSettings();
    EXPECT_EQ(timeText(), "n/a");
    gCVStatusBar.timeStringOption = 2;
    applyStatusBarSettings();
    EXPECT_EQ(timeText(), "n/a");
}

TEST_P(StatusBar, SecondsTickOnTheDeviceClockAndStopAtTheFirstTickAfterTheOptionChanges)
{
    if (ranInProcessOfItsOwn())
        return;
    launchPhone();
    gCVStatusBar.timeStringOption = 5;
    applyStatusBarSettings();
    EXPECT_EQ(timeText(), nowInStyle(NSDateFormatterMediumStyle));
    for (int tick = 0; tick < 3; ++tick) {
        sim::advanceVirtualClock(1);
        EXPECT_EQ(timeText(), nowInStyle(NSDateFormatterMediumStyle));
    }

    gCVStatusBar.timeStringOption = 0;
    sim::advanceVirtualClock(1);
    EXPECT_EQ(aggregator()->m_timeItemDateFormatter->timeStyle(), NSDateFormatterShortStyle);
    // The timer is gone: seconds switched on again without an update show no seconds.
    std::string frozen = timeText();
    gCVStatusBar.timeStringOption = 5;
    sim::advanceVirtualClock(3);
    EXPECT_EQ(timeText(), frozen);
}

TEST_P(StatusBar, ACustomTextWinsOverSecondsWhileTheSecondsTimerRuns)
{
    if (ranInProcessOfItsOwn())
        return;
    launchPhone();
    gCVStatusBar.customTime = true;
    gCVStatusBar.timeStringOption = 5;
    setText(gCVStatusBar.timeString, "Tea");
    applyStatusBarSettings();
    sim::advanceVirtualClock(2);
    EXPECT_EQ(timeText(), "Tea");
    // Once seconds are off, the next tick ends the timer and leaves the short style.
    gCVStatusBar.timeStringOption = 0;
    sim::advanceVirtualClock(1);
    EXPECT_EQ(aggregator()->m_timeItemDateFormatter->timeStyle(), NSDateFormatterShortStyle);
}

TEST_P(StatusBar, EveryItemHidesAndShowsAgainLiveButADisabledItemStaysOff)
{
    if (ranInProcessOfItsOwn())
        return;
    launchPhone();
    for (int item = 0; item < CVStatusBarItemCount; ++item) {
        bool shownBySpringBoard = item != kAlarm;
        EXPECT_EQ(aggregator()->m_data.itemIsEnabled[item], shownBySpringBoard) << item;
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

INSTANTIATE_TEST_SUITE_P(Generations, StatusBar, testing::ValuesIn(test::kGenerations),
                         test::generationName);

class StatusBarAtLaunch : public test::SystemUITest {};

// Only iOS 9 applies the settings once SpringBoard has finished launching.
TEST_F(StatusBarAtLaunch, TheSettingsFileShowsAtOnceOnIOS9)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension(test::phoneProfile(DeviceProfile::kIOS9CoreFoundation),
                        "<key>CVStatusBar</key><dict><key>timeStringOption</key><integer>1"
                        "</integer><key>timeString</key><string>Launched</string></dict>");
    EXPECT_STREQ(msg<SBStatusBarStateAggregator *>(SBStatusBarStateAggregator::class_(),
                                                   "sharedInstance"_sel)
                     ->m_data.timeString,
                 "Launched");
}

} // namespace
