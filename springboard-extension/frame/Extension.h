#pragma once
// The extension's life inside SpringBoard. CorvaneBoard is loaded into SpringBoard before
// SpringBoard has finished launching, and its load-time constructor calls ExtensionEntry
// once, on the main thread. The entry checks that the running system is one the extension
// knows (on any other it changes nothing and tells the user once, at the first lock or
// unlock after launch), fills the class cache, loads the settings, installs the feature
// groups when the master switch is on, and arms the apply notification. Applying
// settings from the panel presses the home button; when the interface animation that
// starts has finished, a short farewell plays over a snapshot of the screen and
// SpringBoard relaunches, to start this sequence again with every option read afresh.

#include "objc/objc.h"

#include <cstdint>

// SpringBoard classes that feature code compares against exactly or sends class messages
// to, looked up once by the entry. Each entry carries its class's name (the phone build's
// `$SBIconListView` reference is gCVClasses.SBIconListView); a class the running system
// lacks stays nil.
struct CVClassCache {
    Class SBIconListView;
    Class SBDockIconListView;
    Class SBFolderIconListView;
    Class SBFolderIconView;
    Class SBIconView;
    Class UICTFont; // UIKit's private font class
};
extern CVClassCache gCVClasses;

void ExtensionEntry();

// Disarms what would call into the image once it is gone: the exits the feature groups
// registered (the last registered first), the apply notification and a pending
// unsupported-system alert. Runs when the image is unloaded or the process ends; method
// replacements stay, since they belong to SpringBoard's classes, which go with it.
void ExtensionExit();

// How a feature group disarms what it armed that calls into the image (a notification
// observer, a timer): it registers the exit when it arms, and ExtensionExit runs it once.
// Registering one exit again while it is registered changes nothing.
using CVFeatureExit = void (*)();
void CVRegisterFeatureExit(CVFeatureExit exit);

// Fills gCVClasses, logging each class that is missing.
void LoadCachedClasses();

// The handler of the apply notification "com.kestrelworks.corvane3.applySettings", on the
// main queue; the token is not used.
void HandleApplySettings(int token);

// Arms the farewell: once SpringBoard's next interface animation has finished, the
// farewell plays and SpringBoard relaunches. Installed at most once per process.
void InstallFarewell();

// The farewell itself: the screen blurs and darkens for 2.3 seconds, then SpringBoard
// relaunches (unless the animation was interrupted).
void ShowFarewell();

// Shows the unsupported-system alert at the first lock or unlock after SpringBoard has
// launched, once per process.
void ScheduleUnsupportedAlert();
// Stops waiting for that lock or unlock.
void CancelUnsupportedAlert();

extern "C" {
// The 32-bit FNV-1a hash of a NUL-terminated byte string.
std::uint32_t fnv_32a_str(const char *text);
}
