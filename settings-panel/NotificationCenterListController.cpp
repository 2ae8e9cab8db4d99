// The Notification Center page: backdrop colour, hidden sections, the text shown without
// notifications (taken up at SpringBoard's start), blur and disabling it.

#include "settings-panel/CVPage.h"

namespace {

const CVRow kRows[] = {
    CVGroup("Background Color", "Customize the background color of the Notification Center. "
                                "Use the slider to regulate the opacity of the color."),
    CVSwitch("Enable", "customBackdropColor"),
    CVColorLink("Color", "backdropColor"),
    CVSlider(nullptr, "backdropColorAlpha", 0.05, 1.0),
    CVGroup(nullptr, "Hide the 'Today' section."),
    CVSwitch("Hide Today", "hideToday"),
    CVGroup(nullptr, "Custom Notification Center 'No Notifications' text"),
    CVSwitch("Custom Text", "customNCText"),
    CVText("Enter Custom Notification Text. Respring required.",
           "customNotificationUnavailableText"),
    CVGroup(nullptr, "Hide the 'Missed' section."),
    CVSwitch("Hide Missed", "hideMissed"),
    CVGroup("Blur Radius", "Change the blur strength (defaults to 20)."),
    CVSlider(nullptr, "blurRadius", 1.0, 30.0),
    CVGroup(nullptr, "Disable the Notification Center."),
    CVSwitch("Disable", "disableNC"),
};

const char *const kRestartKeys[] = {"customNCText", "customNotificationUnavailableText"};

constexpr CVPage kPage{
    .className = "NotificationCenterListController",
    .section = &gCVNotificationCenter,
    .sectionID = CVSectionIDNotificationCenter,
    .tint = {0.7059, 0.8353, 0.4196},
    .rows = kRows,
    .restartKeys = kRestartKeys,
};

const Class kRegistered = CVRegisterPage<kPage>();

} // namespace
