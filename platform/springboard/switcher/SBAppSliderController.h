#pragma once
// The iOS 7 switcher, the app slider: the home screen's page first, then a page per
// application of the app list (`_appList`, display identifiers, read and changed between
// _beginAppListAccess and _endAppListAccess), with the icons in a row beneath. _layout
// fills the list from the recently used applications; the two scrolling controllers then
// build their items (`_items`) from it, pages and icons, and scroll to an index with
// setOffsetToIndex:animated:completion:. Taps and removals come to the slider controller
// as the scroller's delegate (sliderScroller:itemTapped:, sliderScroller:isIndexRemovable:,
// sliderScroller:itemWantsToBeRemoved:); the home screen's page, index 0, is not
// removable here.

#include "uikit/UIViewController.h"
#include "uikit/UIWindow.h"

#include <string>
#include <vector>

struct SBAppSliderController;

struct SBAppSliderScrollingViewController : UIViewController {
    StrongRef<NSMutableArray> m_items;          // "_items": the item views
    std::vector<std::string> m_itemIdentifiers; // the display identifier of each item
    NSInteger m_offsetIndex = 0;                // the item in the middle of the screen
    CGFloat m_itemScale = 1;                    // pages: their scale; icons: their pages'
    bool m_showsIcons = false;
    SBAppSliderController *m_delegate = nullptr; // not retained: the slider owns its scrollers

    static Class class_();
};

struct SBAppSliderIconController : SBAppSliderScrollingViewController {
    static Class class_();
};

struct SBAppSliderController : UIViewController {
    StrongRef<NSMutableArray> m_appList; // display identifiers, most recent first
    int m_appListAccessDepth = 0;
    bool m_showsHomePage = true;
    StrongRef<SBAppSliderScrollingViewController> m_pageController;
    StrongRef<SBAppSliderIconController> m_iconController;
    CGFloat m_fullscreenScale = 1;
    StrongRef<UIWindow> m_window; // while presented

    static Class class_();
};

namespace sim {
void registerAppSliderClasses();
} // namespace sim
