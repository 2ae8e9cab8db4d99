#pragma once
// Spotlight on the home screen. Pulling the pages down reveals a search view above them:
// the pages sit in an SBSearchScrollView that can be pulled down by the height of that
// view, as long as `_canScrollY` allows it (not while icons are being edited). iOS 7 and
// 8 show SBSearchViewController's search field there; iOS 9 shows Spotlight
// (SPUISearchViewController) there and also as a page of its own left of the first page
// of icons.
//
// Spotlight's sections (0 Siri suggestions, 1 nearby, 2 news) are built from its table
// methods, sent to the controller as a table view would: how many rows each section
// has, and which header view it shows.

#include "uikit/UIScrollView.h"
#include "uikit/UIViewController.h"

struct SBSearchScrollView : UIScrollView {
    static Class class_();
};

struct SBSearchViewController : UIViewController {
    static Class class_();
};

struct SPUISearchViewController : UIViewController {
    static Class class_();
};

namespace sim {

// How far the pages can be pulled down.
inline constexpr CGFloat kSearchPullDownHeight = 88;

// The controller of the running generation's search view (SBSearchViewController or
// SPUISearchViewController); the caller owns it.
UIViewController *createSearchViewController();

void registerSpotlightClasses();

} // namespace sim
