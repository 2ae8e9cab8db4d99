#pragma once
// Taps: recognised at once when a tap lands on the view, with the state
// UIGestureRecognizerStateRecognized, then back to possible.

#include "uikit/UIGestureRecognizer.h"

struct UITapGestureRecognizer : UIGestureRecognizer {
    NSUInteger m_numberOfTapsRequired = 1;

    static Class class_();
};
