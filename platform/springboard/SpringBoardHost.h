#pragma once
// SpringBoard in this process: its start, its end, and the entry points through which the
// device tool works the phone as a user would. All of them belong to the main thread.
//
// launch() does what SpringBoard does when it starts: it becomes "com.apple.springboard",
// registers its classes as the device's system generation has them, has the injection
// stand-in load the extensions meant for it (their load-time entries run now, when the
// classes exist and nothing is on screen), builds its interface (wallpaper, home screen
// with its pages, page dots and dock, status bar, and the lock screen over everything:
// the device starts locked), and announces that it has launched, to the device (the
// Darwin notification "SBSpringBoardDidLaunchNotification") and to the process
// (UIApplicationDidFinishLaunchingNotification). It returns; the caller runs the main
// run loop.
//
// terminate() undoes all of that in this process, so that launch() may run again, as the
// device tool does when SpringBoard relaunches itself in its scripted mode: windows go,
// the extensions are unloaded, SpringBoard's functions and the UIKit methods it keeps are
// put back, and its classes are disposed of, so that the next launch registers them
// afresh with their own implementations.
//
// Locking: the lock screen shows while the device is locked. Every lock and unlock posts
// "com.apple.springboard.lockstate" (with its state 1 locked, 0 unlocked), a lock then
// also "com.apple.springboard.lockcomplete". The lock button asks the backlight controller
// to fade out first and unlocking asks it to light up (backlight/BacklightHost.h), both by
// message; "com.apple.iokit.hid.displayStatus" follows the backlight.

#include <nlohmann/json_fwd.hpp>

#include <string>

namespace sim {

struct SpringBoardHost {
    static constexpr const char *kBundleIdentifier = "com.apple.springboard";

    // False, with a log line, when SpringBoard runs already.
    static bool launch();
    static void terminate();
    static bool isRunning();

    // A press of the home button (SBUIController's clickedMenuButton).
    static void pressHome();
    static void lock();
    static void unlock();
    static bool isLocked();
    // The interface orientation, 1 portrait … 4 landscape left; the home screen lays
    // itself out for it. False, with a log line, for any other number.
    static bool rotate(int orientation);
    // A finger drags the home screen's pages from where they are towards the page
    // position `toPage` (0 the first page of icons, 1 the second, 0.5 halfway; on iOS 9
    // −1 is Spotlight), step by step as a finger moves. Without `hold` it lifts while
    // still moving, nine tenths of the way there, and the pages decelerate to rest on a
    // page (`toPage` when it is a whole page; past the ends they spring back); the call
    // returns once they rest. With `hold` the finger comes to a stop at `toPage` and stays
    // down, and the next swipe goes on from there.
    static void swipePages(double toPage, bool hold);
    static void setEditing(bool editing);
    // Opens the folder whose icon is the index-th folder icon of the home screen, in page
    // order; false, with a log line, when there is none.
    static bool openFolder(int index);
    static void closeFolder();

    // Every visible window, from the lowest level up, with its view tree: each view as
    // {"class", "frame", "bounds", "center", "alpha", "hidden", "tag", and where it has
    // them "transform", "sublayerTransform" (only when not the identity), "filters",
    // "text", "font", "image", "children"}; a window also has its "level". Rectangles
    // are [x, y, width, height] (a scroll view's bounds origin is its content offset),
    // transforms their four rows [[m11 … m14] … [m41 … m44]].
    static nlohmann::json dumpWindows();
    // The alerts on screen, oldest first: [{"title", "message", "buttons"}].
    static nlohmann::json dumpAlerts();
    // Writes a PNG of the screen at a host path; false when it cannot.
    static bool screenshot(const std::string &hostPath);
};

} // namespace sim
