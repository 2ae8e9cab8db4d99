// The lock screen group as installed into SpringBoard on each generation: the slider in
// each mode with its clock, the time and date texts, colour and fonts, the grabbers, the
// now-playing artwork, and the slider timer stopping when the lock screen goes or the
// display dims.

#include "SystemUITest.h"
#include "springboard-extension/frame/tests/OwnProcess.h"

#include "foundation/NSDateFormatter.h"
#include "springboard/SpringBoardState.h"
#include "springboard/lock-screen/LockScreen.h"
#include "springboard/lock-screen/LockScreenServices.h"
#include "uikit/UIFont.h"

#include <cstring>
#include <string>

namespace {

using sim::DeviceProfile;

class LockScreen : public test::SystemUITest, public testing::WithParamInterface<double> {
protected:
    void launchPhone(const char *lockScreenSettings = "", bool music = false)
    {
        DeviceProfile profile = test::phoneProfile(GetParam());
        if (music)
            profile.nowPlaying = "Tune";
        std::string settings =
            std::string("<key>CVLockScreen</key><dict>") + lockScreenSettings + "</dict>";
        launchWithExtension(profile, settings.c_str());
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
    static std::string dateText() { return textOf(view()->m_dateView->m_dateLabel); }
    static std::string nowInStyle(NSDateFormatterStyle style)
    {
        return NSDateFormatter::localizedStringFromDateDateStyleTimeStyle(
                   NSDate::date(), NSDateFormatterNoStyle, style)
            ->str();
    }
    static void redrawDate()
    {
        msg<void>(sim::springBoardState().lockScreenViewController, "_updateLockScreenDate"_sel);
    }
    static void redrawSlider()
    {
        msg<void, NSString *>(view(), "setCustomSlideToUnlockText:"_sel, nil);
    }
};

TEST_P(LockScreen, TheSliderHidesShowsATextOrTicksWithTheTime)
{
    if (ranInProcessOfItsOwn())
        return;
    launchPhone("<key>sliderMode</key><integer>2</integer>"
                "<key>sliderText</key><string>open sesame</string>");
    EXPECT_EQ(sliderText(), "open sesame");

    gCVLockScreen.sliderMode = 3;
    gCVLockScreen.sliderTimeStyle = 1;
    redrawSlider();
    EXPECT_EQ(sliderText(), nowInStyle(NSDateFormatterShortStyle));
    gCVLockScreen.sliderTimeStyle = 2;
    sim::advanceVirtualClock(1);
    EXPECT_EQ(sliderText(), nowInStyle(NSDateFormatterMediumStyle));
    sim::advanceVirtualClock(1);
    EXPECT_EQ(sliderText(), nowInStyle(NSDateFormatterMediumStyle));

    gCVLockScreen.sliderMode = 1;
    redrawSlider();
    EXPECT_EQ(sliderText(), "");
    EXPECT_EQ(view()->m_slideToUnlockView->superview(), nullptr);
    msg<void, BOOL, id>(view(), "setSlideToUnlockHidden:forRequester:"_sel, NO, "test"_ns);
    EXPECT_TRUE(view()->m_slideToUnlockView->isHidden());
}

TEST_P(LockScreen, SecondsRedrawTheTimeUntilTheDisplayDimsOrTheLockScreenGoes)
{
    if (ranInProcessOfItsOwn())
        return;
    launchPhone("<key>timeMode</key><integer>1</integer>");
    EXPECT_EQ(timeText(), nowInStyle(NSDateFormatterMediumStyle));
    sim::advanceVirtualClock(1);
    EXPECT_EQ(timeText(), nowInStyle(NSDateFormatterMediumStyle));
    if (GetParam() < DeviceProfile::kIOS9CoreFoundation) {
        id formatter = msg<id>(view()->m_dateView, "formatter"_sel);
        EXPECT_STREQ(object_getClassName(formatter), "CVLockScreenDateFormatter");
    }

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

TEST_P(LockScreen, TimeAndDateTextsColourAndFonts)
{
    if (ranInProcessOfItsOwn())
        return;
    launchPhone("<key>timeMode</key><integer>2</integer><key>timeText</key><string>It's "
                "late</string><key>dateMode</key><integer>2</integer>"
                "<key>dateText</key><string>Someday</string>");
    EXPECT_EQ(timeText(), "It's late");
    EXPECT_EQ(dateText(), "Someday");
    gCVLockScreen.dateMode = 1;
    redrawDate();
    EXPECT_EQ(dateText(), "(nil)");

    gCVLockScreen.customTimeColor = true;
    gCVLockScreen.timeColor = {255, 0, 0, 0};
    msg<void>(view(), "_layoutTimerView"_sel);
    UIColor *color = view()->m_dateView->m_timeLabel->m_textColor;
    EXPECT_EQ(color->m_red, 1.0);
    EXPECT_EQ(color->m_green, 0.0);
    EXPECT_EQ(color->m_alpha, 1.0) << "always opaque";

    // SpringBoard's launch reaches the settings core as a notification on the run loop.
    sim::advanceVirtualClock(0.1);
    ASSERT_TRUE(CVSpringBoardDidLaunch);
    gCVLockScreen.timeFontSize = 1.0;
    gCVLockScreen.dateFontSize = 30;
    redrawDate();
    EXPECT_EQ(view()->m_dateView->m_timeLabel->m_font->pointSize(), 80);
    EXPECT_EQ(view()->m_dateView->m_dateLabel->m_font->pointSize(), 30);
    CVSpringBoardDidLaunch = 0;
    redrawDate();
    EXPECT_EQ(view()->m_dateView->m_dateLabel->m_font->pointSize(), 18) << "before launch";
}

TEST_P(LockScreen, GrabbersHideAndTheArtworkIsRefusedOnlyWhenAsked)
{
    if (ranInProcessOfItsOwn())
        return;
    launchPhone("<key>hideNCGrabber</key><true/><key>hideCamera</key><true/>", true);
    EXPECT_TRUE(view()->m_topGrabberView->isHidden());
    EXPECT_FALSE(view()->m_bottomGrabberView->isHidden());
    EXPECT_EQ(view()->m_cameraGrabberView.get(), nullptr);
    ASSERT_NE(view()->m_pluginView.get(), nullptr);

    gCVLockScreen.hideCCGrabber = true;
    msg<void, BOOL, id>(view(), "setBottomGrabberHidden:forRequester:"_sel, NO, "test"_ns);
    EXPECT_TRUE(view()->m_bottomGrabberView->isHidden());

    gCVLockScreen.hideAlbumArtwork = true;
    std::string title = "Other tune";
    sim::LockScreenHost::setMusicPlaying(&title);
    EXPECT_EQ(view()->m_pluginView.get(), nullptr);
    gCVLockScreen.hideAlbumArtwork = false;
    sim::LockScreenHost::setMusicPlaying(&title);
    EXPECT_NE(view()->m_pluginView.get(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Generations, LockScreen, testing::ValuesIn(test::kGenerations),
                         test::generationName);

} // namespace
