#pragma once
// The status bar: hidden items, a carrier text of the user's, and a time item that shows
// a fixed text, the Wi-Fi address or network name, lowercase AM/PM symbols or the time
// with seconds. SpringBoard's status bar state aggregator composes the bar; the group
// replaces the aggregator's methods that write the carrier text, build the time
// formatter, run the time item's timer and turn items on, and reads gCVStatusBar each
// time one is called.
//
// StatusBarInit installs the group and makes applyStatusBarSettings the status bar
// section's change callback, so a live update re-runs the aggregator with the new
// settings at once. The seconds display is driven by a one-second timer targeting the
// aggregator's added `corvaneTimerCallback:`, which stops itself at its first tick after
// seconds are switched off.

void StatusBarInit();

// Pushes the current settings into the live status bar: resets the time formatter and
// its timer, sets the carrier, the AM/PM case, and updates all 25 items.
void applyStatusBarSettings();
