#pragma once
// Boxed values, with the additions the phone's QuartzCore makes for geometry and
// transforms (valueWithCATransform3D: and its kin). They carry the from and to values of
// explicit animations (CABasicAnimation.h); an NSValue keeps the kind it was made with.

#include "objc/ClassBuilder.h"
#include "quartzcore/LayerAnimation.h"

struct NSValue : NSObject {
    sim::AnimatedValue m_value;

    static Class class_();
    // Autoreleased.
    static NSValue *valueWithCGPoint(CGPoint point);
    static NSValue *valueWithCGRect(CGRect rect);
    static NSValue *valueWithCATransform3D(const CATransform3D &transform);

    // Zero values when the value holds another kind.
    CGPoint CGPointValue() const;
    CGRect CGRectValue() const;
    CATransform3D CATransform3DValue() const;
};
