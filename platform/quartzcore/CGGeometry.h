#pragma once
// Points, sizes and rectangles as the phone's graphics code uses them. A rectangle is an
// origin and a size, and the size may be negative: such a rectangle covers the same area
// as its standardised form, whose origin is the minimum corner and whose size is
// positive. Every function below that reasons about area (getters of edges and centre,
// containment, intersection, union, offset, inset, integral) works on the standardised
// form, so callers may pass either.
//
// Two rectangles are special. CGRectNull, whose origin is at +infinity, is the empty set:
// the answer of an intersection that finds nothing, ignored by union, contained in every
// rectangle and containing none but itself. It is empty, yet different from a zero-sized
// rectangle, which still has a position and takes part in unions. CGRectInfinite spans
// the whole plane for practical purposes and is otherwise an ordinary rectangle.
//
// Edges are half-open: a rectangle contains its minimum edges and not its maximum ones,
// and two rectangles that merely touch do not intersect.

#include <cfloat>
#include <cmath>
#include <string>

#define CGFLOAT_IS_DOUBLE 1
#define CGFLOAT_MAX DBL_MAX

using CGFloat = double;

struct CGPoint {
    CGFloat x;
    CGFloat y;
};

struct CGSize {
    CGFloat width;
    CGFloat height;
};

struct CGVector {
    CGFloat dx;
    CGFloat dy;
};

struct CGRect {
    CGPoint origin;
    CGSize size;
};

inline constexpr CGPoint CGPointZero = {0, 0};
inline constexpr CGSize CGSizeZero = {0, 0};
inline constexpr CGRect CGRectZero = {{0, 0}, {0, 0}};
inline constexpr CGRect CGRectNull = {{INFINITY, INFINITY}, {0, 0}};
inline constexpr CGRect CGRectInfinite = {{-CGFLOAT_MAX / 2, -CGFLOAT_MAX / 2},
                                          {CGFLOAT_MAX, CGFLOAT_MAX}};

extern "C" {

inline CGPoint CGPointMake(CGFloat x, CGFloat y)
{
    return {x, y};
}
inline CGSize CGSizeMake(CGFloat width, CGFloat height)
{
    return {width, height};
}
inline CGVector CGVectorMake(CGFloat dx, CGFloat dy)
{
    return {dx, dy};
}
inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height)
{
    return {{x, y}, {width, height}};
}

// Edges and centre of the standardised rectangle. The null rectangle answers +infinity
// for its edges and centre and 0 for its size.
CGFloat CGRectGetMinX(CGRect rect);
CGFloat CGRectGetMidX(CGRect rect);
CGFloat CGRectGetMaxX(CGRect rect);
CGFloat CGRectGetMinY(CGRect rect);
CGFloat CGRectGetMidY(CGRect rect);
CGFloat CGRectGetMaxY(CGRect rect);
CGFloat CGRectGetWidth(CGRect rect);
CGFloat CGRectGetHeight(CGRect rect);

// The same area with a non-negative size; the null rectangle stays null.
CGRect CGRectStandardize(CGRect rect);

// Null, or zero in width or height.
bool CGRectIsEmpty(CGRect rect);
bool CGRectIsNull(CGRect rect);

// Exact comparisons; rectangles compare by the area they cover, and any two null
// rectangles are equal.
bool CGPointEqualToPoint(CGPoint point1, CGPoint point2);
bool CGSizeEqualToSize(CGSize size1, CGSize size2);
bool CGRectEqualToRect(CGRect rect1, CGRect rect2);

bool CGRectContainsPoint(CGRect rect, CGPoint point);
// Whether rect2 lies within rect1, that is whether their union is rect1.
bool CGRectContainsRect(CGRect rect1, CGRect rect2);
bool CGRectIntersectsRect(CGRect rect1, CGRect rect2);

// The common area, or CGRectNull when the two share no area: disjoint, touching along an
// edge, or one of them null or of zero width or height.
CGRect CGRectIntersection(CGRect rect1, CGRect rect2);
// The smallest rectangle that holds both; a null argument is ignored.
CGRect CGRectUnion(CGRect rect1, CGRect rect2);

// Moves the standardised rectangle; the null rectangle stays null.
CGRect CGRectOffset(CGRect rect, CGFloat dx, CGFloat dy);
// Shrinks the standardised rectangle by dx on the left and right and dy on the top and
// bottom (negative values grow it). A rectangle inset past zero size becomes null.
CGRect CGRectInset(CGRect rect, CGFloat dx, CGFloat dy);
// The smallest rectangle with whole-number edges that holds the rectangle: its minimum
// edges round down and its maximum edges round up. The null rectangle stays null.
CGRect CGRectIntegral(CGRect rect);

} // extern "C"

// Method signatures that pass geometry by value carry its type encoding, as on the 64-bit
// platform. The runtime's primary template (objc/TypeEncoding.h) is declared here rather
// than included so that geometry stays free of the object runtime.
namespace sim {
template <class T, class Enable> struct TypeEncoding;
template <> struct TypeEncoding<CGPoint, void> {
    static std::string get() { return "{CGPoint=dd}"; }
};
template <> struct TypeEncoding<CGSize, void> {
    static std::string get() { return "{CGSize=dd}"; }
};
template <> struct TypeEncoding<CGVector, void> {
    static std::string get() { return "{CGVector=dd}"; }
};
template <> struct TypeEncoding<CGRect, void> {
    static std::string get() { return "{CGRect={CGPoint=dd}{CGSize=dd}}"; }
};
} // namespace sim
