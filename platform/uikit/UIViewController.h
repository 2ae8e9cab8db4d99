#pragma once
// View controllers. The view is made on first use: `view` sends loadView, whose default
// makes a plain view the size of the screen, then viewDidLoad. Subclasses override those
// two and the appearance messages (viewWillAppear:, viewDidAppear: …), which the window
// sends when the controller's view goes on screen as its root, and a navigation
// controller when it shows the controller (UINavigationController.h).
//
// A controller held by a container (a navigation controller) knows it as its
// parentViewController; navigationController answers the nearest navigation controller
// up that chain. The title is the navigation item's title too.

#include "uikit/UINavigationItem.h"
#include "uikit/UIView.h"

struct UIViewController : NSObject {
    StrongRef<UIView> m_view;
    StrongRef<NSString> m_title;
    StrongRef<UINavigationItem> m_navigationItem;   // made on first use
    UIViewController *m_parentViewController = nil; // not retained: the parent holds it

    static Class class_();

    bool isViewLoaded() const { return m_view; }
    UINavigationItem *navigationItem();
};

// UIInterfaceOrientationMask: one bit per UIInterfaceOrientation.
using UIInterfaceOrientationMask = NSUInteger;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskPortrait = 1 << 1;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskAll = 0x1e;
