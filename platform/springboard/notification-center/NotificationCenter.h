#pragma once
// Notification Center: a sheet pulled down from the top edge over a blurred backdrop.
//
//   SBNotificationCenterController          shared; owns the window and the edge gesture
//                                           (`_showSystemGestureRecognizer`)
//     _viewController                       SBNotificationCenterViewController
//       backdropView                        _UIBackdropView, the whole screen
//       _modeViewController                 SBModeViewController: one tab per view
//                                           controller, the first one shown
//
// The mode view controller holds, as SpringBoard adds them when it builds the sheet:
// iOS 7 "Today", "All" and "Missed" (SBTodayViewController,
// SBNotificationsAllModeViewController, SBNotificationsMissedModeViewController); iOS 8
// and 9 "Today" and "Notifications" (SBNotificationsViewController). A notifications
// view lists the notifications posted so far, newest first, or its
// `contentUnavailableText` ("No Notifications") when there are none.
//
// The top edge gesture starts only while `SBBulletinWindowController` allows the
// show-notifications gesture. The sheet follows the finger and, when the finger lifts,
// opens fully once a third of it shows, else goes back up.

#include "springboard/Backdrop.h"
#include "springboard/SystemGestures.h"
#include "uikit/UILabel.h"
#include "uikit/UIViewController.h"
#include "uikit/UIWindow.h"

struct SBNotificationsViewController : UIViewController {
    std::vector<StrongRef<UILabel>> m_rows;

    static Class class_();
};

struct SBModeViewController : UIViewController {
    StrongRef<NSObject> m_viewControllers; // NSArray
    std::vector<StrongRef<UILabel>> m_tabs;

    static Class class_();
};

struct SBNotificationCenterViewController : UIViewController {
    StrongRef<_UIBackdropView> m_backdropView;
    StrongRef<SBModeViewController> m_modeViewController;
    StrongRef<UIView> m_sheetView; // slides down, holds the mode view
    CGFloat m_revealedFraction = 0;

    static Class class_();
};

struct SBNotificationCenterController : NSObject {
    StrongRef<SBNotificationCenterViewController> m_viewController;
    StrongRef<UIWindow> m_window;
    StrongRef<SBOffscreenSwipeGestureRecognizer> m_showSystemGestureRecognizer;
    bool m_visible = false;

    static Class class_();
};

namespace sim {

void registerNotificationCenterClasses();
void registerNotificationModeClasses();
// The controller that `+sharedInstance` answers (NotificationCenterHost.h makes it).
void setNotificationCenterController(SBNotificationCenterController *controller);

// A notification as the device posted it.
struct Bulletin {
    std::string bundleIdentifier;
    std::string text;
};
// The notifications posted since SpringBoard started, oldest first.
std::vector<Bulletin> &postedBulletins();

} // namespace sim
