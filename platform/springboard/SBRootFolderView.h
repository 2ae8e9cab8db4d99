#pragma once
// The home screen: the root folder view. Its pages of icons sit in a search scroll view
// that can be pulled down to reveal the search field (Spotlight.h); the page dots sit
// under the pages and the dock along the bottom (at the right edge of a phone in
// landscape). On iOS 9 the first page of the scroll view is Spotlight, left of the
// first page of icons.

#include "springboard/SBDockView.h"
#include "springboard/SBFolderView.h"
#include "springboard/SBIconListPageControl.h"
#include "springboard/Spotlight.h"

struct SBRootFolderView : SBFolderView {
    StrongRef<SBSearchScrollView> m_searchScrollView;
    StrongRef<UIViewController> m_pullDownSearchController;
    StrongRef<UIViewController> m_spotlightPageController; // iOS 9
    StrongRef<SBIconListPageControl> m_pageControl;
    StrongRef<SBDockView> m_dockView;

    static Class class_();

    // Puts the dock, holding the list, at the bottom of the home screen.
    void installDock(SBIconListView *dockList);
};

namespace sim {
void registerRootFolderViewClass();
} // namespace sim
