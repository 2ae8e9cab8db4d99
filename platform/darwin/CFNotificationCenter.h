#pragma once
// The Core Foundation notification centres, as far as the product uses them: the Darwin
// notify center. Its notifications are the device-wide Darwin notifications of notify.h,
// so an observer added here hears every post of its name from any process of the device.
//
// An observation is the observer, the name and the callback, so that two features
// observing one name without an observer of their own (NULL) both hear it. Its callback
// runs on the main queue after each post of the name, with the centre, the observer and
// the name, and with no object and no user info, as the platform delivers Darwin
// notifications. Adding an observation that exists already changes nothing. Removing
// ends every callback of the observer for the name (or for every name). Removing an observation
// stops its deliveries at once, also of a post already on its way, so a callback may remove its own
// observation.
//
// The device never suspends a process, so every suspension behaviour delivers at once.

#include "foundation/CoreFoundation.h"

struct __CFNotificationCenter;
using CFNotificationCenterRef = __CFNotificationCenter *;
using CFNotificationName = CFStringRef;
using CFNotificationCallback = void (*)(CFNotificationCenterRef center, void *observer,
                                        CFNotificationName name, const void *object,
                                        CFDictionaryRef userInfo);

enum CFNotificationSuspensionBehavior : CFIndex {
    CFNotificationSuspensionBehaviorDrop = 1,
    CFNotificationSuspensionBehaviorCoalesce = 2,
    CFNotificationSuspensionBehaviorHold = 3,
    CFNotificationSuspensionBehaviorDeliverImmediately = 4,
};

extern "C" {

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter();

// `object` means nothing to the Darwin notify center and is ignored. Nothing happens for
// another centre, a NULL callback or a NULL name.
void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void *observer,
                                     CFNotificationCallback callBack, CFNotificationName name,
                                     const void *object,
                                     CFNotificationSuspensionBehavior suspensionBehavior);

// Ends the observer's observation of `name`, or of every name when `name` is NULL.
void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void *observer,
                                        CFNotificationName name, const void *object);

} // extern "C"
