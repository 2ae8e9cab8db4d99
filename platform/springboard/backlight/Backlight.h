#pragma once
// The display's backlight and the speed of SpringBoard's own animations.
//
// SBBacklightController (shared) owns the backlight: a factor from 0 (dark) to 1 (full).
// Every change goes through `animateBacklightToFactor:duration:source:completion:`, which
// fades the factor linearly over the duration on the process clock and then runs the
// completion. The screen counts as on while the factor is above 0 and from the moment a
// fade towards light begins; it is off once a fade to 0 has ended.
// "com.apple.iokit.hid.displayStatus" follows it (state 1 on, 0 off, posted at each
// change). iOS 9 asks `screenIsOn`, earlier generations `screenIsOff`.
//
// SpringBoard's own locking asks the controller by message (the lock button, the idle
// dim of the lock screen, waking), so that a replaced implementation really decides what
// happens, and a backlight request that the replacement drops changes nothing.
//
// Animation settings: SpringBoard's interface animations (the home button's settle,
// folders opening and closing, the iOS 9 backlight fade) take their duration from
// springBoardAnimationDuration: the stock duration, times `slowDownFactor` while
// `slowAnimations` answers YES, both asked by message of the generation's factory
// settings (SBAnimationFactorySettings on iOS 9, SBFAnimationFactorySettings before). On
// iOS 7 and 8 the backlight fades over `backlightFadeDuration` of SBFadeAnimationSettings.

#include "foundation/RunLoop.h"
#include "objc/ClassBuilder.h"
#include "quartzcore/CGGeometry.h"

#include <functional>

// Who asked for a backlight change (the phone's sources that SpringBoard uses here).
enum SBBacklightChangeSource : int {
    SBBacklightChangeSourceIdleTimer = 1,
    SBBacklightChangeSourceLockButton = 2,
    SBBacklightChangeSourceHomeButton = 3,
    SBBacklightChangeSourceUnlock = 4,
};

struct SBBacklightController : NSObject {
    // The fade under way, or the last one: from m_fromFactor at m_fadeStart to m_factor
    // after m_fadeDuration seconds.
    float m_fromFactor = 1;
    float m_factor = 1;
    double m_fadeStart = 0;
    double m_fadeDuration = 0;
    bool m_screenOn = true;
    sim::RunLoop::SourceId m_fadeEnd = 0;
    std::function<void()> m_completion;

    static Class class_();
    // The factor shown at this moment, part way through a fade.
    float presentedFactor() const;
};

struct SBAnimationFactorySettings : NSObject {
    static Class class_();
};

struct SBFadeAnimationSettings : NSObject {
    static Class class_();
};

namespace sim {

// Stock values, before the settings have a say.
inline constexpr double kBacklightFadeDuration = 0.5;
inline constexpr CGFloat kStockSlowDownFactor = 1;

// The backlight controller and the animation settings classes of the generation.
void registerBacklightClasses();

// The generation's animation factory settings (made at first use; nil without SpringBoard).
id animationFactorySettings();
// `stock` seconds as SpringBoard's animation settings make them.
double springBoardAnimationDuration(double stock);
// How long the backlight takes to fade out.
double backlightFadeDuration();

} // namespace sim
