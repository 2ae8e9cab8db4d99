#pragma once
// Interface animations. An animation controller runs one of SpringBoard's interface
// animations on the process clock: beginAnimation starts it (`_startAnimation`, which each
// kind of controller implements), and when it is over the controller sends itself
// `_noteAnimationDidFinish`, which marks it finished and tells the UI controller. That
// last step belongs to the base class, SBUIBaseAnimationController, and is inherited by
// the controllers SpringBoard runs, SBUIAnimationController among them.
//
// SBUIAnimationController is the home screen's own animation: the home screen settling
// into place (fully opaque, untransformed) after a press of the home button.

#include "objc/ClassBuilder.h"

struct UIView;

struct SBUIBaseAnimationController : NSObject {
    StrongRef<UIView> m_view; // what the animation moves
    bool m_animating = false;
    bool m_finished = false;

    static Class class_();
};

struct SBUIAnimationController : SBUIBaseAnimationController {
    static Class class_();
    // A controller animating `view`; the caller owns it.
    static SBUIAnimationController *create(UIView *view);
};

namespace sim {
inline constexpr double kHomeScreenSettleDuration = 0.4;
void registerAnimationControllerClasses();
} // namespace sim
