#include "uikit/UIColor.h"

#include "foundation/NSString.h"

#include <algorithm>

namespace {

CGFloat clamped(CGFloat component)
{
    return std::isnan(component) ? 0 : std::clamp(component, 0.0, 1.0);
}

namespace imp {

UIColor *colorWithRedGreenBlueAlpha(id, SEL, CGFloat red, CGFloat green, CGFloat blue,
                                    CGFloat alpha)
{
    return UIColor::colorWithRedGreenBlueAlpha(red, green, blue, alpha);
}

UIColor *colorWithWhiteAlpha(id, SEL, CGFloat white, CGFloat alpha)
{
    return UIColor::colorWithWhiteAlpha(white, alpha);
}

UIColor *colorWithCGColor(id, SEL, CGColorRef color)
{
    return UIColor::colorWithCGColor(color);
}

UIColor *whiteColor(id, SEL)
{
    return UIColor::whiteColor();
}

UIColor *blackColor(id, SEL)
{
    return UIColor::blackColor();
}

UIColor *clearColor(id, SEL)
{
    return UIColor::clearColor();
}

CGColorRef cgColor(UIColor *self, SEL)
{
    return self->CGColor();
}

BOOL getRedGreenBlueAlpha(UIColor *self, SEL, CGFloat *red, CGFloat *green, CGFloat *blue,
                          CGFloat *alpha)
{
    for (auto [out, value] : {std::pair{red, self->m_red}, std::pair{green, self->m_green},
                              std::pair{blue, self->m_blue}, std::pair{alpha, self->m_alpha}})
        if (out)
            *out = value;
    return YES;
}

UIColor *colorWithAlphaComponent(UIColor *self, SEL, CGFloat alpha)
{
    return self->colorWithAlphaComponent(alpha);
}

BOOL isEqual(UIColor *self, SEL, id other)
{
    return other && msg<BOOL>(other, "isKindOfClass:"_sel, UIColor::class_()) &&
           self->isEqualToColor(static_cast<UIColor *>(other));
}

NSString *description(UIColor *self, SEL)
{
    return NSString::stringWithFormat("UIDeviceRGBColorSpace %g %g %g %g", self->m_red,
                                      self->m_green, self->m_blue, self->m_alpha);
}

} // namespace imp

const Class kRegistered = UIColor::class_();

} // namespace

UIColor::~UIColor()
{
    CGColorRelease(m_cgColor);
}

Class UIColor::class_()
{
    static const Class cls =
        ClassBuilder<UIColor>("UIColor", "NSObject")
            .classMethod("colorWithRed:green:blue:alpha:", imp::colorWithRedGreenBlueAlpha)
            .classMethod("colorWithWhite:alpha:", imp::colorWithWhiteAlpha)
            .classMethod("colorWithCGColor:", imp::colorWithCGColor)
            .classMethod("whiteColor", imp::whiteColor)
            .classMethod("blackColor", imp::blackColor)
            .classMethod("clearColor", imp::clearColor)
            .method("CGColor", imp::cgColor)
            .method("getRed:green:blue:alpha:", imp::getRedGreenBlueAlpha)
            .method("colorWithAlphaComponent:", imp::colorWithAlphaComponent)
            .method("isEqual:", imp::isEqual)
            .method("description", imp::description)
            .registerClass();
    return cls;
}

UIColor *UIColor::colorWithRedGreenBlueAlpha(CGFloat red, CGFloat green, CGFloat blue,
                                             CGFloat alpha)
{
    auto *color = sim::make<UIColor>(class_());
    color->m_red = clamped(red);
    color->m_green = clamped(green);
    color->m_blue = clamped(blue);
    color->m_alpha = clamped(alpha);
    return color;
}

UIColor *UIColor::colorWithWhiteAlpha(CGFloat white, CGFloat alpha)
{
    return colorWithRedGreenBlueAlpha(white, white, white, alpha);
}

UIColor *UIColor::colorWithCGColor(CGColorRef color)
{
    const CGFloat *components = CGColorGetComponents(color);
    if (!components)
        return nil;
    return colorWithRedGreenBlueAlpha(components[0], components[1], components[2], components[3]);
}

UIColor *UIColor::whiteColor()
{
    return colorWithWhiteAlpha(1, 1);
}

UIColor *UIColor::blackColor()
{
    return colorWithWhiteAlpha(0, 1);
}

UIColor *UIColor::clearColor()
{
    return colorWithWhiteAlpha(0, 0);
}

CGColorRef UIColor::CGColor() const
{
    if (!m_cgColor)
        m_cgColor = CGColorCreateGenericRGB(m_red, m_green, m_blue, m_alpha);
    return m_cgColor;
}

UIColor *UIColor::colorWithAlphaComponent(CGFloat alpha) const
{
    return colorWithRedGreenBlueAlpha(m_red, m_green, m_blue, alpha);
}

bool UIColor::isEqualToColor(const UIColor *other) const
{
    return other && m_red == other->m_red && m_green == other->m_green && m_blue == other->m_blue &&
           m_alpha == other->m_alpha;
}
