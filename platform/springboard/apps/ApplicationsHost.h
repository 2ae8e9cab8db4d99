#pragma once
// Applications on screen: launching one full screen, the home button suspending it, and
// the system ending one in the background, as the device tool and the app switcher work
// them. All of it belongs to the main thread.
//
// An application draws a simple screen of its own (applicationScreenView): its icon's
// colour and its name, enough to tell applications apart on screen and in the
// switcher's snapshots. It shows in a window just above the home screen's.

#include "springboard/apps/SBApplication.h"

#include <nlohmann/json_fwd.hpp>

#include <string>

struct UIView;

namespace sim {

struct ApplicationsHost {
    // A tap on the application's icon on the home screen. False, with a log line, when no
    // such application is installed, it has no icon, or the device is locked.
    static bool launch(const std::string &bundleIdentifier);
    // The system ends the application while it is in the background: it is no longer
    // running but stays in the switcher's list. False, with a log line, when no such
    // application is installed.
    static bool quit(const std::string &bundleIdentifier);
    // {"frontmost": bundle identifier or null, "running": [...], "recent": [...]}, the
    // lists in the switcher's order (most recent first), by bundle identifier.
    static nlohmann::json dump();
};

// Brings the application to the front, full screen, launching it when it is not running;
// it becomes the most recently used.
void activateApplication(SBApplication *application);
// Sends the application in front to the background (it keeps running). False when no
// application was in front: the home button then acts on the home screen.
bool suspendFrontmostApplication();
// Ends the application: not running, off the screen; the switcher's list keeps it.
void endApplication(SBApplication *application);
// The application's screen in `frame`, autoreleased.
UIView *applicationScreenView(SBApplication *application, CGRect frame);

// The application classes of the running generation, and the icon controller's answer to
// a tap on an icon (iconTapped:).
void registerApplicationClasses();

} // namespace sim
