#pragma once
// The application object: one per process, answering the interface orientation from the
// device profile and the windows of the process. Relaunching is the host's business: the
// process that runs SpringBoard installs a relaunch handler, and whatever asks the
// application to relaunch (SpringBoard's private entry point) calls it.

#include "foundation/NSArray.h"

#include <functional>

enum UIInterfaceOrientation : NSInteger {
    UIInterfaceOrientationUnknown = 0,
    UIInterfaceOrientationPortrait = 1,
    UIInterfaceOrientationPortraitUpsideDown = 2,
    UIInterfaceOrientationLandscapeRight = 3,
    UIInterfaceOrientationLandscapeLeft = 4,
};

struct UIWindow;

struct UIApplication : NSObject {
    static Class class_();
    // The shared application, made on first use.
    static UIApplication *sharedApplication();

    UIInterfaceOrientation statusBarOrientation() const;
    UIWindow *keyWindow() const;
    NSArray *windows() const;
};

namespace sim {
// Installs what relaunching the process means; an empty function removes it.
void setRelaunchHandler(std::function<void()> handler);
// Calls the relaunch handler; without one the request is logged and dropped.
void relaunch();
} // namespace sim
