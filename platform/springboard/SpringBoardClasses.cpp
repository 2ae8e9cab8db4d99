#include "springboard/SpringBoardClasses.h"

#include "objc/ClassBuilder.h"
#include "springboard/CrossfadeViews.h"
#include "springboard/SBFloatyFolderView.h"
#include "springboard/SBFolderIconView.h"
#include "springboard/SBIconController.h"
#include "springboard/SBUIController.h"
#include "springboard/apps/ApplicationsHost.h"
#include "springboard/backlight/Backlight.h"
#include "springboard/control-center/ControlCenter.h"
#include "springboard/home-screen/ClockIcon.h"
#include "springboard/home-screen/HomeScreenClasses.h"
#include "springboard/home-screen/Newsstand.h"
#include "springboard/lock-screen/LockScreen.h"
#include "springboard/notification-center/NotificationCenter.h"
#include "springboard/status-bar/StatusBarHost.h"
#include "springboard/switcher/SwitcherHost.h"
#include "uikit/UIApplication.h"

namespace {

void relaunchSpringBoardNow(UIApplication *, SEL)
{
    sim::relaunch();
}

// Replacing rather than adding: a method that an extension of the previous run replaced
// goes back to SpringBoard's own.
void addRelaunchMethod()
{
    class_replaceMethod(UIApplication::class_(), "_relaunchSpringBoardNow"_sel,
                        reinterpret_cast<IMP>(relaunchSpringBoardNow),
                        sim::encodeImplementation(relaunchSpringBoardNow).c_str());
}

} // namespace

namespace sim {

void registerSpringBoardClasses()
{
    registerHomeScreenAppearanceClasses();
    registerIconModelClasses();
    registerClockIconClasses();
    registerNewsstandIconClass();
    registerIconViewClass();
    registerFolderIconViewClasses();
    registerIconViewMapClass();
    registerIconListViewClass();
    registerIconListKindClasses();
    registerPageControlClass();
    registerSpotlightClasses();
    registerFolderViewClass();
    registerRootFolderViewClass();
    registerFloatyFolderViewClass();
    registerDockViewClass();
    registerCrossfadeViewClasses();
    registerFolderControllerClasses();
    registerIconControllerClass();
    registerAnimationControllerClasses();
    registerUIControllerClass();
    registerStatusBarClasses();
    registerLockScreenClasses();
    registerApplicationClasses();
    registerSwitcherClasses();
    registerControlCenterClasses();
    registerNotificationCenterClasses();
    registerBacklightClasses();
    addRelaunchMethod();
}

} // namespace sim
