#include "effects/ColorPicker/ColorWheelGeometry.h"

#include <algorithm>
#include <cmath>

float CVHueOfWheelPoint(CGPoint point)
{
    return CVHueOfAngle(float(std::atan2(point.y, point.x)));
}

float CVSaturationOfWheelPoint(CGPoint point)
{
    return std::min(float(std::hypot(point.x, point.y)), 1.0f);
}

CGPoint CVWheelPointForHueSaturation(float hue, float saturation)
{
    double angle = double(hue) * 2 * std::numbers::pi;
    return {saturation * std::cos(angle), saturation * std::sin(angle)};
}

CGPoint CVWheelPointForViewPoint(CGPoint viewPoint, CGFloat side, CGFloat padding)
{
    CGFloat centre = side / 2;
    CGFloat radius = centre - padding;
    if (!(radius > 0))
        return CGPointZero;
    return {(viewPoint.x - centre) / radius, (centre - viewPoint.y) / radius};
}

CGPoint CVViewPointForWheelPoint(CGPoint wheelPoint, CGFloat side, CGFloat padding)
{
    CGFloat centre = side / 2;
    CGFloat radius = std::max(centre - padding, CGFloat(0));
    return {centre + radius * wheelPoint.x, centre - radius * wheelPoint.y};
}

CGPoint CVClampToValidArea(CGPoint viewPoint, CGFloat side, CGFloat padding, bool round)
{
    CGFloat centre = side / 2;
    CGFloat radius = std::max(centre - padding, CGFloat(0));
    if (!round)
        return {std::clamp(viewPoint.x, centre - radius, centre + radius),
                std::clamp(viewPoint.y, centre - radius, centre + radius)};
    CGFloat dx = viewPoint.x - centre;
    CGFloat dy = viewPoint.y - centre;
    CGFloat distance = std::hypot(dx, dy);
    if (distance <= radius)
        return viewPoint;
    return {centre + dx * radius / distance, centre + dy * radius / distance};
}
