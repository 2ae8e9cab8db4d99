#include "springboard/backlight/Backlight.h"

#include "darwin/notify.h"
#include "foundation/Clock.h"
#include "springboard/HostClass.h"
#include "springboard/SpringBoardState.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr const char *kDisplayStatus = "com.apple.iokit.hid.displayStatus";

using Self = SBBacklightController;

void setScreenOn(Self *self, bool on)
{
    if (self->m_screenOn == on)
        return;
    self->m_screenOn = on;
    int token = sim::springBoardState().displayStatusToken;
    if (token >= 0)
        notify_set_state(token, on ? 1 : 0);
    notify_post(kDisplayStatus);
}

// The end of a fade, or of a fade cut short by the next request: its completion runs.
void endFade(Self *self)
{
    if (self->m_fadeEnd)
        sim::RunLoop::main().removeSource(std::exchange(self->m_fadeEnd, 0));
    std::function<void()> completion = std::exchange(self->m_completion, nullptr);
    if (completion)
        completion();
}

void fadeDidEnd(Self *self)
{
    self->m_fadeEnd = 0;
    if (self->m_factor <= 0)
        setScreenOn(self, false);
    endFade(self);
}

namespace imp {

Self *sharedInstance(id, SEL)
{
    StrongRef<NSObject> &shared = sim::springBoardState().backlightController;
    if (!shared)
        shared = StrongRef<NSObject>::adopt(sim::create(Self::class_()));
    return static_cast<Self *>(shared.get());
}

// A fade towards light lights the screen at once; a fade to 0 darkens it at its end.
void animateBacklight(Self *self, SEL, float factor, double duration, int,
                      std::function<void()> completion)
{
    float from = self->presentedFactor();
    endFade(self);
    self->m_fromFactor = from;
    self->m_factor = std::isfinite(factor) ? std::clamp(factor, 0.0f, 1.0f) : 0.0f;
    self->m_fadeStart = sim::now();
    self->m_fadeDuration = std::isfinite(duration) ? std::max(duration, 0.0) : 0.0;
    self->m_completion = std::move(completion);
    if (self->m_factor > 0)
        setScreenOn(self, true);
    if (self->m_fadeDuration <= 0) {
        fadeDidEnd(self);
        return;
    }
    self->m_fadeEnd = sim::RunLoop::main().addTimer(self->m_fadeStart + self->m_fadeDuration, 0,
                                                    [self] { fadeDidEnd(self); });
}

BOOL screenIsOn(Self *self, SEL)
{
    return self->m_screenOn;
}

BOOL screenIsOff(Self *self, SEL)
{
    return !self->m_screenOn;
}

float backlightFactor(Self *self, SEL)
{
    return self->m_factor;
}

} // namespace imp

} // namespace

Class SBBacklightController::class_()
{
    return objc_getClass("SBBacklightController");
}

float SBBacklightController::presentedFactor() const
{
    double elapsed = sim::now() - m_fadeStart;
    if (m_fadeDuration <= 0 || elapsed >= m_fadeDuration)
        return m_factor;
    double progress = std::max(elapsed, 0.0) / m_fadeDuration;
    return static_cast<float>(m_fromFactor + (m_factor - m_fromFactor) * progress);
}

namespace sim {

void registerBacklightController()
{
    HostClass<SBBacklightController>("SBBacklightController", "NSObject")
        .classMethod("sharedInstance", imp::sharedInstance)
        .method("animateBacklightToFactor:duration:source:completion:", imp::animateBacklight)
        .method("backlightFactor", imp::backlightFactor)
        .method("screenIsOn", imp::screenIsOn)
        .onGenerations(iOS9)
        .method("screenIsOff", imp::screenIsOff)
        .onGenerations(iOS7 | iOS8)
        .registerClass();
}

} // namespace sim
