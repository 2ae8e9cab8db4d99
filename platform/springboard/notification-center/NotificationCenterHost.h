#pragma once
// The entry points through which the device works Notification Center, on the main thread.

#include <nlohmann/json_fwd.hpp>

#include <string>

namespace sim {

// Makes the shared controller, builds the sheet, hands its edge gesture to the display
// (on iOS 9 to FBSystemGestureManager) and tells the lock screen its top grabber may
// show; at SpringBoard's start. disposeNotificationCenter undoes it and forgets the
// notifications.
void buildNotificationCenter();
void disposeNotificationCenter();

// A finger swipes down from the top edge all the way; true when Notification Center is
// open afterwards (false when its gesture did not start).
bool openNotificationCenter();
// Pushes the sheet back up; false when it was not open.
bool closeNotificationCenter();

// A notification of the application `bundleIdentifier` with its text: listed in
// Notification Center from now on (at once when it is open).
void postNotification(const std::string &bundleIdentifier, const std::string &text);

// {"open", "revealed", "gestureRegistered", "modes": [class names], "tabs": [titles],
//  "notifications": [rows shown], "backdrop": {"blurRadius", "colorTint", "colorTintAlpha"}}
nlohmann::json dumpNotificationCenter();

} // namespace sim
