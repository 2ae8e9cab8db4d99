#pragma once
// The wiggle of icons in editing mode. SpringBoard's icon view class makes two keyframe
// animations (`+_jitterPositionAnimation`, `+_jitterTransformAnimation`) and adds each to
// the icon's layer under its key while the icon jitters; a class method that answers nil
// leaves that part of the wiggle out. QuartzCore's stand-in animates layers with plain
// descriptions (LayerAnimation.h), so the keyframe animation object lives here: it holds
// its property, its values and the time of one pass, and plays the passes one after the
// other until its key is removed from the layer.

#include "quartzcore/CALayer.h"

#include <vector>

struct CAKeyframeAnimation : NSObject {
    sim::AnimatedProperty m_property = sim::AnimatedProperty::Position;
    std::vector<sim::AnimatedValue> m_values;
    double m_duration = 0; // one pass through every value
    // Point values are offsets from the layer's own position at each pass.
    bool m_additive = false;

    static Class class_();
};

namespace sim {

// Autoreleased.
CAKeyframeAnimation *keyframeAnimation(AnimatedProperty property, std::vector<AnimatedValue> values,
                                       double duration);

// Plays the animation on the layer under `key`, pass after pass, until the key is removed;
// a nil animation adds nothing. The keys of the layer's keyframe animations are kept on
// the layer (keyframeAnimationKeys) so that the dump can show them.
void addKeyframeAnimation(CALayer *layer, CAKeyframeAnimation *animation, const std::string &key);
void removeKeyframeAnimation(CALayer *layer, const std::string &key);
std::vector<std::string> keyframeAnimationKeys(CALayer *layer);

void registerKeyframeAnimationClass();

} // namespace sim
