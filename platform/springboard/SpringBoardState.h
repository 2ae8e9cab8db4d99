#pragma once
// What SpringBoard holds while it runs in this process: its windows, its shared
// controllers, whether the device is locked, its tokens for the state of Darwin
// notifications, and the finger that the device tool may leave on the pages. Everything
// is released again when SpringBoard ends (SpringBoardHost::terminate), so that a new
// start begins from nothing.

#include "foundation/RunLoop.h"
#include "quartzcore/CGGeometry.h"
#include "uikit/UIWindow.h"

namespace sim {

struct SpringBoardState {
    bool running = false;
    bool locked = true;

    StrongRef<UIWindow> wallpaperWindow;
    StrongRef<UIWindow> homeScreenWindow;
    StrongRef<UIWindow> statusBarWindow;
    StrongRef<UIWindow> lockScreenWindow;

    // The shared instances that `+sharedInstance` answers.
    StrongRef<NSObject> iconController;
    StrongRef<NSObject> uiController;
    StrongRef<NSObject> statusBarStateAggregator;
    StrongRef<NSObject> lockScreenViewController;
    // The applications (apps/SBApplication.h) and the app switcher of the generation
    // (switcher/SwitcherHost.h), made on first use.
    StrongRef<NSObject> applicationController;
    StrongRef<NSObject> switcherController;
    // The icon model (SBIconModel), and the disc behind every badge.
    StrongRef<NSObject> iconModel;
    StrongRef<NSObject> badgeBackgroundImage;
    StrongRef<NSObject> telephonyManager; // made at its first use
    StrongRef<NSObject> dateFormatCache;  // the generation's, made at its first use
    StrongRef<NSObject> userAgent;
    StrongRef<NSObject> lockScreenPluginController;
    // The backlight and the animation settings (backlight/Backlight.h), made at first use.
    StrongRef<NSObject> backlightController;
    StrongRef<NSObject> animationFactorySettings;
    StrongRef<NSObject> fadeAnimationSettings;

    int displayStatusToken = -1;
    int lockStateToken = -1;
    // Dims the lit lock screen after a while (backlight/BacklightHost.h).
    RunLoop::SourceId displayDimTimer = 0;

    // A finger the device tool left on the pages (swipePages with hold), where it is.
    bool fingerDown = false;
    CGPoint fingerLocation = CGPointZero;
};

SpringBoardState &springBoardState();
// Sets the state of "com.apple.springboard.lockstate" for the lock state. The display's
// state follows the backlight (backlight/Backlight.h).
void publishLockState(SpringBoardState &state);

} // namespace sim
