#pragma once
// The application object: one per process, answering the interface orientation from the
// device profile and the windows of the process. Relaunching is the host's business: the
// process that runs SpringBoard installs a relaunch handler, and whatever asks the
// application to relaunch (SpringBoard's private entry point) calls it.
//
// An application program starts in UIApplicationMain: it makes the shared application
// as an instance of the principal class (a UIApplication subclass; nil: UIApplication)
// and its delegate (the application itself when both names are the same, nil: none),
// tells the delegate application:didFinishLaunchingWithOptions: (with nil options) or,
// when it does not answer that, applicationDidFinishLaunching:, and runs the main run
// loop until sim::stopApplicationMain(). A process that asked for the shared application
// before keeps its object when that is already of the principal class; otherwise the
// principal class's instance takes its place.

#include "foundation/NSArray.h"

#include <functional>
#include <optional>

enum UIInterfaceOrientation : NSInteger {
    UIInterfaceOrientationUnknown = 0,
    UIInterfaceOrientationPortrait = 1,
    UIInterfaceOrientationPortraitUpsideDown = 2,
    UIInterfaceOrientationLandscapeRight = 3,
    UIInterfaceOrientationLandscapeLeft = 4,
};

struct UIWindow;

struct NSString;

struct UIApplication : NSObject {
    id m_delegate = nil; // not retained, as on the platform

    static Class class_();
    // The shared application, made on first use.
    static UIApplication *sharedApplication();

    UIInterfaceOrientation statusBarOrientation() const;
    UIWindow *keyWindow() const;
    NSArray *windows() const;
};

extern "C" {
// Answers 0 once the main run loop was stopped. The arguments are not interpreted, except
// by the application screen (below) when one is set.
int UIApplicationMain(int argc, char **argv, NSString *principalClassName,
                      NSString *delegateClassName);
}

namespace sim {
// Ends UIApplicationMain's run of the main loop. From the main thread, or from any
// thread through the main loop's perform().
void stopApplicationMain();
// Where an application's windows are seen. SpringBoard's windows are the device's own
// screen; an application process beside it (the settings application) shows its windows
// on a screen of its own, the browser screen (browserscreen/), which sets itself here.
// UIApplicationMain attaches the screen before the application launches, giving it the
// program's arguments: an answer stops UIApplicationMain at once with that status (the
// screen could not be shown, and said why). It detaches the screen when the loop ends.
struct ApplicationScreen {
    std::function<std::optional<int>(int argc, char **argv)> attach;
    std::function<void()> detach;
};
void setApplicationScreen(ApplicationScreen screen);
// Installs what relaunching the process means; an empty function removes it.
void setRelaunchHandler(std::function<void()> handler);
// Calls the relaunch handler; without one the request is logged and dropped.
void relaunch();
} // namespace sim
