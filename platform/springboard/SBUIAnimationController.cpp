#include "springboard/SBUIAnimationController.h"

#include "foundation/NSData.h"
#include "springboard/HostClass.h"
#include "springboard/backlight/Backlight.h"
#include "uikit/UIView.h"

namespace {

namespace imp {

void beginAnimation(SBUIBaseAnimationController *self, SEL)
{
    self->m_animating = true;
    self->m_finished = false;
    msg<void>(self, "_startAnimation"_sel);
}

// A controller without an animation of its own is over at once.
void startNoAnimation(SBUIBaseAnimationController *self, SEL)
{
    msg<void>(self, "_noteAnimationDidFinish"_sel);
}

void noteAnimationDidFinish(SBUIBaseAnimationController *self, SEL)
{
    self->m_animating = false;
    self->m_finished = true;
    id uiController = msg<id>(objc_getClass("SBUIController"), "sharedInstance"_sel);
    msg<void, id>(uiController, "animationControllerDidFinishAnimation:"_sel, self);
}

NSTimeInterval animationDuration(SBUIAnimationController *, SEL)
{
    return sim::springBoardAnimationDuration(sim::kHomeScreenSettleDuration);
}

// The home screen settles: whatever moved or faded it comes back, over the duration; the
// end of the animation, finished or cut short, is the end of the controller's work.
void startHomeScreenAnimation(SBUIAnimationController *self, SEL)
{
    StrongRef<SBUIAnimationController> controller(self);
    msg<void, NSTimeInterval, std::function<void()>, std::function<void(BOOL)>>(
        UIView::class_(), "animateWithDuration:animations:completion:"_sel,
        msg<NSTimeInterval>(self, "animationDuration"_sel),
        [controller] {
            UIView *view = controller->m_view;
            msg<void, CGFloat>(view, "setAlpha:"_sel, 1);
            msg<void, CGAffineTransform>(view, "setTransform:"_sel, CGAffineTransformIdentity);
        },
        [controller](BOOL) { msg<void>(controller.get(), "_noteAnimationDidFinish"_sel); });
}

} // namespace imp

} // namespace

Class SBUIBaseAnimationController::class_()
{
    return objc_getClass("SBUIBaseAnimationController");
}

Class SBUIAnimationController::class_()
{
    return objc_getClass("SBUIAnimationController");
}

SBUIAnimationController *SBUIAnimationController::create(UIView *view)
{
    auto *controller = sim::create<SBUIAnimationController>(class_());
    controller->m_view = view;
    return controller;
}

namespace sim {

void registerAnimationControllerClasses()
{
    HostClass<SBUIBaseAnimationController>("SBUIBaseAnimationController", "NSObject")
        .method("beginAnimation", imp::beginAnimation)
        .method("_startAnimation", imp::startNoAnimation)
        .method("_noteAnimationDidFinish", imp::noteAnimationDidFinish)
        .getter<&SBUIBaseAnimationController::m_animating>("isAnimating")
        .getter<&SBUIBaseAnimationController::m_finished>("isComplete")
        .registerClass();
    HostClass<SBUIAnimationController>("SBUIAnimationController", "SBUIBaseAnimationController")
        .method("animationDuration", imp::animationDuration)
        .method("_startAnimation", imp::startHomeScreenAnimation)
        .registerClass();
}

} // namespace sim
