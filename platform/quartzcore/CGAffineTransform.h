#pragma once
// Two-dimensional affine transforms, the matrix
//
//     | a  b  0 |
//     | c  d  0 |
//     | tx ty 1 |
//
// applied to row vectors: a point (x, y) maps to (a·x + c·y + tx, b·x + d·y + ty).
// Because points multiply from the left, CGAffineTransformConcat(t1, t2) = t1 × t2 applies
// t1 first and t2 second. The Translate, Scale and Rotate functions put their new step
// before the transform they are given: CGAffineTransformRotate(t, angle) rotates first and
// then applies t. Angles are in radians; a positive angle turns the x axis towards the y
// axis (counter-clockwise when y points up, clockwise on a screen where y points down).

#include "quartzcore/CGGeometry.h"

struct CGAffineTransform {
    CGFloat a, b, c, d;
    CGFloat tx, ty;
};

inline constexpr CGAffineTransform CGAffineTransformIdentity = {1, 0, 0, 1, 0, 0};

extern "C" {

CGAffineTransform CGAffineTransformMake(CGFloat a, CGFloat b, CGFloat c, CGFloat d, CGFloat tx,
                                        CGFloat ty);
CGAffineTransform CGAffineTransformMakeTranslation(CGFloat tx, CGFloat ty);
CGAffineTransform CGAffineTransformMakeScale(CGFloat sx, CGFloat sy);
CGAffineTransform CGAffineTransformMakeRotation(CGFloat angle);

// Each answers the new step followed by t.
CGAffineTransform CGAffineTransformTranslate(CGAffineTransform t, CGFloat tx, CGFloat ty);
CGAffineTransform CGAffineTransformScale(CGAffineTransform t, CGFloat sx, CGFloat sy);
CGAffineTransform CGAffineTransformRotate(CGAffineTransform t, CGFloat angle);

// t1 followed by t2.
CGAffineTransform CGAffineTransformConcat(CGAffineTransform t1, CGAffineTransform t2);

// The transform that undoes t. A transform that cannot be undone (zero determinant) is
// answered unchanged, as the platform does.
CGAffineTransform CGAffineTransformInvert(CGAffineTransform t);

bool CGAffineTransformIsIdentity(CGAffineTransform t);
bool CGAffineTransformEqualToTransform(CGAffineTransform t1, CGAffineTransform t2);

CGPoint CGPointApplyAffineTransform(CGPoint point, CGAffineTransform t);
// A size is a difference of points, so the translation does not apply; the answer may
// be negative.
CGSize CGSizeApplyAffineTransform(CGSize size, CGAffineTransform t);
// The smallest upright rectangle holding the four transformed corners. The null
// rectangle stays null.
CGRect CGRectApplyAffineTransform(CGRect rect, CGAffineTransform t);

} // extern "C"

namespace sim {
template <> struct TypeEncoding<CGAffineTransform, void> {
    static std::string get() { return "{CGAffineTransform=dddddd}"; }
};
} // namespace sim
