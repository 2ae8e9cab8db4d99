#include "quartzcore/CGColor.h"

#include "objc/ClassBuilder.h"

#include <algorithm>
#include <cmath>

namespace {

Class g_colorSpaceClass;
Class g_colorClass;

const Class kRegistered = [] {
    g_colorSpaceClass = ClassBuilder<CGColorSpace>("CGColorSpace", "NSObject").registerClass();
    g_colorClass = ClassBuilder<CGColor>("CGColor", "NSObject").registerClass();
    return g_colorClass;
}();

CGFloat unitComponent(CGFloat value)
{
    return std::isnan(value) ? 0 : std::clamp<CGFloat>(value, 0, 1);
}

} // namespace

Class CGColorSpace::class_()
{
    return g_colorSpaceClass;
}

Class CGColor::class_()
{
    return g_colorClass;
}

CGColorSpaceRef CGColorSpaceCreateDeviceRGB()
{
    return sim::create<CGColorSpace>(g_colorSpaceClass);
}

CGColorSpaceRef CGColorSpaceRetain(CGColorSpaceRef space)
{
    return retain(space);
}

void CGColorSpaceRelease(CGColorSpaceRef space)
{
    objc_release(space);
}

std::size_t CGColorSpaceGetNumberOfComponents(CGColorSpaceRef space)
{
    return space ? 3 : 0;
}

CGColorRef CGColorCreateGenericRGB(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha)
{
    auto *color = sim::create<CGColor>(g_colorClass);
    color->m_components[0] = unitComponent(red);
    color->m_components[1] = unitComponent(green);
    color->m_components[2] = unitComponent(blue);
    color->m_components[3] = unitComponent(alpha);
    return color;
}

CGColorRef CGColorCreate(CGColorSpaceRef space, const CGFloat *components)
{
    if (!space || !components)
        return nullptr;
    return CGColorCreateGenericRGB(components[0], components[1], components[2], components[3]);
}

CGColorRef CGColorCreateCopyWithAlpha(CGColorRef color, CGFloat alpha)
{
    if (!color)
        return nullptr;
    const CGFloat *c = color->m_components;
    return CGColorCreateGenericRGB(c[0], c[1], c[2], alpha);
}

CGColorRef CGColorRetain(CGColorRef color)
{
    return retain(color);
}

void CGColorRelease(CGColorRef color)
{
    objc_release(color);
}

const CGFloat *CGColorGetComponents(CGColorRef color)
{
    return color ? color->m_components : nullptr;
}

std::size_t CGColorGetNumberOfComponents(CGColorRef color)
{
    return color ? 4 : 0;
}

CGFloat CGColorGetAlpha(CGColorRef color)
{
    return color ? color->m_components[3] : 0;
}

bool CGColorEqualToColor(CGColorRef color1, CGColorRef color2)
{
    if (color1 == color2)
        return true;
    if (!color1 || !color2)
        return false;
    return std::equal(color1->m_components, color1->m_components + 4, color2->m_components);
}
