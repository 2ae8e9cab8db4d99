#include "quartzcore/CABasicAnimation.h"

#include "foundation/Clock.h"
#include "foundation/NSLog.h"
#include "foundation/NSNumber.h"

#include <map>
#include <optional>
#include <string>

NSString *const kCAMediaTimingFunctionLinear = sim_constantString("linear");
NSString *const kCAMediaTimingFunctionEaseIn = sim_constantString("easeIn");
NSString *const kCAMediaTimingFunctionEaseOut = sim_constantString("easeOut");
NSString *const kCAMediaTimingFunctionEaseInEaseOut = sim_constantString("easeInEaseOut");
NSString *const kCAMediaTimingFunctionDefault = sim_constantString("default");

namespace {

Class g_timingFunctionClass;
Class g_basicAnimationClass;

const Class kRegistered = [] {
    g_timingFunctionClass =
        ClassBuilder<CAMediaTimingFunction>("CAMediaTimingFunction", "NSObject").registerClass();
    g_basicAnimationClass =
        ClassBuilder<CABasicAnimation>("CABasicAnimation", "NSObject").registerClass();
    return g_basicAnimationClass;
}();

std::optional<sim::AnimatedProperty> propertyAt(const std::string &keyPath)
{
    static const std::map<std::string, sim::AnimatedProperty> kProperties = {
        {"position", sim::AnimatedProperty::Position},
        {"bounds", sim::AnimatedProperty::Bounds},
        {"anchorPoint", sim::AnimatedProperty::AnchorPoint},
        {"zPosition", sim::AnimatedProperty::ZPosition},
        {"transform", sim::AnimatedProperty::Transform},
        {"sublayerTransform", sim::AnimatedProperty::SublayerTransform},
        {"opacity", sim::AnimatedProperty::Opacity},
        {"cornerRadius", sim::AnimatedProperty::CornerRadius},
    };
    auto found = kProperties.find(keyPath);
    if (found == kProperties.end())
        return std::nullopt;
    return found->second;
}

// A boxed value as the layer's animations hold it: NSValue as made, NSNumber as CGFloat.
// Nothing for nil or another kind of object.
std::optional<sim::AnimatedValue> unboxed(id value)
{
    if (value && msg<BOOL>(value, "isKindOfClass:"_sel, NSValue::class_()))
        return static_cast<NSValue *>(value)->m_value;
    if (value && msg<BOOL>(value, "isKindOfClass:"_sel, NSNumber::class_()))
        return CGFloat(static_cast<NSNumber *>(value)->doubleValue());
    return std::nullopt;
}

void tellStopped(const StrongRef<objc_object> &delegate, CABasicAnimation *animation, bool finished)
{
    if (delegate &&
        msg<BOOL, SEL>(delegate.get(), "respondsToSelector:"_sel, "animationDidStop:finished:"_sel))
        msg<void, id, BOOL>(delegate.get(), "animationDidStop:finished:"_sel, animation,
                            finished ? YES : NO);
}

} // namespace

CFTimeInterval CACurrentMediaTime()
{
    return sim::now();
}

Class CAMediaTimingFunction::class_()
{
    return g_timingFunctionClass;
}

CAMediaTimingFunction *CAMediaTimingFunction::functionWithName(NSString *name)
{
    static const std::map<std::string, sim::TimingCurve> kCurves = {
        {"linear", sim::TimingCurve::Linear},
        {"easeIn", sim::TimingCurve::EaseIn},
        {"easeOut", sim::TimingCurve::EaseOut},
        {"easeInEaseOut", sim::TimingCurve::EaseInEaseOut},
    };
    auto *function = sim::make<CAMediaTimingFunction>(g_timingFunctionClass);
    if (auto found = name ? kCurves.find(name->str()) : kCurves.end(); found != kCurves.end())
        function->m_curve = found->second;
    return function;
}

Class CABasicAnimation::class_()
{
    return g_basicAnimationClass;
}

CABasicAnimation *CABasicAnimation::animationWithKeyPath(NSString *keyPath)
{
    auto *animation = sim::make<CABasicAnimation>(g_basicAnimationClass);
    animation->m_keyPath = keyPath;
    return animation;
}

void CALayer::addAnimationForKey(CABasicAnimation *animation, NSString *key)
{
    if (!animation)
        return;
    // The values are read now; the delegate is told with the animation it was given.
    StrongRef<CABasicAnimation> added(animation);
    std::optional<sim::AnimatedProperty> property =
        propertyAt(animation->m_keyPath ? animation->m_keyPath->str() : "");
    std::optional<sim::AnimatedValue> from = unboxed(animation->m_fromValue);
    std::optional<sim::AnimatedValue> to = unboxed(animation->m_toValue);
    if (!property || !from || !to) {
        NSLog("CALayer: cannot animate \"%s\" with these values; not added",
              animation->m_keyPath ? animation->m_keyPath->UTF8String() : "");
        tellStopped(animation->m_delegate, animation, false);
        return;
    }
    sim::LayerAnimation running;
    running.property = *property;
    running.from = *from;
    running.to = *to;
    running.beginTime = animation->m_beginTime > 0 ? animation->m_beginTime : sim::now();
    running.duration = animation->m_duration;
    running.curve = animation->m_timingFunction ? animation->m_timingFunction->m_curve
                                                : sim::TimingCurve::Default;
    running.key = key ? key->str() : "";
    running.completion = [added, delegate = animation->m_delegate](bool finished) {
        tellStopped(delegate, added, finished);
    };
    addAnimation(std::move(running));
}

void CALayer::removeAnimationForKey(NSString *key)
{
    if (key)
        removeAnimationForKey(key->str());
}
