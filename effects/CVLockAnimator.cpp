#include "effects/CVLockAnimator.h"

#include "darwin/notify.h"
#include "foundation/CoreFoundation.h"
#include "uikit/UIViewAnimationOptions.h"

#include <array>

namespace {

// The first Core Foundation version of iOS 8.
constexpr double kIOS8CoreFoundation = 1140.1;
constexpr std::int64_t kCleanupDelayNanoseconds = 300000000;

// The class of each CVLockAnimationType, looked up by name, so a missing class starts
// nothing; 0 is no animation.
constexpr std::array<const char *, 5> kAnimationClassNames = {
    nullptr, "CVBlurLockAnimation", "CVOldTVLockAnimation", "CVZoomOutLockAnimation",
    "CVSlideAwayLockAnimation"};

using Self = CVLockAnimator;

bool cleansUpAfterCompletion()
{
    return kCFCoreFoundationVersionNumber >= kIOS8CoreFoundation;
}

// iOS 7 keeps the overlay until the display has gone dark.
void stopWhenTheDisplayTurnsOff()
{
    static int token;
    notify_register_dispatch("com.apple.iokit.hid.displayStatus", &token, dispatch_get_main_queue(),
                             [](int registration) {
                                 uint64_t state = 1;
                                 notify_get_state(registration, &state);
                                 if (state == 0)
                                     msg<void>(Self::sharedInstance(), "stopLockAnimation"_sel);
                             });
}

// The end of an animation on iOS 8 and 9, unless the animator has moved on to another.
void endLater(Self *self, StrongRef<CVLockAnimation> animation)
{
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, kCleanupDelayNanoseconds),
                   dispatch_get_main_queue(), [self, animation] {
                       if (self->m_animation != animation)
                           return;
                       msg<void>(animation, "cleanup"_sel);
                       self->m_animating = NO;
                       self->m_animation = nullptr;
                   });
}

namespace imp {

CVLockAnimator *sharedInstance(id, SEL)
{
    return CVLockAnimator::sharedInstance();
}

BOOL isAnimating(Self *self, SEL)
{
    return self->m_animating;
}

void startLockAnimation(Self *self, SEL, CVLockAnimationType type, float duration)
{
    if (self->m_animating || type < 1 || type >= kAnimationClassNames.size())
        return;
    Class cls = objc_getClass(kAnimationClassNames[type]);
    if (!cls)
        return;
    self->m_animating = YES;
    self->m_animation = StrongRef<CVLockAnimation>::adopt(
        static_cast<CVLockAnimation *>(msg<id>(msg<id>(cls, "alloc"_sel), "init"_sel)));
    StrongRef<CVLockAnimation> animation = self->m_animation;
    msg<void>(animation, "prepare"_sel);
    if (!msg<BOOL>(animation, "usesViewAnimation"_sel)) {
        msg<void, float>(animation, "animateWithDuration:"_sel, duration);
        return;
    }
    std::function<void()> animations = [animation] { msg<void>(animation, "animate"_sel); };
    std::function<void(BOOL)> completion = [self, animation](BOOL) {
        msg<void>(animation, "finish"_sel);
        if (cleansUpAfterCompletion())
            endLater(self, animation);
    };
    msg<void, NSTimeInterval, NSTimeInterval, UIViewAnimationOptions, std::function<void()>,
        std::function<void(BOOL)>>(
        UIView::class_(), "animateWithDuration:delay:options:animations:completion:"_sel,
        NSTimeInterval(duration), 0.0, UIViewAnimationOptionCurveEaseIn, animations, completion);
}

void stopLockAnimation(Self *self, SEL)
{
    if (self->m_animating && self->m_animation) {
        msg<void>(self->m_animation, "cleanup"_sel);
        self->m_animation = nullptr;
    }
    self->m_animating = NO;
}

} // namespace imp

const Class kRegistered = CVLockAnimator::class_();

} // namespace

Class CVLockAnimator::class_()
{
    static const Class cls = [] {
        CVLockAnimation::class_();
        return ClassBuilder<CVLockAnimator>("CVLockAnimator", "NSObject")
            .ivar("_animating", &CVLockAnimator::m_animating)
            .ivar("_animation", &CVLockAnimator::m_animation)
            .classMethod("sharedInstance", imp::sharedInstance)
            .method("isAnimating", imp::isAnimating)
            .method("startLockAnimation:withDuration:", imp::startLockAnimation)
            .method("stopLockAnimation", imp::stopLockAnimation)
            .registerClass();
    }();
    return cls;
}

CVLockAnimator *CVLockAnimator::sharedInstance()
{
    static dispatch_once_t once;
    static CVLockAnimator *shared;
    dispatch_once(&once, [] {
        shared = static_cast<CVLockAnimator *>(msg<id>(msg<id>(class_(), "alloc"_sel), "init"_sel));
        if (!cleansUpAfterCompletion())
            stopWhenTheDisplayTurnsOff();
    });
    return shared;
}
