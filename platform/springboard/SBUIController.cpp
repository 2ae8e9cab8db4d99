#include "springboard/SBUIController.h"

#include "springboard/HostClass.h"
#include "springboard/SBIconController.h"
#include "springboard/SpringBoardState.h"
#include "springboard/backlight/Backlight.h"
#include "springboard/backlight/BacklightHost.h"
#include "springboard/switcher/SwitcherHost.h"

namespace {

// What a press of the home button does on the home screen: the first of these that applies.
void returnHomeScreen(SBIconController *icons)
{
    if (msg<BOOL>(icons, "hasOpenFolder"_sel))
        msg<void, BOOL>(icons, "closeFolderAnimated:"_sel, YES);
    else if (msg<BOOL>(icons, "isEditing"_sel))
        msg<void, BOOL>(icons, "setIsEditing:"_sel, NO);
    else
        msg<void, NSInteger, BOOL>(icons, "scrollToIconListAtIndex:animate:"_sel, 0, YES);
}

namespace imp {

SBUIController *sharedInstance(id, SEL)
{
    return static_cast<SBUIController *>(sim::springBoardState().uiController.get());
}

void clickedMenuButton(SBUIController *self, SEL)
{
    auto *icons = msg<SBIconController *>(SBIconController::class_(), "sharedInstance"_sel);
    // On a dark lock screen the button wakes the phone, which dims again when idle.
    if (sim::springBoardState().locked && !sim::BacklightHost::screenIsOn() &&
        sim::BacklightHost::turnOn(SBBacklightChangeSourceHomeButton))
        sim::BacklightHost::scheduleIdleDim();
    // The switcher or an application in front goes away first; only a press on the home
    // screen itself acts on it.
    if (!sim::springBoardState().locked && !sim::dismissSwitcherOrApplication())
        returnHomeScreen(icons);
    self->m_animationController = StrongRef<SBUIBaseAnimationController>::adopt(
        SBUIAnimationController::create(icons ? icons->rootFolderView() : nil));
    msg<void>(self->m_animationController, "beginAnimation"_sel);
}

void animationControllerDidFinishAnimation(SBUIController *self, SEL,
                                           SBUIBaseAnimationController *controller)
{
    if (self->m_animationController.get() == controller)
        self->m_animationController = nullptr;
}

} // namespace imp

} // namespace

Class SBUIController::class_()
{
    return objc_getClass("SBUIController");
}

namespace sim {

void registerUIControllerClass()
{
    HostClass<SBUIController>("SBUIController", "NSObject")
        .classMethod("sharedInstance", imp::sharedInstance)
        .method("clickedMenuButton", imp::clickedMenuButton)
        .method("animationControllerDidFinishAnimation:",
                imp::animationControllerDidFinishAnimation)
        .getter<&SBUIController::m_animationController>("_animationController")
        .registerClass();
}

} // namespace sim
