#pragma once
// CVDevice: what the usage report says about the device, asked of the system afresh at
// each call. The class methods are registered when the library loads; C++ callers call
// the static members, which are the same methods without a message.

#include "objc/ClassBuilder.h"

struct NSString;

struct CVDevice : NSObject {
    static Class class_();

    // +uniqueDeviceID: MobileGestalt's "UniqueDeviceID", autoreleased; nil when the
    // system gives none.
    static NSString *uniqueDeviceID();
    // +productVersion: MobileGestalt's "ProductVersion" ("9.0"), autoreleased; nil when
    // the system gives none.
    static NSString *productVersion();
    // +coreFoundationVersion: kCFCoreFoundationVersionNumber as a float.
    static float coreFoundationVersion();
};
