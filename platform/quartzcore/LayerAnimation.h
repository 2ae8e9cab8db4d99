#pragma once
// Animations of layer properties. A layer keeps model values, the ones its setters store
// and its getters answer; an animation added to the layer (CALayer::addAnimation) changes
// only what is presented: at a moment t of the process clock (sim::now()) the presented
// value of its property is the from value, moved towards the to value by the timing
// curve's share of the elapsed fraction (t − beginTime) / duration. Before its begin time
// an animation presents its from value, as UIKit's delayed animations show their start;
// when several animations of one layer touch the same property, the one added last wins.
//
// An animation ends by itself at beginTime + duration, through a timer on the main run
// loop (so a virtual clock fires it too): it is removed and its completion called with
// true. An animation removed before its end (removeAllAnimations, removeAnimationForKey,
// or replaced by a new animation with the same key) calls its completion with false.
// Until it ends the animation keeps its layer alive, as the platform's render tree does.
//
// Interpolation is component by component: points, rectangles and colour components
// linearly, and transforms element-wise over their sixteen entries. Element-wise
// interpolation is exact for translations, scales and perspective terms; a rotation
// passes through a slightly shrunken matrix half-way, which the stand-in accepts.

#include "quartzcore/CATransform3D.h"
#include "quartzcore/CGColor.h"

#include <functional>
#include <string>
#include <variant>

namespace sim {

enum class AnimatedProperty {
    Position,
    Bounds,
    AnchorPoint,
    ZPosition,
    Transform,
    SublayerTransform,
    Opacity,
    BackgroundColor,
    CornerRadius,
};

// A colour as plain components (device RGB, not premultiplied), so animating it allocates
// nothing.
struct ColorValue {
    CGFloat red = 0, green = 0, blue = 0, alpha = 0;

    // Transparent black for nil.
    static ColorValue of(CGColorRef color);
};

// CGFloat for zPosition, opacity and cornerRadius; CGPoint for position and anchorPoint;
// CGRect for bounds; CATransform3D for the two transforms; ColorValue for the colour.
using AnimatedValue = std::variant<CGFloat, CGPoint, CGRect, CATransform3D, ColorValue>;

// The platform's named timing functions, as cubic Bézier curves from (0, 0) to (1, 1):
// linear; ease-in (0.42, 0) (1, 1); ease-out (0, 0) (0.58, 1); ease-in-ease-out
// (0.42, 0) (0.58, 1); and the default (0.25, 0.1) (0.25, 1).
enum class TimingCurve { Linear, EaseIn, EaseOut, EaseInEaseOut, Default };

// The curve's progress for an elapsed fraction (clamped to 0…1).
double timingCurveProgress(TimingCurve curve, double fraction);

struct LayerAnimation {
    AnimatedProperty property = AnimatedProperty::Opacity;
    // Both must hold the property's type (above); an animation whose values do not is
    // refused with a logged error and its completion called with false.
    AnimatedValue from;
    AnimatedValue to;
    double beginTime = 0; // process clock seconds
    double duration = 0;  // seconds; 0 or less ends at the next turn of the run loop
    TimingCurve curve = TimingCurve::Default;
    // Optional: a new animation with the same key on the same layer replaces this one.
    std::string key;
    std::function<void(bool finished)> completion;
};

// The value between from and to at `progress` (0: from, 1: to). Both values must hold
// the same alternative.
AnimatedValue interpolate(const AnimatedValue &from, const AnimatedValue &to, double progress);

} // namespace sim
