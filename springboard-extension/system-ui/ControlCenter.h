#pragma once
// Control Center: whole sections hidden (a hidden section answers the size zero, which
// takes it off the panel with its separator), separators removed, the blurred backdrop's
// radius and tint, the toggles' colours per state (through SpringBoard's colour function,
// the one plain function the extension replaces), and on iOS 9 the whole center switched
// off by withdrawing its edge gesture from the display.
//
// ControlCenterInit sets the section's change callback, installs the replacements, on
// iOS 9 applies the settings once SpringBoard has launched, and hooks the colour function.

#include "objc/objc.h"

void ControlCenterInit();

// Refreshes the toggles' colours and, on iOS 9, withdraws or restores the edge gesture
// by "disableCC". The CVControlCenter section's change callback.
void applyControlCenterSettings();

// Shows or hides the AirDrop/AirPlay buttons and their separator line as the settings
// say (only where SpringBoard builds no button modules).
void airStuffVisibility(id sectionController);
