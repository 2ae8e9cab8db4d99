// The App Slider page: the app switcher's page size, icons, home action and inactive apps.

#include "settings-panel/CVListBuilders.h"
#include "settings-panel/CVPage.h"

namespace {

CVChoices pageScales()
{
    return CVPercentChoices(20, 200, 10);
}

const CVChoice kHomeActions[] = {{0, "None"}, {1, "Respring"}};
const CVChoice kInactiveApps[] = {{0, "Default"}, {1, "Hide"}, {2, "Blur"}, {3, "Darken"}};

const CVRow kRows[] = {
    CVGroup(nullptr, "Hide the icons shown below App Slider pages."),
    CVSwitch("Hide Icons", "hideIcons"),
    CVGroup(nullptr, "Resize App Slider Pages."),
    CVList("Resize Pages", "pageScaleFactor", pageScales),
    CVGroup(nullptr, "Determines what happens when you slide the home screen page up."),
    CVList("Home Action", "homeAction", kHomeActions),
    CVGroup(nullptr, "Choose how to handle inactive apps."),
    CVList("Inactive Apps", "appsMode", kInactiveApps),
};

constexpr CVPage kPage{
    .className = "AppSliderListController",
    .section = &gCVAppSlider,
    .sectionID = CVSectionIDAppSlider,
    .tint = {0.9490, 0.8824, 0.3451},
    .rows = kRows,
};

const Class kRegistered = CVRegisterPage<kPage>();

} // namespace
