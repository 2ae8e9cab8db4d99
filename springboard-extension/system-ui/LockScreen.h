#pragma once
// The lock screen: the slider hidden, with a text of the user's or with the current time;
// the big time with seconds or a fixed text, the date line fixed or empty, their colour
// and font sizes; the camera, top and bottom grabbers hidden; and the now-playing artwork
// suppressed. Every replacement reads gCVLockScreen when SpringBoard calls it, so a
// changed option shows at the next layout or redraw of the lock screen; the section has
// no change callback.
//
// The custom time and date texts reach the date view through CVLockScreenDateFormatter
// (handed to the date view in place of SpringBoard's formatter on iOS 7 and 8) and
// through the replaced BSDateFormatterCache methods on iOS 9. One shared one-second
// timer (the slider timer) drives the slider clock and the seconds display; it stops at
// its first tick on which the lock screen is gone or the display is known to be off.

// Installs the group.
void LockScreenInit();
