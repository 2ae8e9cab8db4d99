#pragma once
// Notification Center: switched off (its pull-down gestures refuse to start, the bulletin
// window refuses the show-notifications gesture and the lock screen's top grabber is
// hidden; on iOS 9 the system gesture is withdrawn from the display), its "Today" and
// "Missed" views left out, the no-notifications text replaced, and its blurred
// backdrop's radius and tint.
//
// NotificationCenterInit installs the replacements; on iOS 9 it also sets the section's
// change callback once SpringBoard has launched and applies the settings then.

void NotificationCenterInit();

// iOS 9: withdraws or restores the Notification Center's system gesture by "disableNC".
void applyNotificationCenterSettings();
