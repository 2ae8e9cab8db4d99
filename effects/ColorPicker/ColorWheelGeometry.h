#pragma once
// The geometry of the colour wheel, written once for the picker's state, its view and the
// wheel bitmap.
//
// Two spaces. The wheel space is the unit disc: its origin is the wheel's centre, x grows to
// the right and y upwards, and a point of length 1 lies on the rim. The view space is the
// picker's bounds (a square of side `side` points): origin at the top-left, y downwards. The
// wheel is inset from the view's edges by the padding, so with c = side ÷ 2 and p the
// padding the rim has radius c − p points, and a view point (x, y) is the wheel point
// ((x − c) ÷ (c − p), (c − y) ÷ (c − p)).
//
// A wheel point's hue is its angle from the positive x axis, counter-clockwise as the eye
// sees it, as a fraction of a full turn: atan2(y, x) ÷ 2π, with 2π added to a negative angle
// first, so the hue lies in 0…1 and red is to the right of the centre, yellow above and to
// the right (60°), blue below and to the left (240°). Its saturation is its length, at most 1.

#include "quartzcore/CGGeometry.h"

#include <numbers>

inline constexpr float kCVTwoPi = 2.0f * std::numbers::pi_v<float>;

// The hue of an angle in radians from −π to π. An angle a hair below 0 gives 2π − ε, which
// rounds to a whole turn in single precision; a whole turn is red, hue 0.
inline float CVHueOfAngle(float angle)
{
    float hue = (angle < 0.0f ? angle + kCVTwoPi : angle) * (1.0f / kCVTwoPi);
    return hue >= 1.0f ? 0.0f : hue;
}

float CVHueOfWheelPoint(CGPoint point);
float CVSaturationOfWheelPoint(CGPoint point);
// (s·cos 2πh, s·sin 2πh).
CGPoint CVWheelPointForHueSaturation(float hue, float saturation);

// Between the view space and the wheel space (above). A view too small to hold a wheel
// (side ≤ 2 × padding) has every point at the wheel's centre.
CGPoint CVWheelPointForViewPoint(CGPoint viewPoint, CGFloat side, CGFloat padding);
CGPoint CVViewPointForWheelPoint(CGPoint wheelPoint, CGFloat side, CGFloat padding);

// The nearest point that a finger may select: a point inside the valid area is kept. For a
// round picker the valid area is the disc of radius side ÷ 2 − padding about the centre, and
// a point outside is moved along the line from the centre onto its rim; for a square picker
// it is the view's bounds inset by the padding, and a point outside is clamped into it.
CGPoint CVClampToValidArea(CGPoint viewPoint, CGFloat side, CGFloat padding, bool round);
