#pragma once
// Pinches: a continuous gesture. Its scale is the distance between the fingers relative
// to where they started (1 at the start), its velocity the change of scale per second.

#include "uikit/UIGestureRecognizer.h"

struct UIPinchGestureRecognizer : UIGestureRecognizer {
    CGFloat m_scale = 1;
    CGFloat m_velocity = 0;

    static Class class_();
};
