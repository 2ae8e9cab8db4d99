#pragma once
// SpringBoard's windows, from the lowest level up: the wallpaper, the home screen, the
// lock screen and the status bar. Each window covers its part of the interface (the
// status bar its band across the top, the others all of it).
//
// From iOS 8 on the screen itself turns with the interface, so a window's frame is its
// part of the interface. On iOS 7 the screen stays upright: a window in landscape has its
// part of the (wider) interface as bounds and is turned a quarter about the screen's
// centre, as that generation's windows are.

#include "springboard/SpringBoardState.h"

namespace sim {

// Makes the windows and their contents for the present orientation, hidden.
void buildSpringBoardWindows(SpringBoardState &state);
// Fits every window to the interface orientation.
void placeSpringBoardWindows(SpringBoardState &state, long orientation);
// Shows the windows that the lock state wants on screen and makes the front one key.
void showSpringBoardWindows(SpringBoardState &state);

} // namespace sim
