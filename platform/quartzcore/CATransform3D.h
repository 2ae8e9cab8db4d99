#pragma once
// Three-dimensional transforms of layers. Every function here, and every caller, follows
// these conventions:
//
// - Storage: sixteen CGFloats named mRC by row R and column C, kept row after row
//   (m11 m12 m13 m14, m21 ..., m44).
// - Points are row vectors multiplied from the left: (x, y, z, 1) × M = (X, Y, Z, W), and
//   the point drawn is (X / W, Y / W). The translation therefore sits in the bottom row,
//   m41 m42 m43, and the linear part in the upper-left 3 × 3.
// - Order: CATransform3DConcat(a, b) = a × b applies a first and b second.
//   CATransform3DTranslate, CATransform3DScale and CATransform3DRotate put their new step
//   before the transform they are given: CATransform3DRotate(t, …) =
//   CATransform3DConcat(CATransform3DMakeRotation(…), t), so the step acts in the space
//   that t then maps.
// - Angles are in radians and rotations right-handed about an axis through the origin: a
//   positive angle about z turns x towards y, about x turns y towards z, about y turns z
//   towards x. On screen, where y points down, a positive angle about z looks clockwise.
//   The axis need not be of unit length; a zero axis means no rotation.
// - m34 is the perspective term. With W = x·m14 + y·m24 + z·m34 + m44, setting
//   m34 = −1/d places the eye at distance d in front of the z = 0 plane: points raised
//   towards the eye (z > 0) draw larger, points at or behind the eye have W ≤ 0 and are
//   not drawn. The usual idiom sets m34 on an identity matrix and then rotates it; as
//   rotations are put before, the point turns first and the perspective acts last.
//
// Comparisons are exact, as on the platform: a matrix that is the identity up to rounding
// is not CATransform3DIsIdentity.

#include "quartzcore/CGAffineTransform.h"

struct CATransform3D {
    CGFloat m11, m12, m13, m14;
    CGFloat m21, m22, m23, m24;
    CGFloat m31, m32, m33, m34;
    CGFloat m41, m42, m43, m44;
};

inline constexpr CATransform3D CATransform3DIdentity = {1, 0, 0, 0, 0, 1, 0, 0,
                                                        0, 0, 1, 0, 0, 0, 0, 1};

extern "C" {

CATransform3D CATransform3DMakeTranslation(CGFloat tx, CGFloat ty, CGFloat tz);
CATransform3D CATransform3DMakeScale(CGFloat sx, CGFloat sy, CGFloat sz);
CATransform3D CATransform3DMakeRotation(CGFloat angle, CGFloat x, CGFloat y, CGFloat z);

// Each answers the new step followed by t.
CATransform3D CATransform3DTranslate(CATransform3D t, CGFloat tx, CGFloat ty, CGFloat tz);
CATransform3D CATransform3DScale(CATransform3D t, CGFloat sx, CGFloat sy, CGFloat sz);
CATransform3D CATransform3DRotate(CATransform3D t, CGFloat angle, CGFloat x, CGFloat y, CGFloat z);

// a followed by b.
CATransform3D CATransform3DConcat(CATransform3D a, CATransform3D b);

// The transform that undoes t. A matrix without a finite inverse (zero determinant, such
// as a scale by 0) is answered unchanged, as the platform does.
CATransform3D CATransform3DInvert(CATransform3D t);

bool CATransform3DIsIdentity(CATransform3D t);
bool CATransform3DEqualToTransform(CATransform3D a, CATransform3D b);
// Whether t maps the z = 0 plane exactly as a CGAffineTransform would: no perspective, no
// depth and nothing that mixes z with x or y.
bool CATransform3DIsAffine(CATransform3D t);

CATransform3D CATransform3DMakeAffineTransform(CGAffineTransform m);
// The affine part of t (m11 m12 m21 m22 m41 m42); whatever else t holds is dropped.
CGAffineTransform CATransform3DGetAffineTransform(CATransform3D t);

} // extern "C"

namespace sim {

template <> struct TypeEncoding<CATransform3D, void> {
    static std::string get() { return "{CATransform3D=dddddddddddddddd}"; }
};

struct ProjectedPoint {
    CGPoint point;
    // W > 0: the point lies in front of the eye and `point` is where it is drawn. When it
    // is false, `point` holds the undivided (X, Y), which has no place on screen; the
    // renderer clips such geometry against the plane W = 0 before drawing.
    bool inFront;
};

// Maps the point (point.x, point.y, z) through t and divides by W. Inline because the
// renderer calls it for every corner and mesh point of every layer it draws.
inline ProjectedPoint projectPoint(const CATransform3D &t, CGPoint point, CGFloat z = 0)
{
    CGFloat x = point.x * t.m11 + point.y * t.m21 + z * t.m31 + t.m41;
    CGFloat y = point.x * t.m12 + point.y * t.m22 + z * t.m32 + t.m42;
    CGFloat w = point.x * t.m14 + point.y * t.m24 + z * t.m34 + t.m44;
    if (!(w > 0))
        return {{x, y}, false};
    return {{x / w, y / w}, true};
}

} // namespace sim
