#pragma once
// View animation blocks. +animateWithDuration:delay:options:animations:completion: runs
// its animations block at once, inside an animation scope. Each animatable setter a view
// runs inside the scope stores its new model value as usual and then reports the change
// here; the scope turns it into a layer animation (LayerAnimation.h) from the value before
// to the new one, on the process clock, starting after the delay. So getters answer the
// new values at once while the screen shows them moving.
//
// The completion block runs on the main run loop once every animation of its block has
// ended, with finished true when all of them ran to their end and false when any was
// interrupted: removed from the layer, or replaced by a later animation of the same
// property of the same view. (Changes that the block itself makes twice are not an
// interruption.) A later animation starts from the value the earlier one was heading
// to, unless it asks UIViewAnimationOptionBeginFromCurrentState, which starts it from the
// value presented at that moment. A block that animates nothing, a duration of 0 and
// animations switched off all complete on the next turn of the run loop (after the delay)
// with true.
//
// Scopes nest: a block inside a block animates its own changes with its own parameters.
// All of this belongs to the main thread, as UIKit does.

#include "foundation/NSData.h"
#include "quartzcore/LayerAnimation.h"
#include "uikit/UIViewAnimationOptions.h"

#include <functional>

struct UIView;

namespace sim {

using AnimationsBlock = std::function<void()>;
using CompletionBlock = std::function<void(BOOL finished)>;

class ViewAnimation {
public:
    static void animate(NSTimeInterval duration, NSTimeInterval delay,
                        UIViewAnimationOptions options, const AnimationsBlock &animations,
                        CompletionBlock completion);

    // Reported by the animatable setters after they stored `after`; does nothing outside
    // an animation scope or while animations are off.
    static void recordChange(UIView *view, AnimatedProperty property, const AnimatedValue &before,
                             const AnimatedValue &after);

    static void setAnimationsEnabled(bool enabled);
    static bool areAnimationsEnabled();
    static void performWithoutAnimation(const AnimationsBlock &actions);
};

} // namespace sim
