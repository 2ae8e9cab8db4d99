// The Lock Screen page: hidden items, the slider (original, hidden, custom text or the
// time), the time's colour, size and style, and the date's size and style. The text and
// format rows appear only for the modes that use them.

#include "settings-panel/CVListBuilders.h"
#include "settings-panel/CVPage.h"

namespace {

constexpr std::uint32_t kCustomTextMode = 2;
constexpr std::uint32_t kCurrentTimeSliderMode = 3;

const CVChoice kSliderModes[] = {
    {0, "Original"}, {1, "Hidden"}, {2, "Custom Text"}, {3, "Current Time"}};
const CVChoice kTimeStyles[] = {{1, "Short"}, {2, "Medium"}, {3, "Long"}, {4, "Full"}};
const CVChoice kTimeModes[] = {{0, "Original"}, {1, "Display Seconds"}, {2, "Custom Text"}};
const CVChoice kDateModes[] = {{0, "Original"}, {2, "Custom Text"}};

CVChoices fontSizes()
{
    return CVPointSizeChoices(9, 117, 3);
}

bool sliderShowsText()
{
    return gCVLockScreen.sliderMode == kCustomTextMode;
}

bool sliderShowsTime()
{
    return gCVLockScreen.sliderMode == kCurrentTimeSliderMode;
}

bool timeShowsText()
{
    return gCVLockScreen.timeMode == kCustomTextMode;
}

bool dateShowsText()
{
    return gCVLockScreen.dateMode == kCustomTextMode;
}

const CVRow kRows[] = {
    CVGroup("Hide Items", "Hide LockScreen items (enable to hide)."),
    CVSwitch("Camera Grabber", "hideCamera"),
    CVSwitch("Control Center Grabber", "hideCCGrabber"),
    CVSwitch("Notif. Center Grabber", "hideNCGrabber"),
    CVSwitch("Album Artwork", "hideAlbumArtwork"),
    CVGroup(nullptr, "Choose the style of the LockScreen slider (hide it, display custom text or "
                     "current time)."),
    CVList("Slider Style", "sliderMode", kSliderModes),
    CVGroup(nullptr, "Insert the text to be displayed on the slider.").when(sliderShowsText),
    CVText("Enter Custom Text", "sliderText").when(sliderShowsText),
    CVGroup(nullptr, "Choose the time format to be displayed on the slider.").when(sliderShowsTime),
    CVList("Time Format", "sliderTimeStyle", kTimeStyles).when(sliderShowsTime),
    CVGroup("Time Color", "Customize the color of the time in Lockscreen."),
    CVSwitch("Enable", "customTimeColor"),
    CVColorLink("Color", "timeColor"),
    CVGroup("Time", "Choose the style of the LockScreen time."),
    CVList("Time Font Size", "timeFontSize", fontSizes),
    CVList("Time Style", "timeMode", kTimeModes),
    CVGroup(nullptr, "Insert the text to be displayed in place of the time.").when(timeShowsText),
    CVText("Enter Custom Text", "timeText").when(timeShowsText),
    CVGroup("Date", "Choose the style of the LockScreen date."),
    CVList("Date Font Size", "dateFontSize", fontSizes),
    CVList("Date Style", "dateMode", kDateModes),
    CVGroup(nullptr, "Insert the text to be displayed in place of the date.").when(dateShowsText),
    CVText("Enter Custom Text", "dateText").when(dateShowsText),
};

const char *const kReloadKeys[] = {"sliderMode", "timeMode", "dateMode"};

constexpr CVPage kPage{
    .className = "LockScreenListController",
    .section = &gCVLockScreen,
    .sectionID = CVSectionIDLockScreen,
    .tint = {0.8471, 0.5176, 0.6510},
    .rows = kRows,
    .reloadKeys = kReloadKeys,
};

const Class kRegistered = CVRegisterPage<kPage>();

} // namespace
