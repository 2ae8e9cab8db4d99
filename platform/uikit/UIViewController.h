#pragma once
// View controllers. The view is made on first use: `view` sends loadView, whose default
// makes a plain view the size of the screen, then viewDidLoad. Subclasses override those
// two and the appearance messages (viewWillAppear:, viewDidAppear: …), which the window
// sends when the controller's view goes on screen as its root.

#include "uikit/UIView.h"

struct UIViewController : NSObject {
    StrongRef<UIView> m_view;

    static Class class_();

    bool isViewLoaded() const { return m_view; }
};

// UIInterfaceOrientationMask: one bit per UIInterfaceOrientation.
using UIInterfaceOrientationMask = NSUInteger;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskPortrait = 1 << 1;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskAll = 0x1e;
