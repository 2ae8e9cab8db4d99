#include "springboard-extension/system-ui/NotificationCenter.h"

#include "foundation/NSArray.h"
#include "foundation/NSString.h"
#include "objc/NSObject.h"
#include "springboard-extension/frame/LazyClass.h"
#include "springboard-extension/frame/Replacement.h"
#include "springboard-extension/system-ui/CenterSupport.h"

namespace {

// The swipe down from the top edge that pulls Notification Center.
constexpr NSInteger kPullDownDirectionality = 1;

LazyClass g_todayViewControllerClass("SBTodayViewController");
LazyClass g_missedViewControllerClass("SBNotificationsMissedModeViewController");
LazyClass g_notificationCenterControllerClass("SBNotificationCenterController");

bool isKindOf(id object, Class cls)
{
    return cls && msg<BOOL, Class>(object, "isKindOfClass:"_sel, cls);
}

// Exactly of that class, a subclass not counting.
bool isExactly(id object, Class cls)
{
    return cls && object && object_getClass(object) == cls;
}

// --- Text, gestures, grabber ---

NSString *(*orig_SBNotificationsViewController_contentUnavailableText)(id, SEL);
NSString *SBNotificationsViewController_contentUnavailableText(id self, SEL _cmd)
{
    const CVNotificationCenter &settings = gCVNotificationCenter;
    NSString *text = settings.customNotificationUnavailableText;
    if (settings.customNCText && text && text->length() > 0)
        return text;
    return orig_SBNotificationsViewController_contentUnavailableText(self, _cmd);
}

BOOL (*orig_SBOffscreenSwipeGestureRecognizer_firstTouchQualifies_)(id, SEL, id);
BOOL SBOffscreenSwipeGestureRecognizer_firstTouchQualifies_(id self, SEL _cmd, id touch)
{
    if (gCVNotificationCenter.disableNC &&
        msg<NSInteger>(self, "requiredDirectionality"_sel) == kPullDownDirectionality)
        return NO;
    return orig_SBOffscreenSwipeGestureRecognizer_firstTouchQualifies_(self, _cmd, touch);
}

BOOL (*orig_SBBulletinWindowController_allowsShowNotificationsGesture)(id, SEL);
BOOL SBBulletinWindowController_allowsShowNotificationsGesture(id self, SEL _cmd)
{
    if (gCVNotificationCenter.disableNC)
        return NO;
    return orig_SBBulletinWindowController_allowsShowNotificationsGesture(self, _cmd);
}

void (*orig_SBLockScreenView_setTopGrabberHidden_forRequester_)(id, SEL, BOOL, id);
void SBLockScreenView_setTopGrabberHidden_forRequester_(id self, SEL _cmd, BOOL hidden,
                                                        id requester)
{
    orig_SBLockScreenView_setTopGrabberHidden_forRequester_(
        self, _cmd, hidden || gCVNotificationCenter.disableNC, requester);
}

// --- The backdrop ---

void (*orig_SBNotificationCenterViewController_viewWillAppear_)(id, SEL, BOOL);
void SBNotificationCenterViewController_viewWillAppear_(id self, SEL _cmd, BOOL animated)
{
    const CVNotificationCenter &settings = gCVNotificationCenter;
    CVStyleBackdrop(msg<id>(self, "backdropView"_sel), settings.blurRadius,
                    settings.customBackdropColor, settings.backdropColor,
                    settings.backdropColorAlpha);
    orig_SBNotificationCenterViewController_viewWillAppear_(self, _cmd, animated);
}

// --- The views ---

void (*orig_SBModeViewController_addViewController_)(id, SEL, id);
void SBModeViewController_addViewController_(id self, SEL _cmd, id controller)
{
    if (gCVNotificationCenter.hideToday && isKindOf(controller, g_todayViewControllerClass.get()))
        return;
    if (gCVNotificationCenter.hideMissed && isKindOf(controller, g_missedViewControllerClass.get()))
        return;
    orig_SBModeViewController_addViewController_(self, _cmd, controller);
}

void (*orig_SBModeViewController_viewWillAppear_)(id, SEL, BOOL);
void SBModeViewController_viewWillAppear_(id self, SEL _cmd, BOOL animated)
{
    auto *present = msg<NSArray *>(self, "viewControllers"_sel);
    NSMutableArray *kept = NSMutableArray::arrayWithArray(present);
    if (present)
        for (const auto &item : *present) {
            id controller = item.get();
            if ((gCVNotificationCenter.hideToday &&
                 isExactly(controller, g_todayViewControllerClass.get())) ||
                (gCVNotificationCenter.hideMissed &&
                 isExactly(controller, g_missedViewControllerClass.get())))
                kept->removeObject(controller);
        }
    msg<void, NSArray *>(self, "setViewControllers:"_sel, kept);
    orig_SBModeViewController_viewWillAppear_(self, _cmd, animated);
}

void installReplacements()
{
    ReplaceMethod(objc_getClass("SBNotificationsViewController"), "contentUnavailableText"_sel,
                  SBNotificationsViewController_contentUnavailableText,
                  &orig_SBNotificationsViewController_contentUnavailableText);
    ReplaceMethod(objc_getClass("SBOffscreenSwipeGestureRecognizer"), "firstTouchQualifies:"_sel,
                  SBOffscreenSwipeGestureRecognizer_firstTouchQualifies_,
                  &orig_SBOffscreenSwipeGestureRecognizer_firstTouchQualifies_);
    ReplaceMethod(objc_getClass("SBBulletinWindowController"), "allowsShowNotificationsGesture"_sel,
                  SBBulletinWindowController_allowsShowNotificationsGesture,
                  &orig_SBBulletinWindowController_allowsShowNotificationsGesture);
    ReplaceMethod(objc_getClass("SBLockScreenView"), "setTopGrabberHidden:forRequester:"_sel,
                  SBLockScreenView_setTopGrabberHidden_forRequester_,
                  &orig_SBLockScreenView_setTopGrabberHidden_forRequester_);
    ReplaceMethod(objc_getClass("SBNotificationCenterViewController"), "viewWillAppear:"_sel,
                  SBNotificationCenterViewController_viewWillAppear_,
                  &orig_SBNotificationCenterViewController_viewWillAppear_);
    Class modes = objc_getClass("SBModeViewController");
    ReplaceMethod(modes, "addViewController:"_sel, SBModeViewController_addViewController_,
                  &orig_SBModeViewController_addViewController_);
    ReplaceMethod(modes, "viewWillAppear:"_sel, SBModeViewController_viewWillAppear_,
                  &orig_SBModeViewController_viewWillAppear_);
}

void connectOnLaunch()
{
    gCVNotificationCenter.changeCallback = applyNotificationCenterSettings;
    applyNotificationCenterSettings();
}

} // namespace

void applyNotificationCenterSettings()
{
    id controller = msg<id>(g_notificationCenterControllerClass.get(), "sharedInstance"_sel);
    CVUpdateSystemGesture(CVGetIvar<id>(controller, "_showSystemGestureRecognizer"),
                          gCVNotificationCenter.disableNC);
}

void NotificationCenterInit()
{
    if (CVRunsIOS9())
        CVWhenSpringBoardHasLaunched(connectOnLaunch);
    installReplacements();
}
