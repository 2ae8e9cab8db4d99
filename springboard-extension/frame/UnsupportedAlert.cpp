// The alert on a system the extension does not know. SpringBoard shows nothing of its own
// while it is still launching, so the alert waits for the first lock or unlock after the
// launch, when the user is looking at the screen, and then appears once.

#include "darwin/CFNotificationCenter.h"
#include "foundation/CoreFoundation.h"
#include "foundation/NSString.h"
#include "foundation/dispatch.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Extension.h"
#include "uikit/UIAlertView.h"

namespace {

dispatch_once_t g_observerOnce;
dispatch_once_t g_alertOnce;

// The observer's identity in the Darwin notify center.
const char kLockStateObserver = 0;

NSString *lockStateNotification()
{
    return "com.apple.springboard.lockstate"_ns;
}

void showUnsupportedAlert()
{
    CancelUnsupportedAlert();
    NSString *message = NSString::stringWithFormat(
        "Corvane 3 does not support this iOS version (%.3f).", kCFCoreFoundationVersionNumber);
    id alert = msg<id>(UIAlertView::class_(), "alloc"_sel);
    alert = msg<id, NSString *, NSString *, id, NSString *, NSString *>(
        alert, "initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:"_sel,
        "Corvane"_ns, message, nil, "Cancel"_ns, nil);
    msg<void>(alert, "show"_sel);
    objc_release(alert); // a shown alert keeps itself until it is dismissed
}

void lockStateChanged(CFNotificationCenterRef, void *, CFNotificationName, const void *,
                      CFDictionaryRef)
{
    if (!CVSpringBoardDidLaunch)
        return;
    dispatch_once(&g_alertOnce, showUnsupportedAlert);
}

} // namespace

void ScheduleUnsupportedAlert()
{
    dispatch_once(&g_observerOnce, [] {
        CFNotificationCenterAddObserver(
            CFNotificationCenterGetDarwinNotifyCenter(), &kLockStateObserver, lockStateChanged,
            lockStateNotification(), nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
    });
}

void CancelUnsupportedAlert()
{
    CFNotificationCenterRemoveObserver(CFNotificationCenterGetDarwinNotifyCenter(),
                                       &kLockStateObserver, lockStateNotification(), nullptr);
}
