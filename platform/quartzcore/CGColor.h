#pragma once
// Colours and colour spaces. The stand-in knows one colour space, device RGB, and every
// colour is four components in it, red, green, blue and alpha, each from 0 to 1 and not
// premultiplied. Colours are objects with reference counts, as on the platform: the
// functions named Create answer a colour the caller owns and must release.

#include "objc/NSObject.h"
#include "quartzcore/CGGeometry.h"

#include <cstddef>

struct CGColorSpace : NSObject {
    static Class class_();
};
using CGColorSpaceRef = CGColorSpace *;

struct CGColor : NSObject {
    CGFloat m_components[4] = {0, 0, 0, 0};

    static Class class_();
};
using CGColorRef = CGColor *;

extern "C" {

// The caller owns the answer.
CGColorSpaceRef CGColorSpaceCreateDeviceRGB();
CGColorSpaceRef CGColorSpaceRetain(CGColorSpaceRef space);
void CGColorSpaceRelease(CGColorSpaceRef space);
// Three: red, green and blue.
std::size_t CGColorSpaceGetNumberOfComponents(CGColorSpaceRef space);

// Components outside 0 to 1 are clamped and NaN reads as 0, so a colour always draws.
// The caller owns the answer.
CGColorRef CGColorCreateGenericRGB(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
// `components` holds red, green, blue and alpha; nil for a nil space or components.
CGColorRef CGColorCreate(CGColorSpaceRef space, const CGFloat *components);
// A copy of `color` with another alpha.
CGColorRef CGColorCreateCopyWithAlpha(CGColorRef color, CGFloat alpha);
CGColorRef CGColorRetain(CGColorRef color);
void CGColorRelease(CGColorRef color);

// Red, green, blue and alpha; NULL for nil.
const CGFloat *CGColorGetComponents(CGColorRef color);
// Four: the three colour components and alpha.
std::size_t CGColorGetNumberOfComponents(CGColorRef color);
CGFloat CGColorGetAlpha(CGColorRef color);
bool CGColorEqualToColor(CGColorRef color1, CGColorRef color2);

} // extern "C"
