#pragma once
// The entry points through which the device works Control Center, on the main thread.

#include <nlohmann/json_fwd.hpp>

#include <vector>

struct SBCCButtonLikeSectionView;

namespace sim {

// Makes the shared controller and hands its edge gesture to the display (on iOS 9 to
// FBSystemGestureManager); at SpringBoard's start. disposeControlCenter undoes it.
void buildControlCenter();
void disposeControlCenter();

// A finger swipes up from the bottom edge all the way; true when Control Center is open
// afterwards (false when its gesture did not start: withdrawn or refused).
bool openControlCenter();
// Closes it (as a tap outside the panel does); false when it was not open.
bool closeControlCenter();
// Shows the panel with that fraction of its height risen, as a finger holding it there.
void revealControlCenter(double fraction);

// Every toggle of the panel, top to bottom and left to right: the settings section's
// (airplane mode, Wi-Fi, Bluetooth, do not disturb, rotation lock), AirDrop and
// AirPlay, the quick launch buttons.
std::vector<SBCCButtonLikeSectionView *> controlCenterToggles();
// A finger on the index-th toggle: it shows highlighted while held (every other toggle
// normal again) until the next tap-toggle or the panel closes. False for an index that
// is not there or a toggle that is hidden, or while Control Center is closed.
bool tapControlCenterToggle(int index);

// {"open", "revealed", "gestureRegistered", "sections": [{"name", "size", "shown"}],
//  "separators": [shown…], "backdrop": {"blurRadius", "colorTint", "colorTintAlpha"},
//  "toggles": [{"controlState", "hidden", "color"}]}
nlohmann::json dumpControlCenter();

} // namespace sim
