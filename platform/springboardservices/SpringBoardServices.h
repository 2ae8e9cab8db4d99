#pragma once
// What SpringBoard tells other processes about the installed applications, answered from
// the device profile (foundation/DeviceProfile.h): their display identifiers, their
// names and their icons. Every result is owned by the caller, who releases it; an
// identifier that no installed application has gives NULL.
//
// The profile does not carry icon artwork, so an application's icon is the one the home
// screen draws for it (springboard/Artwork.h): a rounded square in a colour taken from
// its identifier with the initial of its name, 60 points at the screen's scale, as PNG.

#include "foundation/CoreFoundation.h"

extern "C" {

// The identifiers of the installed applications in the profile's order; with
// `onlyActive`, only those running. `debuggable` is not simulated and changes nothing.
CFArrayRef SBSCopyApplicationDisplayIdentifiers(bool onlyActive, bool debuggable);
CFStringRef SBSCopyLocalizedApplicationNameForDisplayIdentifier(CFStringRef identifier);
CFDataRef SBSCopyIconImagePNGDataForDisplayIdentifier(CFStringRef identifier);
}
