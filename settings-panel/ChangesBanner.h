#pragma once
// ChangesBanner: a strip over the status bar that tells the user that settings have
// changed which need a restart, and offers it: a tap anywhere on the strip sends the
// target its action. The strip is a window of its own just above the status bar, as wide
// as the screen and as tall as the status bar; its text (a MarqueeLabel, which scrolls a
// message too long for the strip) slides in from above over a snapshot of the screen, and
// slides out again when the banner hides.

#include "settings-panel/MarqueeLabel.h"
#include "uikit/UIViewController.h"
#include "uikit/UIWindow.h"

struct ChangesBanner : NSObject {
    id m_target = nil; // not retained: the root page owns its banner
    SEL m_action = nullptr;
    StrongRef<UIWindow> m_window;
    StrongRef<MarqueeLabel> m_label;
    bool m_showing = false;

    static Class class_();
};

// The banner window's root view controller: the banner stays in portrait.
struct BannerViewController : UIViewController {
    static Class class_();
};

// Above the status bar, below alerts.
inline constexpr UIWindowLevel CVBannerWindowLevel = UIWindowLevelStatusBar + 10;
inline constexpr NSTimeInterval CVBannerSlideDuration = 0.25;
