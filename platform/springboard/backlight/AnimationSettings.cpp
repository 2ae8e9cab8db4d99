#include "springboard/backlight/Backlight.h"

#include "springboard/HostClass.h"
#include "springboard/SpringBoardState.h"

#include <cmath>

namespace {

// The generation's settings object of that kind, made at its first use; nil when the
// generation has no such class.
id settingsObject(StrongRef<NSObject> &slot, const char *className)
{
    Class cls = objc_getClass(className);
    if (!slot && cls)
        slot = StrongRef<NSObject>::adopt(sim::create(cls));
    return slot;
}

} // namespace

id sim::animationFactorySettings()
{
    const char *name = sim::currentGeneration() == sim::iOS9 ? "SBAnimationFactorySettings"
                                                             : "SBFAnimationFactorySettings";
    return settingsObject(sim::springBoardState().animationFactorySettings, name);
}

namespace {

id fadeSettings()
{
    return settingsObject(sim::springBoardState().fadeAnimationSettings, "SBFadeAnimationSettings");
}

namespace imp {

BOOL slowAnimations(SBAnimationFactorySettings *, SEL)
{
    return NO;
}

CGFloat slowDownFactor(SBAnimationFactorySettings *, SEL)
{
    return sim::kStockSlowDownFactor;
}

double backlightFadeDuration(SBFadeAnimationSettings *, SEL)
{
    return sim::kBacklightFadeDuration;
}

} // namespace imp

} // namespace

Class SBAnimationFactorySettings::class_()
{
    return objc_getClass(sim::currentGeneration() == sim::iOS9 ? "SBAnimationFactorySettings"
                                                               : "SBFAnimationFactorySettings");
}

Class SBFadeAnimationSettings::class_()
{
    return objc_getClass("SBFadeAnimationSettings");
}

namespace sim {

void registerBacklightController();

void registerBacklightClasses()
{
    registerBacklightController();
    // The same settings under the name each generation gives them.
    HostClass<SBAnimationFactorySettings>("SBAnimationFactorySettings", "NSObject")
        .onGenerations(iOS9)
        .method("slowAnimations", imp::slowAnimations)
        .method("slowDownFactor", imp::slowDownFactor)
        .registerClass();
    HostClass<SBAnimationFactorySettings>("SBFAnimationFactorySettings", "NSObject")
        .onGenerations(iOS7 | iOS8)
        .method("slowAnimations", imp::slowAnimations)
        .method("slowDownFactor", imp::slowDownFactor)
        .registerClass();
    HostClass<SBFadeAnimationSettings>("SBFadeAnimationSettings", "NSObject")
        .onGenerations(iOS7 | iOS8)
        .method("backlightFadeDuration", imp::backlightFadeDuration)
        .registerClass();
}

// A factor that is no number, or below zero, leaves the stock duration.
double springBoardAnimationDuration(double stock)
{
    id settings = animationFactorySettings();
    if (!msg<BOOL>(settings, "slowAnimations"_sel))
        return stock;
    CGFloat factor = msg<CGFloat>(settings, "slowDownFactor"_sel);
    return std::isfinite(factor) && factor >= 0 ? stock * factor : stock;
}

double backlightFadeDuration()
{
    if (currentGeneration() == iOS9)
        return springBoardAnimationDuration(kBacklightFadeDuration);
    return msg<double>(fadeSettings(), "backlightFadeDuration"_sel);
}

} // namespace sim
