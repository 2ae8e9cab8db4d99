// The backlight hook that plays the lock animation before the screen goes dark.

#include "springboard-extension/animations/LockAnimation.h"

#include "effects/CVLockAnimator.h"
#include "foundation/CFRunLoop.h"
#include "foundation/NSData.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Installers.h"
#include "springboard-extension/frame/Replacement.h"

#include <cmath>
#include <functional>
#include <utility>

namespace {

// Below this factor the backlight is being turned off rather than dimmed.
constexpr float kScreenOffFactor = 0.005f;

using BacklightCompletion = std::function<void()>;
void (*orig_SBBacklightController_animateBacklightToFactor)(id, SEL, float, double, int,
                                                            BacklightCompletion);

bool screenIsOn(id backlightController)
{
    if (CVRunningSystemGeneration() == CVSystemGenerationIOS9)
        return msg<BOOL>(backlightController, "screenIsOn"_sel);
    return !msg<BOOL>(backlightController, "screenIsOff"_sel);
}

// Starts the chosen animation and lets the run loop play it for its duration. A duration
// that is no number plays nothing: the wait could not end.
void playLockAnimation(CVLockAnimator *animator)
{
    float duration = gCVAnimations.lockAnimationDuration;
    if (!std::isfinite(duration))
        return;
    msg<void, CVLockAnimationType, float>(animator, "startLockAnimation:withDuration:"_sel,
                                          gCVAnimations.lockAnimationType, duration);
    NSRunLoop::currentRunLoop()->runUntilDate(NSDate::dateWithTimeIntervalSinceNow(duration));
}

void SBBacklightController_animateBacklightToFactor(id self, SEL _cmd, float factor,
                                                    double duration, int source,
                                                    BacklightCompletion completion)
{
    auto *animator = msg<CVLockAnimator *>(CVLockAnimator::class_(), "sharedInstance"_sel);
    if (msg<BOOL>(animator, "isAnimating"_sel))
        return;
    if (factor < kScreenOffFactor && screenIsOn(self) && gCVAnimations.lockAnimationType != 0)
        playLockAnimation(animator);
    orig_SBBacklightController_animateBacklightToFactor(self, _cmd, factor, duration, source,
                                                        std::move(completion));
}

} // namespace

void LockAnimationInit()
{
    ReplaceMethod(objc_getClass("SBBacklightController"),
                  "animateBacklightToFactor:duration:source:completion:"_sel,
                  SBBacklightController_animateBacklightToFactor,
                  &orig_SBBacklightController_animateBacklightToFactor);
}
