#pragma once
// What the lock screen asks of the rest of SpringBoard: whether it is showing
// (`lockScreenIsShowing` of the shared SBUserAgent) and its plug-ins
// (SBLockScreenPluginController, which enables a plug-in bundle by name; the bundle
// "NowPlayingArtLockScreen" shows the playing song's artwork on the lock screen). iOS 7
// enables bundles with `enableLockScreenBundleWithName:activationContext:`, iOS 8 and 9
// with `enableLockScreenBundleWithName:activationContext:auxiliaryActivationAnimationBlock:`.
//
// The device tool starts and stops the music (LockScreenHost::setMusicPlaying): the song
// is the device profile's, and while the lock screen shows, starting it enables the
// artwork plug-in and stopping it takes the artwork away.

#include "objc/NSObject.h"

#include <string>

namespace sim {

void registerLockScreenServiceClasses();
// Enables the artwork plug-in when a song plays; called as the lock screen appears.
void showNowPlayingArtworkIfPlaying();
// Takes the artwork away; called as the lock screen disappears.
void hideNowPlayingArtwork();

namespace LockScreenHost {
// Starts playing `title` (nothing: stops the music).
void setMusicPlaying(const std::string *title);
} // namespace LockScreenHost

} // namespace sim
