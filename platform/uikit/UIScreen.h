#pragma once
// The phone's one screen, as the device profile describes it: its size in points and its
// pixels per point. From iOS 8 on the bounds follow the interface orientation (a
// landscape phone is wider than tall); iOS 7 always answers the portrait size.

#include "objc/ClassBuilder.h"
#include "quartzcore/CGGeometry.h"

struct UIView;

struct UIScreen : NSObject {
    static Class class_();
    static UIScreen *mainScreen();

    CGRect bounds() const;
    CGFloat scale() const;
};
