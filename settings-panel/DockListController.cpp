// The Dock page: hiding the dock or its background, then the icon-list block of the dock.

#include "settings-panel/CVPage.h"

namespace {

const CVRow kRows[] = {
    CVGroup(nullptr, "Hide the Dock from SpringBoard."),
    CVSwitch("Hide Dock", "hideDock"),
    CVGroup(nullptr, "Hides the Dock background."),
    CVSwitch("Hide Background", "hideBackground"),
};

const CVIconListBlock kDockBlock{
    .route = {&gCVIcons.dock, "dock", CVKeyIsDotted},
    .resizeFooter = "Resize icons in Dock.",
    .labelsFooter = "Hide labels of icons in Dock.",
    .isDock = true,
};

// The dock section, then the dock's icon list, each committed with its own section.
void resetDock(SectionListController *self, const CVPage &)
{
    gCVDock.setDefaults();
    CVCommitWholeSection(self, &gCVDock, CVSectionIDDock);
    gCVIcons.dock.setDefaults();
    CVCommitWholeSection(self, &gCVIcons, CVSectionIDIcons);
    msg<void>(self, "reloadSpecifiers"_sel);
}

constexpr CVPage kPage{
    .className = "DockListController",
    .section = &gCVDock,
    .sectionID = CVSectionIDDock,
    .tint = {0.4157, 0.7569, 0.6078},
    .rows = kRows,
    .iconList = &kDockBlock,
    .reset = resetDock,
};

const Class kRegistered = CVRegisterPage<kPage>();

} // namespace
