// Timing curves, interpolation, and the animations a layer runs.

#include "quartzcore/CALayer.h"

#include "foundation/Clock.h"
#include "foundation/NSLog.h"
#include "foundation/RunLoop.h"

#include <algorithm>
#include <cmath>

namespace sim {

ColorValue ColorValue::of(CGColorRef color)
{
    const CGFloat *c = CGColorGetComponents(color);
    return c ? ColorValue{c[0], c[1], c[2], c[3]} : ColorValue{};
}

namespace {

struct Bezier {
    double x1, y1, x2, y2;
};

Bezier controlPoints(TimingCurve curve)
{
    switch (curve) {
    case TimingCurve::Linear:
        return {0, 0, 1, 1};
    case TimingCurve::EaseIn:
        return {0.42, 0, 1, 1};
    case TimingCurve::EaseOut:
        return {0, 0, 0.58, 1};
    case TimingCurve::EaseInEaseOut:
        return {0.42, 0, 0.58, 1};
    case TimingCurve::Default:
        break;
    }
    return {0.25, 0.1, 0.25, 1};
}

// One coordinate of the cubic Bézier from 0 to 1 with inner control values a and b.
double bezierCoordinate(double a, double b, double t)
{
    double u = 1 - t;
    return 3 * u * u * t * a + 3 * u * t * t * b + t * t * t;
}

// The parameter t at which the curve's x reaches `x`. x(t) rises monotonically for
// control x values within 0…1, so bisection always converges; 40 halvings leave an error
// far below what any frame can show.
double parameterForX(const Bezier &curve, double x)
{
    double low = 0, high = 1;
    for (int i = 0; i < 40; ++i) {
        double middle = (low + high) / 2;
        (bezierCoordinate(curve.x1, curve.x2, middle) < x ? low : high) = middle;
    }
    return (low + high) / 2;
}

template <class T> T lerp(const T &a, const T &b, double p);

template <> CGFloat lerp(const CGFloat &a, const CGFloat &b, double p)
{
    return a + (b - a) * p;
}

template <> CGPoint lerp(const CGPoint &a, const CGPoint &b, double p)
{
    return {lerp(a.x, b.x, p), lerp(a.y, b.y, p)};
}

template <> CGRect lerp(const CGRect &a, const CGRect &b, double p)
{
    return {lerp(a.origin, b.origin, p),
            {lerp(a.size.width, b.size.width, p), lerp(a.size.height, b.size.height, p)}};
}

template <> CATransform3D lerp(const CATransform3D &a, const CATransform3D &b, double p)
{
    CATransform3D result;
    const CGFloat *from = &a.m11, *to = &b.m11;
    CGFloat *out = &result.m11;
    for (int i = 0; i < 16; ++i)
        out[i] = lerp(from[i], to[i], p);
    return result;
}

template <> ColorValue lerp(const ColorValue &a, const ColorValue &b, double p)
{
    return {lerp(a.red, b.red, p), lerp(a.green, b.green, p), lerp(a.blue, b.blue, p),
            lerp(a.alpha, b.alpha, p)};
}

// The alternative of AnimatedValue that each property takes.
std::size_t valueIndexFor(AnimatedProperty property)
{
    switch (property) {
    case AnimatedProperty::Position:
    case AnimatedProperty::AnchorPoint:
        return 1;
    case AnimatedProperty::Bounds:
        return 2;
    case AnimatedProperty::Transform:
    case AnimatedProperty::SublayerTransform:
        return 3;
    case AnimatedProperty::BackgroundColor:
        return 4;
    case AnimatedProperty::ZPosition:
    case AnimatedProperty::Opacity:
    case AnimatedProperty::CornerRadius:
        break;
    }
    return 0;
}

void applyValue(PresentedLayer &layer, AnimatedProperty property, const AnimatedValue &value)
{
    switch (property) {
    case AnimatedProperty::Position:
        layer.position = std::get<CGPoint>(value);
        break;
    case AnimatedProperty::AnchorPoint:
        layer.anchorPoint = std::get<CGPoint>(value);
        break;
    case AnimatedProperty::Bounds:
        layer.bounds = std::get<CGRect>(value);
        break;
    case AnimatedProperty::Transform:
        layer.transform = std::get<CATransform3D>(value);
        break;
    case AnimatedProperty::SublayerTransform:
        layer.sublayerTransform = std::get<CATransform3D>(value);
        break;
    case AnimatedProperty::BackgroundColor:
        layer.backgroundColor = std::get<ColorValue>(value);
        break;
    case AnimatedProperty::ZPosition:
        layer.zPosition = std::get<CGFloat>(value);
        break;
    case AnimatedProperty::Opacity:
        layer.opacity = std::clamp<CGFloat>(std::get<CGFloat>(value), 0, 1);
        break;
    case AnimatedProperty::CornerRadius:
        layer.cornerRadius = std::max<CGFloat>(std::get<CGFloat>(value), 0);
        break;
    }
}

double progressAt(const LayerAnimation &animation, double time)
{
    if (time < animation.beginTime)
        return 0;
    if (!(animation.duration > 0))
        return 1;
    double fraction = (time - animation.beginTime) / animation.duration;
    return timingCurveProgress(animation.curve, fraction);
}

std::uint64_t g_nextSerial = 1;

} // namespace

double timingCurveProgress(TimingCurve curve, double fraction)
{
    fraction = std::isnan(fraction) ? 0 : std::clamp(fraction, 0.0, 1.0);
    if (curve == TimingCurve::Linear)
        return fraction;
    Bezier bezier = controlPoints(curve);
    return bezierCoordinate(bezier.y1, bezier.y2, parameterForX(bezier, fraction));
}

AnimatedValue interpolate(const AnimatedValue &from, const AnimatedValue &to, double progress)
{
    return std::visit(
        [&](const auto &start) -> AnimatedValue {
            using T = std::decay_t<decltype(start)>;
            const T *end = std::get_if<T>(&to);
            return end ? lerp(start, *end, progress) : start;
        },
        from);
}

} // namespace sim

