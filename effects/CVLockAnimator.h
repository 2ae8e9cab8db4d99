#pragma once
// CVLockAnimator: the one animator of the process that plays a lock animation
// (CVLockAnimations.h) at a time.
//
// startLockAnimation:withDuration: with a CVLockAnimationType makes the animation, sends
// it `prepare`, and drives `animate` through a view animation of that duration on the
// ease-in curve; when that completes the animation hears `finish`. How the animation ends
// depends on the system generation:
//   - iOS 8 and 9 end it 0.3 seconds after the completion, on the main queue: `cleanup`,
//     and the animator is idle again. (The old TV's 0.1-second shrink fits in that wait.)
//   - iOS 7 keeps the overlay up until the display reports off: the shared animator,
//     made on iOS 7, watches "com.apple.iokit.hid.displayStatus" and stops the animation
//     when its state turns 0.
// stopLockAnimation ends the running animation at once. A start while one runs, a type
// outside 1 to 4 and a class that is not there start nothing.
//
// A delayed end belongs to the animation it was scheduled for: when that animation has
// already been stopped and another started, the delayed end leaves the new one running.
//
// Types 1 to 4 are CVBlurLockAnimation, CVOldTVLockAnimation, CVZoomOutLockAnimation and
// CVSlideAwayLockAnimation; 0 is none. Everything runs on the main thread.

#include "effects/CVLockAnimations.h"

using CVLockAnimationType = NSUInteger;

struct CVLockAnimator : NSObject {
    BOOL m_animating = NO;
    StrongRef<CVLockAnimation> m_animation;

    static Class class_();
    // +sharedInstance, made once.
    static CVLockAnimator *sharedInstance();
};
