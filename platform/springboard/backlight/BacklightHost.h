#pragma once
// The device's side of the backlight: what the buttons ask of SpringBoard's backlight
// controller (by message, so an extension's replacement decides), the lock screen's idle
// dim, and the screen as a person looking at the phone sees it. All on the main thread.

#include "quartzcore/CGImage.h"

namespace sim {

struct BacklightHost {
    // The lock button: the backlight fades to 0 over SpringBoard's fade duration.
    static void turnOff();
    // Waking or unlocking: the backlight comes on at once. False when the request was
    // dropped (the backlight stays as it was).
    static bool turnOn(int source);
    // The lock screen dims `kLockScreenIdleDelay` seconds after it lit up, unless
    // something else happens first; cancelIdleDim forgets that.
    static void scheduleIdleDim();
    static void cancelIdleDim();
    // Forgets every pending fade and dim, as SpringBoard ends.
    static void stop();

    static bool screenIsOn();
    // The factor shown now (0 dark … 1 full), part way through a fade.
    static double factor();
    // The screen as it looks: the visible windows composited, dimmed by the backlight
    // over black. The caller owns the image; nil when nothing can be drawn.
    static CGImageRef createDisplayImage();
};

inline constexpr double kLockScreenIdleDelay = 8;

} // namespace sim
