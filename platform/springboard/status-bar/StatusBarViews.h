#pragma once
// The status bar's views, which draw the aggregator's data across the top of the screen:
// signal dots, carrier and Wi-Fi bars at the left, the time in the middle, the battery
// (with its percentage when that item is on) at the right and, left of it, a glyph for
// each other item that is on (alarm, location, Bluetooth, rotation lock, do not
// disturb…). An item that is off takes no room, so hiding one shows.
//
// `UIStatusBarForegroundView` holds one `UIStatusBarItemView` per item (`_item`, the
// item's number); whenever it lays out it shows the shared aggregator's data (each item
// on or off, with its text or level) and places the visible items.

#include "springboard/status-bar/StatusBarData.h"
#include "uikit/UILabel.h"
#include "uikit/UIWindow.h"

struct SBStatusBarStateAggregator;

struct UIStatusBarItemView : UIView {
    int m_item = 0;
    StrongRef<UILabel> m_label; // the text or glyph of a text item, else nil
    StrongRef<NSArray> m_parts; // the shapes of a drawn item (dots, bars, battery)

    static Class class_();
};

struct UIStatusBarForegroundView : UIView {
    StrongRef<UIStatusBarItemView> m_itemViews[kSBStatusBarItemCount];

    static Class class_();
};

namespace sim {

inline constexpr CGFloat kStatusBarHeight = 20;

// The status bar's window, across the top of the interface, showing the aggregator's data
// from now on. The caller owns the window.
UIWindow *createStatusBarWindow(SBStatusBarStateAggregator *aggregator, CGFloat width);
// Fits the bar to its window's width.
void layOutStatusBar(UIWindow *window);

void registerStatusBarViewClasses();

} // namespace sim
