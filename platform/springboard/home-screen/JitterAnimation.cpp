#include "springboard/home-screen/JitterAnimation.h"

#include "foundation/Clock.h"
#include "springboard/HostClass.h"

#include <algorithm>
#include <map>

namespace {

// The keys each layer plays, with the serial of the pass in flight: a pass that ends after
// its key was removed or replaced starts no next one.
std::map<CALayer *, std::map<std::string, unsigned long>> &playing()
{
    static std::map<CALayer *, std::map<std::string, unsigned long>> keys;
    return keys;
}

// A pass holds its layer weakly: the layer keeps its animations, and a pass that finishes
// finds its layer alive (a layer's animation keeps it alive until it ends).
void playPass(CALayer *layer, StrongRef<CAKeyframeAnimation> animation, const std::string &key,
              std::size_t step, unsigned long serial)
{
    const auto &values = animation->m_values;
    double stepTime = animation->m_duration / double(values.size() - 1);
    sim::LayerAnimation pass;
    pass.property = animation->m_property;
    pass.from = values[step];
    pass.to = values[step + 1];
    if (animation->m_additive && pass.property == sim::AnimatedProperty::Position) {
        CGPoint place = layer->position();
        auto offset = [place](const sim::AnimatedValue &value) -> sim::AnimatedValue {
            CGPoint by = std::get<CGPoint>(value);
            return CGPoint{place.x + by.x, place.y + by.y};
        };
        pass.from = offset(pass.from);
        pass.to = offset(pass.to);
    }
    pass.beginTime = sim::now();
    pass.duration = stepTime;
    pass.curve = sim::TimingCurve::Linear;
    pass.key = key;
    pass.completion = [layer, animation, key, step, serial](bool finished) {
        auto found = playing().find(layer);
        if (!finished || found == playing().end() || found->second[key] != serial)
            return;
        std::size_t next = (step + 1) % (animation->m_values.size() - 1);
        playPass(layer, animation, key, next, serial);
    };
    layer->addAnimation(std::move(pass));
}

} // namespace

Class CAKeyframeAnimation::class_()
{
    return objc_getClass("CAKeyframeAnimation");
}

namespace sim {

CAKeyframeAnimation *keyframeAnimation(AnimatedProperty property, std::vector<AnimatedValue> values,
                                       double duration)
{
    auto *animation = make<CAKeyframeAnimation>(CAKeyframeAnimation::class_());
    animation->m_property = property;
    animation->m_values = std::move(values);
    animation->m_duration = duration;
    return animation;
}

void addKeyframeAnimation(CALayer *layer, CAKeyframeAnimation *animation, const std::string &key)
{
    if (!layer || !animation || animation->m_values.size() < 2)
        return;
    static unsigned long serials = 0;
    unsigned long serial = ++serials;
    playing()[layer][key] = serial;
    playPass(layer, StrongRef<CAKeyframeAnimation>(animation), key, 0, serial);
}

void removeKeyframeAnimation(CALayer *layer, const std::string &key)
{
    auto found = playing().find(layer);
    if (found == playing().end() || !found->second.erase(key))
        return;
    if (found->second.empty())
        playing().erase(found);
    layer->removeAnimationForKey(key);
}

std::vector<std::string> keyframeAnimationKeys(CALayer *layer)
{
    std::vector<std::string> keys;
    auto found = playing().find(layer);
    if (found != playing().end())
        for (const auto &entry : found->second)
            keys.push_back(entry.first);
    return keys;
}

void registerKeyframeAnimationClass()
{
    HostClass<CAKeyframeAnimation>("CAKeyframeAnimation", "NSObject").registerClass();
}

} // namespace sim
