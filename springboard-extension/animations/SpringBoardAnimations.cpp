// The animation settings hooks: iOS 9's SBAnimationFactorySettings, or before it
// SBFadeAnimationSettings and SBFAnimationFactorySettings.

#include "springboard-extension/animations/SpringBoardAnimations.h"

#include "objc/runtime.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Installers.h"
#include "springboard-extension/frame/Replacement.h"

namespace {

BOOL (*orig_AnimationFactorySettings_slowAnimations)(id, SEL);
CGFloat (*orig_AnimationFactorySettings_slowDownFactor)(id, SEL);
double (*orig_SBFadeAnimationSettings_backlightFadeDuration)(id, SEL);

BOOL AnimationFactorySettings_slowAnimations(id self, SEL _cmd)
{
    if (!gCVAnimations.customSpeed)
        return orig_AnimationFactorySettings_slowAnimations(self, _cmd);
    return gCVAnimations.animationSpeed > 1.0;
}

CGFloat AnimationFactorySettings_slowDownFactor(id self, SEL _cmd)
{
    if (!gCVAnimations.customSpeed)
        return orig_AnimationFactorySettings_slowDownFactor(self, _cmd);
    return gCVAnimations.animationSpeed;
}

double SBFadeAnimationSettings_backlightFadeDuration(id self, SEL _cmd)
{
    double duration = orig_SBFadeAnimationSettings_backlightFadeDuration(self, _cmd);
    return gCVAnimations.customSpeed ? duration * gCVAnimations.animationSpeed : duration;
}

void replaceFactorySettings(Class settings)
{
    ReplaceMethod(settings, "slowAnimations"_sel, AnimationFactorySettings_slowAnimations,
                  &orig_AnimationFactorySettings_slowAnimations);
    ReplaceMethod(settings, "slowDownFactor"_sel, AnimationFactorySettings_slowDownFactor,
                  &orig_AnimationFactorySettings_slowDownFactor);
}

} // namespace

void SpringBoardAnimationsInit()
{
    if (CVRunningSystemGeneration() == CVSystemGenerationIOS9) {
        replaceFactorySettings(objc_getClass("SBAnimationFactorySettings"));
        return;
    }
    ReplaceMethod(objc_getClass("SBFadeAnimationSettings"), "backlightFadeDuration"_sel,
                  SBFadeAnimationSettings_backlightFadeDuration,
                  &orig_SBFadeAnimationSettings_backlightFadeDuration);
    replaceFactorySettings(objc_getClass("SBFAnimationFactorySettings"));
}
