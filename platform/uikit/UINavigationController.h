#pragma once
// Navigation controllers: a stack of view controllers of which the top one is shown,
// under a navigation bar that shows the top controller's navigation item. The
// navigation controller's view holds the bar (at the top, below the status bar) and the
// top controller's view (filling the rest).
//
// Appearance follows the platform: when the navigation controller appears (the window
// shows it as its root, or it is pushed), its top controller hears viewWillAppear: and
// viewDidAppear:. While it is shown, a push or a pop tells the controller going away
// viewWillDisappear: … viewDidDisappear: and the controller coming viewWillAppear: …
// viewDidAppear:, in the order
//
//     old viewWillDisappear:, new viewWillAppear:, old viewDidDisappear:, new viewDidAppear:
//
// A push while it is not shown only loads the pushed controller's view; the appearance
// messages come when the navigation controller itself appears. Animation is not
// simulated: every change is immediate.

#include "uikit/UINavigationBar.h"
#include "uikit/UIViewController.h"

#include <vector>

struct UINavigationController : UIViewController {
    std::vector<StrongRef<UIViewController>> m_viewControllers;
    StrongRef<UINavigationBar> m_navigationBar;
    bool m_showing = false; // between viewWillAppear: and viewDidDisappear:

    static Class class_();

    UIViewController *topViewController() const;
    // The top controller's frame: below the status bar and the navigation bar.
    CGRect contentFrame() const;
};
