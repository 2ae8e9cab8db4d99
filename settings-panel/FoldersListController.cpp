// The Folders page: folder behaviour and looks, then the icon-list block of folders.

#include "settings-panel/CVPage.h"

namespace {

const CVRow kRows[] = {
    CVGroup(nullptr, "Create folders inside folders."),
    CVSwitch("Nested Folders", "nestedFolders"),
    CVGroup(nullptr, "Prevent Folder name changes"),
    CVSwitch("Lock Folder Names", "lockFolderNames"),
    CVGroup(nullptr, "Pinch on an open folder to close it."),
    CVSwitch("Pinch to Close", "pinchToClose"),
    CVGroup(nullptr, "Make the folder background transparent."),
    CVSwitch("Transparent Background", "transparentBackground"),
    CVGroup(nullptr, "Use a dark background for folders, if it's not transparent."),
    CVSwitch("Dark Background", "darkBackground"),
    CVGroup(nullptr, "Do not blur the background of the icon."),
    CVSwitch("Unblurred Icon", "unblurredIconBackground"),
    CVGroup(nullptr, "Make the open/close animation faster."),
    CVSwitch("Fast Open/Close", "fastOpen"),
};

const CVIconListBlock kFoldersBlock{
    .route = {&gCVIcons.folders, "folders", CVKeyIsDotted},
    .resizeFooter = "Resize icons inside folders.",
    .labelsFooter = "Hide labels of icons inside folders.",
    .isDock = false,
};

// The folders section, then the folders' icon list, each committed with its own section.
void resetFolders(SectionListController *self, const CVPage &)
{
    gCVFolders.setDefaults();
    CVCommitWholeSection(self, &gCVFolders, CVSectionIDFolders);
    gCVIcons.folders.setDefaults();
    CVCommitWholeSection(self, &gCVIcons, CVSectionIDIcons);
    msg<void>(self, "reloadSpecifiers"_sel);
}

constexpr CVPage kPage{
    .className = "FoldersListController",
    .section = &gCVFolders,
    .sectionID = CVSectionIDFolders,
    .tint = {0.4588, 0.6863, 0.8471},
    .rows = kRows,
    .iconList = &kFoldersBlock,
    .reset = resetFolders,
};

const Class kRegistered = CVRegisterPage<kPage>();

} // namespace
