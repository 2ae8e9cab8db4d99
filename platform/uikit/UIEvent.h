#pragma once
// The event that carries touches to views: every touch of the gesture in progress (one
// finger in the simulated device) and the time of the change.

#include "foundation/NSSet.h"

struct UIEvent : NSObject {
    StrongRef<NSSet> m_touches;
    double m_timestamp = 0; // process clock seconds

    static Class class_();
};