sim::PresentedLayer CALayer::model() const
{
    return {m_bounds,      m_position,
            m_anchorPoint, m_zPosition,
            m_transform,   m_sublayerTransform,
            m_opacity,     sim::ColorValue::of(m_backgroundColor.get()),
            m_cornerRadius};
}

sim::PresentedLayer CALayer::presentedAt(double time) const
{
    sim::PresentedLayer layer = model();
    for (const RunningAnimation &running : m_animations) {
        const sim::LayerAnimation &a = running.animation;
        double progress = sim::progressAt(a, time);
        sim::applyValue(layer, a.property, sim::interpolate(a.from, a.to, progress));
    }
    return layer;
}

sim::PresentedLayer CALayer::presented() const
{
    return presentedAt(sim::now());
}

void CALayer::addAnimation(sim::LayerAnimation animation)
{
    std::size_t expected = sim::valueIndexFor(animation.property);
    if (animation.from.index() != expected || animation.to.index() != expected) {
        NSLog("CALayer: an animation's values do not fit its property; not added");
        if (animation.completion)
            animation.completion(false);
        return;
    }
    if (!animation.key.empty())
        removeAnimationForKey(animation.key);
    std::uint64_t serial = sim::g_nextSerial++;
    double endTime = animation.beginTime + std::max(animation.duration, 0.0);
    StrongRef<CALayer> self(this);
    auto timer = sim::RunLoop::main().addTimer(endTime, 0, [self, serial] {
        auto &running = self->m_animations;
        auto found =
            std::find_if(running.begin(), running.end(),
                         [serial](const RunningAnimation &r) { return r.serial == serial; });
        if (found == running.end())
            return;
        auto completion = std::move(found->animation.completion);
        running.erase(found);
        if (completion)
            completion(true);
    });
    m_animations.push_back({std::move(animation), serial, timer});
}

namespace {

// Takes the animations that `matches` picks off the layer, stops their timers, and
// calls their completions with false once the layer's list is consistent again.
template <class Predicate> void cancelAnimations(CALayer *layer, Predicate matches)
{
    // The timers hold the layer; stopping them may drop its last other reference.
    StrongRef<CALayer> keep(layer);
    std::vector<CALayer::RunningAnimation> cancelled;
    auto &running = layer->m_animations;
    for (auto it = running.begin(); it != running.end();) {
        if (matches(*it)) {
            cancelled.push_back(std::move(*it));
            it = running.erase(it);
        } else {
            ++it;
        }
    }
    for (auto &animation : cancelled)
        sim::RunLoop::main().removeSource(animation.timer);
    for (auto &animation : cancelled)
        if (animation.animation.completion)
            animation.animation.completion(false);
}

} // namespace

void CALayer::removeAnimationForKey(const std::string &key)
{
    cancelAnimations(this, [&key](const RunningAnimation &r) { return r.animation.key == key; });
}

void CALayer::removeAllAnimations()
{
    cancelAnimations(this, [](const RunningAnimation &) { return true; });
}
