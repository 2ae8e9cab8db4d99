#include "uikit/ViewAnimation.h"

#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "uikit/UIView.h"

#include <memory>

namespace sim {
namespace {

// What one animation block waits for before its completion runs.
struct CompletionGroup {
    int pending = 0;
    bool finished = true;
    bool blockRunning = true;
    CompletionBlock completion;
};

struct Scope {
    NSTimeInterval duration;
    NSTimeInterval delay;
    UIViewAnimationOptions options;
    std::shared_ptr<CompletionGroup> group;
    std::vector<StrongRef<UIView>> changedViews;
};

std::vector<Scope> g_scopes;
bool g_animationsEnabled = true;

void complete(const std::shared_ptr<CompletionGroup> &group, NSTimeInterval after)
{
    auto run = [group] {
        if (group->completion)
            group->completion(group->finished);
    };
    if (after > 0)
        RunLoop::main().addTimer(now() + after, 0, run);
    else
        RunLoop::main().perform(run);
}

TimingCurve curveOf(UIViewAnimationOptions options)
{
    switch (options & UIViewAnimationOptionCurveLinear) {
    case UIViewAnimationOptionCurveEaseIn:
        return TimingCurve::EaseIn;
    case UIViewAnimationOptionCurveEaseOut:
        return TimingCurve::EaseOut;
    case UIViewAnimationOptionCurveLinear:
        return TimingCurve::Linear;
    default:
        return TimingCurve::EaseInEaseOut;
    }
}

const char *keyOf(AnimatedProperty property)
{
    switch (property) {
    case AnimatedProperty::Position:
        return "position";
    case AnimatedProperty::Bounds:
        return "bounds";
    case AnimatedProperty::Transform:
        return "transform";
    case AnimatedProperty::Opacity:
        return "opacity";
    case AnimatedProperty::BackgroundColor:
        return "backgroundColor";
    default:
        return "other";
    }
}

bool isAnimating(CALayer *layer, const char *key)
{
    for (const CALayer::RunningAnimation &running : layer->m_animations)
        if (running.animation.key == key)
            return true;
    return false;
}

// What the screen shows of the property now: the running animation's value, or the
// model value from before the change when nothing animates it.
AnimatedValue presentedValue(CALayer *layer, AnimatedProperty property, const AnimatedValue &before)
{
    if (!isAnimating(layer, keyOf(property)))
        return before;
    PresentedLayer presented = layer->presented();
    switch (property) {
    case AnimatedProperty::Position:
        return presented.position;
    case AnimatedProperty::Bounds:
        return presented.bounds;
    case AnimatedProperty::Transform:
        return presented.transform;
    case AnimatedProperty::Opacity:
        return presented.opacity;
    case AnimatedProperty::BackgroundColor:
        return presented.backgroundColor;
    default:
        return before;
    }
}

// The layer tells the group when the animation ends. A replacement by the block that
// is still running is the block changing its mind, not an interruption.
std::function<void(bool)> reportTo(std::shared_ptr<CompletionGroup> group)
{
    ++group->pending;
    return [group](bool finished) {
        if (!finished && !group->blockRunning)
            group->finished = false;
        if (--group->pending == 0 && !group->blockRunning)
            complete(group, 0);
    };
}

} // namespace

void ViewAnimation::animate(NSTimeInterval duration, NSTimeInterval delay,
                            UIViewAnimationOptions options, const AnimationsBlock &animations,
                            CompletionBlock completion)
{
    auto group = std::make_shared<CompletionGroup>();
    group->completion = std::move(completion);
    g_scopes.push_back({duration, delay, options, group, {}});
    if (animations)
        animations();
    if (options & UIViewAnimationOptionLayoutSubviews) {
        std::vector<StrongRef<UIView>> changed = g_scopes.back().changedViews;
        for (UIView *view : changed)
            msg<void>(view, "layoutIfNeeded"_sel);
    }
    g_scopes.pop_back();
    group->blockRunning = false;
    if (group->pending == 0)
        complete(group, delay);
}

void ViewAnimation::recordChange(UIView *view, AnimatedProperty property,
                                 const AnimatedValue &before, const AnimatedValue &after)
{
    if (g_scopes.empty() || !g_animationsEnabled)
        return;
    Scope &scope = g_scopes.back();
    scope.changedViews.emplace_back(view);
    if (scope.duration <= 0)
        return;
    LayerAnimation animation;
    animation.property = property;
    animation.from = (scope.options & UIViewAnimationOptionBeginFromCurrentState)
                         ? presentedValue(view->layer(), property, before)
                         : before;
    animation.to = after;
    animation.beginTime = now() + scope.delay;
    animation.duration = scope.duration;
    animation.curve = curveOf(scope.options);
    animation.key = keyOf(property);
    animation.completion = reportTo(scope.group);
    view->layer()->addAnimation(std::move(animation));
}

void ViewAnimation::setAnimationsEnabled(bool enabled)
{
    g_animationsEnabled = enabled;
}

bool ViewAnimation::areAnimationsEnabled()
{
    return g_animationsEnabled;
}

void ViewAnimation::performWithoutAnimation(const AnimationsBlock &actions)
{
    bool wasEnabled = g_animationsEnabled;
    g_animationsEnabled = false;
    if (actions)
        actions();
    g_animationsEnabled = wasEnabled;
}

} // namespace sim
