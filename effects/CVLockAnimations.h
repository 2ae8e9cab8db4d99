#pragma once
// Lock animations: the short full-screen animations played when the device locks, before
// the backlight goes out. Each one covers the screen with an overlay window of its own,
// one level far above the status bar, so that nothing SpringBoard shows meanwhile gets
// in front of it.
//
// An animation is driven in four steps, each a message, so that CVLockAnimator runs any
// of them the same way: `prepare` builds the overlay in its start state; `animate` sets
// the end state inside a view animation block (so every change moves on the screen);
// `finish` follows when that animation has completed; `cleanup` takes the overlay off the
// screen. The base class does nothing in any step. `usesViewAnimation` answers YES when
// the animator is to drive the animation with a view animation; one that answers NO is
// given `animateWithDuration:` to animate its own way (all four below answer YES).
//
//   CVBlurLockAnimation       a blurred snapshot of the screen fades in over the screen
//   CVOldTVLockAnimation      two black halves close to a white line that shrinks to a dot
//   CVZoomOutLockAnimation    the snapshot shrinks to nothing over black
//   CVSlideAwayLockAnimation  the snapshot tips over backwards and slides into the distance
//
// The classes are registered when the library loads.

#include "uikit/UIImageView.h"
#include "uikit/UIWindow.h"

#include <iterator>

// The overlay's level: the status bar's plus 9001.
inline constexpr UIWindowLevel CVLockAnimationWindowLevel = UIWindowLevelStatusBar + 9001;

// The title of each "lockAnimationType" the user can choose, by value: 0 plays nothing,
// 1 … 4 the animations above in their order.
inline constexpr const char *CVLockAnimationTitles[] = {"None", "Blur", "Old TV", "Zoom Out",
                                                        "Slide Away"};
inline constexpr unsigned CVLockAnimationTypeCount = std::size(CVLockAnimationTitles);

struct CVLockAnimation : NSObject {
    static Class class_();
};

struct CVBlurLockAnimation : CVLockAnimation {
    StrongRef<UIWindow> m_window;
    StrongRef<UIImageView> m_snapshotView;

    static Class class_();
};

struct CVOldTVLockAnimation : CVLockAnimation {
    StrongRef<UIWindow> m_window;
    StrongRef<UIView> m_topView;
    StrongRef<UIView> m_bottomView;
    StrongRef<UIView> m_flashView;

    static Class class_();
};

struct CVZoomOutLockAnimation : CVLockAnimation {
    StrongRef<UIWindow> m_window;
    StrongRef<UIImageView> m_snapshotView;

    static Class class_();
};

struct CVSlideAwayLockAnimation : CVLockAnimation {
    StrongRef<UIWindow> m_window;
    StrongRef<UIImageView> m_snapshotView;

    static Class class_();
};
