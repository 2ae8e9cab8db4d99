#include "quartzcore/CGGeometry.h"

#include <algorithm>

namespace {

// Null rectangles pass through the area functions untouched, so each of them checks
// first and then works on standardised input only.
bool isNull(const CGRect &rect)
{
    return rect.origin.x == INFINITY || rect.origin.y == INFINITY;
}

CGRect fromEdges(CGFloat minX, CGFloat minY, CGFloat maxX, CGFloat maxY)
{
    return CGRectMake(minX, minY, maxX - minX, maxY - minY);
}

} // namespace

CGRect CGRectStandardize(CGRect rect)
{
    if (isNull(rect))
        return rect;
    if (rect.size.width < 0) {
        rect.origin.x += rect.size.width;
        rect.size.width = -rect.size.width;
    }
    if (rect.size.height < 0) {
        rect.origin.y += rect.size.height;
        rect.size.height = -rect.size.height;
    }
    return rect;
}

CGFloat CGRectGetMinX(CGRect rect)
{
    return CGRectStandardize(rect).origin.x;
}

CGFloat CGRectGetMinY(CGRect rect)
{
    return CGRectStandardize(rect).origin.y;
}

CGFloat CGRectGetWidth(CGRect rect)
{
    return std::fabs(rect.size.width);
}

CGFloat CGRectGetHeight(CGRect rect)
{
    return std::fabs(rect.size.height);
}

CGFloat CGRectGetMaxX(CGRect rect)
{
    return CGRectGetMinX(rect) + CGRectGetWidth(rect);
}

CGFloat CGRectGetMaxY(CGRect rect)
{
    return CGRectGetMinY(rect) + CGRectGetHeight(rect);
}

CGFloat CGRectGetMidX(CGRect rect)
{
    return CGRectGetMinX(rect) + CGRectGetWidth(rect) / 2;
}

CGFloat CGRectGetMidY(CGRect rect)
{
    return CGRectGetMinY(rect) + CGRectGetHeight(rect) / 2;
}

bool CGRectIsNull(CGRect rect)
{
    return isNull(rect);
}

bool CGRectIsEmpty(CGRect rect)
{
    return isNull(rect) || rect.size.width == 0 || rect.size.height == 0;
}

bool CGPointEqualToPoint(CGPoint point1, CGPoint point2)
{
    return point1.x == point2.x && point1.y == point2.y;
}

bool CGSizeEqualToSize(CGSize size1, CGSize size2)
{
    return size1.width == size2.width && size1.height == size2.height;
}

bool CGRectEqualToRect(CGRect rect1, CGRect rect2)
{
    if (isNull(rect1) || isNull(rect2))
        return isNull(rect1) && isNull(rect2);
    CGRect a = CGRectStandardize(rect1);
    CGRect b = CGRectStandardize(rect2);
    return CGPointEqualToPoint(a.origin, b.origin) && CGSizeEqualToSize(a.size, b.size);
}

bool CGRectContainsPoint(CGRect rect, CGPoint point)
{
    if (isNull(rect))
        return false;
    return point.x >= CGRectGetMinX(rect) && point.x < CGRectGetMaxX(rect) &&
           point.y >= CGRectGetMinY(rect) && point.y < CGRectGetMaxY(rect);
}

bool CGRectContainsRect(CGRect rect1, CGRect rect2)
{
    return CGRectEqualToRect(CGRectUnion(rect1, rect2), rect1);
}

bool CGRectIntersectsRect(CGRect rect1, CGRect rect2)
{
    return !isNull(CGRectIntersection(rect1, rect2));
}

CGRect CGRectIntersection(CGRect rect1, CGRect rect2)
{
    if (isNull(rect1) || isNull(rect2))
        return CGRectNull;
    CGFloat minX = std::max(CGRectGetMinX(rect1), CGRectGetMinX(rect2));
    CGFloat maxX = std::min(CGRectGetMaxX(rect1), CGRectGetMaxX(rect2));
    CGFloat minY = std::max(CGRectGetMinY(rect1), CGRectGetMinY(rect2));
    CGFloat maxY = std::min(CGRectGetMaxY(rect1), CGRectGetMaxY(rect2));
    // Written as "not less" so that NaN edges also count as sharing no area.
    if (!(minX < maxX) || !(minY < maxY))
        return CGRectNull;
    return fromEdges(minX, minY, maxX, maxY);
}

CGRect CGRectUnion(CGRect rect1, CGRect rect2)
{
    if (isNull(rect1))
        return CGRectStandardize(rect2);
    if (isNull(rect2))
        return CGRectStandardize(rect1);
    return fromEdges(std::min(CGRectGetMinX(rect1), CGRectGetMinX(rect2)),
                     std::min(CGRectGetMinY(rect1), CGRectGetMinY(rect2)),
                     std::max(CGRectGetMaxX(rect1), CGRectGetMaxX(rect2)),
                     std::max(CGRectGetMaxY(rect1), CGRectGetMaxY(rect2)));
}

CGRect CGRectOffset(CGRect rect, CGFloat dx, CGFloat dy)
{
    if (isNull(rect))
        return rect;
    CGRect moved = CGRectStandardize(rect);
    moved.origin.x += dx;
    moved.origin.y += dy;
    return moved;
}

CGRect CGRectInset(CGRect rect, CGFloat dx, CGFloat dy)
{
    if (isNull(rect))
        return rect;
    CGRect inset = CGRectStandardize(rect);
    inset.origin.x += dx;
    inset.origin.y += dy;
    inset.size.width -= 2 * dx;
    inset.size.height -= 2 * dy;
    if (inset.size.width < 0 || inset.size.height < 0)
        return CGRectNull;
    return inset;
}

CGRect CGRectIntegral(CGRect rect)
{
    if (isNull(rect))
        return rect;
    return fromEdges(std::floor(CGRectGetMinX(rect)), std::floor(CGRectGetMinY(rect)),
                     std::ceil(CGRectGetMaxX(rect)), std::ceil(CGRectGetMaxY(rect)));
}
