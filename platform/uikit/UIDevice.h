#pragma once
// The device the process runs on, as the device profile describes it.

#include "objc/ClassBuilder.h"

enum UIUserInterfaceIdiom : NSInteger {
    UIUserInterfaceIdiomUnspecified = -1,
    UIUserInterfaceIdiomPhone = 0,
    UIUserInterfaceIdiomPad = 1,
};

struct UIDevice : NSObject {
    static Class class_();
    static UIDevice *currentDevice();

    UIUserInterfaceIdiom userInterfaceIdiom() const;
};

extern "C" {
// The accessibility setting "Bold Text" of the device profile.
BOOL UIAccessibilityIsBoldTextEnabled();
}
