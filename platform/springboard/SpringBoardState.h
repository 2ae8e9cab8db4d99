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

    int displayStatusToken = -1;
    int lockStateToken = -1;
    // Turns the display off a few seconds after a lock, as the phone dims.
    RunLoop::SourceId displayDimTimer = 0;

    // A finger the device tool left on the pages (swipePages with hold), where it is.
    bool fingerDown = false;
    CGPoint fingerLocation = CGPointZero;
};

inline constexpr double kDisplayDimDelay = 8;

SpringBoardState &springBoardState();
// Sets the state of "com.apple.iokit.hid.displayStatus" and "com.apple.springboard.lockstate"
// for the lock state: the display is on while unlocked and goes off kDisplayDimDelay
// seconds after a lock.
void publishLockState(SpringBoardState &state);

} // namespace sim
