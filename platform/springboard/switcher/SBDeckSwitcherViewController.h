#pragma once
// The iOS 9 switcher: a deck of cards, the home screen's on the right and on top, the
// applications used before it to its left, each partly covered by the one to its right.
// Each card is an item container holding the snapshot, with the application's icon and
// name above it. The controller lists its display items (displayItems); viewWillAppear:
// builds the cards for them, at the scale of a fully presented deck
// (_scaleForPresentedProgress: 1). A card may be swiped away when
// isDisplayItemOfContainerRemovable: says so (the home screen's never, here);
// removeDisplayItem:updateScrollPosition:forReason:completion: takes it out and ends its
// application.

#include "springboard/switcher/SwitcherItems.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UIViewController.h"
#include "uikit/UIWindow.h"

#include <functional>

struct SBDeckSwitcherItemContainer : UIView {
    StrongRef<SBDisplayItem> m_displayItem;
    StrongRef<UIView> m_pageView; // the snapshot, scaled as the card
    StrongRef<UIImageView> m_iconView;
    StrongRef<UILabel> m_titleLabel;
    CGFloat m_titleOpacity = 1;
    CGFloat m_titleAndIconOpacity = 1;
    CGFloat m_scale = 1;

    static Class class_();
};

struct SBDeckSwitcherViewController : UIViewController {
    StrongRef<NSMutableArray> m_displayItems;
    StrongRef<NSMutableArray> m_itemContainers; // one per display item, in order
    NSUInteger m_focusedIndex = 0;              // the card in the middle of the screen
    StrongRef<UIWindow> m_window;               // while presented

    static Class class_();
    SBDeckSwitcherItemContainer *containerAt(NSUInteger index) const;
};

namespace sim {
void registerDeckSwitcherClasses();
} // namespace sim
