#pragma once
// The icon controller runs the home screen: it builds it from the installed applications
// (StockLayout.h), owns the root folder controller and the view map, opens and closes
// folders, turns editing on and off, scrolls to a page, and lays every icon list out again
// on request (relayout) or when the device turns.

#include "springboard/SBFolderController.h"
#include "springboard/SBIconViewMap.h"
#include "springboard/SBRootFolderView.h"

#include <vector>

struct SBIconController : NSObject {
    StrongRef<SBFolderController> m_rootFolderController;
    StrongRef<SBFolderController> m_openFolderController;
    StrongRef<SBIconViewMap> m_iconViewMap;
    bool m_isEditing = false;

    static Class class_();
    // The home screen for the installed applications, in the present orientation; the
    // caller owns it.
    static SBIconController *create();

    SBRootFolderView *rootFolderView() const;
    // The pages, the dock, and the pages of the open folder, if any.
    std::vector<SBIconListView *> allIconLists() const;
    // The folder icons on the home screen's pages, in page order.
    std::vector<SBIcon *> folderIcons() const;
    // Lays the home screen out for the interface orientation, the icons moving to their
    // new places over `duration` seconds.
    void rotate(NSInteger orientation, double duration);
};

namespace sim {
void registerIconControllerClass();
} // namespace sim
