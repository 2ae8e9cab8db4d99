#pragma once
// The pixels of the colour wheel bitmap: for a pixel diameter D and pixel padding P, a square
// of ⌈D⌉ × ⌈D⌉ pixels whose pixel in column i and row j (from the top) lies at
// dx = i − D/2, dy = D/2 − j from the wheel's centre (wheel space, ColorWheelGeometry.h, in
// pixels). With R = D/2 − P it takes the opaque colour of hue CVHueOfAngle(atan2(dy, dx)),
// saturation min(√(dx² + dy²), R) ÷ R and value 1: the disc of radius R holds every hue and
// saturation, and everything outside it repeats the rim's fully saturated colour, which a
// round picker hides with its corner radius. A wheel with R ≤ 0 is rim colour throughout.
//
// The angle and distance of every pixel are computed by vector instructions, several pixels
// at a time, with an arctangent whose error (under 2e-5 radians) moves no colour byte by
// more than one level against atan2 in double precision.

#include <cstddef>
#include <cstdint>

// The largest side of a bitmap, as for bitmap contexts.
inline constexpr std::size_t kCVMaxWheelSide = 32767;

// The wheel as `side` rows of `side` pixels, rows from the top, four bytes a pixel in the
// order red, green, blue, alpha (the layout of CGImage.h; every pixel is opaque, so
// premultiplication changes nothing). `pixels` holds 4 × side × side bytes; `side` is at
// most kCVMaxWheelSide.
void CVFillColorWheel(std::uint8_t *pixels, std::size_t side, float diameter, float padding);
