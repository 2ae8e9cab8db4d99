#pragma once
// The bar at the top of a navigation controller: a stack of navigation items of which it
// shows the top one: its title in the middle, its right button at the trailing edge and,
// at the leading edge, its left button or else a back button titled after the item below
// (that item's backBarButtonItem title, else its title, else "Back"). Pressing the back
// button pops the navigation controller. tintColor colours the buttons, barTintColor the
// bar's background.

#include "uikit/UILabel.h"
#include "uikit/UINavigationItem.h"

#include <vector>

struct UINavigationController;

struct UINavigationBar : UIView {
    std::vector<StrongRef<UINavigationItem>> m_items;
    StrongRef<UIColor> m_tintColor;
    StrongRef<UIColor> m_barTintColor;
    StrongRef<UILabel> m_titleLabel;
    // The top item's buttons: [0] the leading one (nil when none), [1] the trailing one.
    std::vector<StrongRef<UIView>> m_buttonViews;
    UINavigationController *m_navigationController = nil; // owns the bar

    static Class class_();

    static constexpr CGFloat kHeight = 44;

    UINavigationItem *topItem() const;
    UINavigationItem *backItem() const;
    // The views of the top item's buttons are made again at the next layout.
    void itemsChanged();
};
