// The Control Center page: disabling it, its backdrop and control colours, separators,
// hidden sections and blur.

#include "settings-panel/CVPage.h"

namespace {

const CVRow kRows[] = {
    CVGroup("Disable Control Center", "This option disables Control Center if enabled. You "
                                      "will not be able to pull up the Control Center"),
    CVSwitch("Disable CC", "disableCC"),
    CVGroup("Background Color", "Customize the background color of the Control Center. Use the "
                                "slider to regulate the opacity of the color."),
    CVSwitch("Enable", "customBackdropColor"),
    CVColorLink("Color", "backdropColor"),
    CVSlider(nullptr, "backdropColorAlpha", 0.05, 1.0),
    CVGroup("Normal Control Color",
            "Change the color of the toggles in the Control Center in their normal state."),
    CVSwitch("Enable", "customNormalControlColor"),
    CVColorLink("Color", "normalControlColor"),
    CVGroup("Highlighted Control Color",
            "Change the color of the toggles in the Control Center when they are highlighted."),
    CVSwitch("Enable", "customHighlightedControlColor"),
    CVColorLink("Color", "highlightedControlColor"),
    CVGroup(nullptr, "Hide the separators shown between sections."),
    CVSwitch("Hide Separators", "hideSeparators"),
    CVGroup("Hide Sections", "Hide specific sections from Control Center."),
    CVSwitch("Hide Quick Launch", "hideSectionQuickLaunch"),
    CVSwitch("Hide Brightness", "hideSectionBrightness"),
    CVSwitch("Hide Media Controls", "hideSectionMediaControls"),
    CVSwitch("Hide AirDrop", "hideSectionAirStuff"),
    CVSwitch("Hide Settings", "hideSectionSettings"),
    CVGroup("Blur Radius", "Change the blur strength (defaults to 30)."),
    CVSlider(nullptr, "blurRadius", 1.0, 30.0),
};

constexpr CVPage kPage{
    .className = "ControlCenterListController",
    .section = &gCVControlCenter,
    .sectionID = CVSectionIDControlCenter,
    .tint = {0.7059, 0.8353, 0.4196},
    .rows = kRows,
};

const Class kRegistered = CVRegisterPage<kPage>();

} // namespace
