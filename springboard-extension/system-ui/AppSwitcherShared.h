#pragma once
// What the three switcher generations share: their constants, whether an application is
// running, how an inactive application's snapshot is dimmed, and the home screen card's
// relaunch.

#include "objc/objc.h"

#include <string>

// "appsMode" values.
inline constexpr unsigned kCVAppsModeHide = 1;
inline constexpr unsigned kCVAppsModeBlur = 2;
inline constexpr unsigned kCVAppsModeDarken = 3;

inline constexpr double kCVInactiveBlurRadius = 8.0;
inline constexpr double kCVInactiveDarkening = 0.5;
// iOS 7 and 8 use "pageScaleFactor" only above this.
inline constexpr double kCVPageScaleThreshold = 0.02;
// iOS 9: factors above the limit give the fixed scale; others are multiplied.
inline constexpr double kCVDeckScaleLimit = 1.2;
inline constexpr float kCVDeckLimitedScale = 0.9f;
inline constexpr double kCVDeckScaleMultiplier = 0.75;
// The reason given when iOS 9 removes an inactive application's card.
inline constexpr long kCVInactiveRemovalReason = 1337;
inline constexpr const char *kCVHomeDisplayIdentifier = "com.apple.springboard";

// SpringBoard's application object for the identifier (applicationWithBundleIdentifier:
// of the shared SBApplicationController), or nil.
id CVApplicationWithBundleIdentifier(id identifier);
// Whether the application is running; nil is not.
bool CVApplicationIsRunning(id application);
// The display item's application is running (an item whose application cannot be found
// is not).
bool CVDisplayItemIsRunning(id displayItem);
// Whether the display item is the home screen's.
bool CVIsHomeDisplayItem(id displayItem);

// Blurs or darkens the snapshot view of an application that is not running, by
// "appsMode"; a running application's snapshot stays as it is. Answers the view.
id CVAdjustSnapshotView(id snapshotView, bool running);

// "homeAction" 1: SpringBoard relaunches.
void CVRelaunchForHomeAction();
// Whether the home card is removable because of "homeAction".
bool CVHomeCardRemovable();
