#pragma once
// The lock animation at screen-off. When SpringBoard asks its backlight controller to go
// dark (a factor below 0.005) while the screen is on and a lock animation is chosen, the
// animation ("lockAnimationType", over "lockAnimationDuration" seconds) starts first and
// the backlight call waits for it in a nested run of the run loop, so the animation plays
// on screen before the backlight changes. Backlight requests that arrive while a lock
// animation runs, including those made from inside that wait, are dropped.

void LockAnimationInit();
