#pragma once
// The iOS 8 switcher: a row of pages, the home screen's first, each a display layout of
// the app list (`_appList_use_block_accessor`), with the applications' icons in a row
// beneath. _layout builds the pages for the list as it is and scales them with
// _updatePageViewScale:xTranslation:; _scaleForFullscreenPageView is the scale that
// brings a page from the row to the full screen, which a tapped page grows by. The icon
// controller shows an icon only where _isIndexVisible:withPadding: says its page is on
// screen. Swiping a page up asks switcherScroller:isDisplayItemRemovable: (the home
// screen's page never, here) and then switcherScroller:displayItemWantsToBeRemoved:.

#include "springboard/switcher/SwitcherItems.h"
#include "uikit/UIViewController.h"
#include "uikit/UIWindow.h"

struct SBAppSwitcherPageView : UIView {
    StrongRef<SBDisplayLayout> m_displayLayout;
    StrongRef<UIView> m_view; // the snapshot
    CGFloat m_scale = 1;

    static Class class_();
};

struct SBAppSwitcherIconController : NSObject {
    StrongRef<NSMutableArray> m_iconViews; // one per page, hidden when not visible
    NSUInteger m_focusedIndex = 0;

    static Class class_();
};

struct SBAppSwitcherController : UIViewController {
    StrongRef<NSMutableArray> m_appList;   // SBDisplayLayout, the home screen's first
    StrongRef<NSMutableArray> m_pageViews; // one per display layout
    StrongRef<SBAppSwitcherIconController> m_iconController;
    NSUInteger m_focusedIndex = 0;
    CGFloat m_pageScale = 1;
    CGFloat m_fullscreenScale = 1;
    StrongRef<UIWindow> m_window; // while presented

    static Class class_();
    SBAppSwitcherPageView *pageAt(NSUInteger index) const;
};

namespace sim {
void registerAppSwitcherClasses();
} // namespace sim
