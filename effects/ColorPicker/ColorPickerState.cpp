#include "effects/ColorPicker/ColorPickerState.h"

#include "effects/ColorPicker/ColorWheelGeometry.h"
#include "effects/ColorPicker/HSVColor.h"

namespace {

ColorPickerState *initialised(ColorPickerState *self, CGPoint point, CGFloat brightness,
                              CGFloat alpha)
{
    self->m_x = float(point.x);
    self->m_y = float(point.y);
    self->m_brightness = float(brightness);
    self->m_alpha = float(alpha);
    return self;
}

ColorPickerState *newState()
{
    return autorelease(static_cast<ColorPickerState *>(
        msg<id>(reinterpret_cast<id>(ColorPickerState::class_()), "alloc"_sel)));
}

namespace imp {

id init(ColorPickerState *self, SEL)
{
    return initialised(self, CGPointZero, 1, 1);
}

id initWithScaledRelativePoint(ColorPickerState *self, SEL, CGPoint point, CGFloat brightness,
                               CGFloat alpha)
{
    return initialised(self, point, brightness, alpha);
}

id initWithHue(ColorPickerState *self, SEL, CGFloat hue, CGFloat saturation, CGFloat brightness,
               CGFloat alpha)
{
    return initialised(self, CVWheelPointForHueSaturation(float(hue), float(saturation)),
                       brightness, alpha);
}

id initWithColor(ColorPickerState *self, SEL, UIColor *color)
{
    CGFloat red = 0, green = 0, blue = 0, alpha = 0;
    msg<BOOL>(color, "getRed:green:blue:alpha:"_sel, &red, &green, &blue, &alpha);
    CVHSV hsv = CVHSVFromRGB(float(red), float(green), float(blue));
    return initWithHue(self, nullptr, hsv.hue, hsv.saturation, hsv.value, alpha);
}

ColorPickerState *stateForPoint(id, SEL, CGPoint point, CGFloat side, CGFloat padding,
                                CGFloat brightness, CGFloat alpha)
{
    return ColorPickerState::stateForPoint(point, side, padding, brightness, alpha);
}

CGPoint scaledRelativePoint(ColorPickerState *self, SEL)
{
    return self->scaledRelativePoint();
}

CGFloat hue(ColorPickerState *self, SEL)
{
    return self->hue();
}

CGFloat saturation(ColorPickerState *self, SEL)
{
    return self->saturation();
}

CGFloat brightness(ColorPickerState *self, SEL)
{
    return self->brightness();
}

CGFloat alpha(ColorPickerState *self, SEL)
{
    return self->alpha();
}

UIColor *color(ColorPickerState *self, SEL)
{
    return self->color();
}

NSString *description(ColorPickerState *self, SEL)
{
    return self->description();
}

CGPoint selectionPointForSize(ColorPickerState *self, SEL, CGFloat side, CGFloat padding)
{
    return self->selectionPoint(side, padding);
}

ColorPickerState *stateBySettingBrightness(ColorPickerState *self, SEL, CGFloat brightness)
{
    return self->stateBySettingBrightness(brightness);
}

ColorPickerState *stateBySettingAlpha(ColorPickerState *self, SEL, CGFloat alpha)
{
    return self->stateBySettingAlpha(alpha);
}

ColorPickerState *stateBySettingHue(ColorPickerState *self, SEL, CGFloat hue)
{
    return self->stateBySettingHue(hue);
}

ColorPickerState *stateBySettingSaturation(ColorPickerState *self, SEL, CGFloat saturation)
{
    return self->stateBySettingSaturation(saturation);
}

} // namespace imp

const Class kRegistered = ColorPickerState::class_();

} // namespace

Class ColorPickerState::class_()
{
    static const Class cls =
        ClassBuilder<ColorPickerState>("ColorPickerState", "NSObject")
            .method("init", imp::init)
            .method("initWithScaledRelativePoint:brightness:alpha:",
                    imp::initWithScaledRelativePoint)
            .method("initWithHue:saturation:brightness:alpha:", imp::initWithHue)
            .method("initWithColor:", imp::initWithColor)
            .classMethod("stateForPoint:size:padding:brightness:alpha:", imp::stateForPoint)
            .method("scaledRelativePoint", imp::scaledRelativePoint)
            .method("hue", imp::hue)
            .method("saturation", imp::saturation)
            .method("brightness", imp::brightness)
            .method("alpha", imp::alpha)
            .method("color", imp::color)
            .method("description", imp::description)
            .method("selectionPointForSize:padding:", imp::selectionPointForSize)
            .method("stateBySettingBrightness:", imp::stateBySettingBrightness)
            .method("stateBySettingAlpha:", imp::stateBySettingAlpha)
            .method("stateBySettingHue:", imp::stateBySettingHue)
            .method("stateBySettingSaturation:", imp::stateBySettingSaturation)
            .registerClass();
    return cls;
}

ColorPickerState *ColorPickerState::stateWithScaledRelativePoint(CGPoint point, CGFloat brightness,
                                                                 CGFloat alpha)
{
    return initialised(newState(), point, brightness, alpha);
}

ColorPickerState *ColorPickerState::stateWithHue(CGFloat hue, CGFloat saturation,
                                                 CGFloat brightness, CGFloat alpha)
{
    return static_cast<ColorPickerState *>(
        imp::initWithHue(newState(), nullptr, hue, saturation, brightness, alpha));
}

ColorPickerState *ColorPickerState::stateWithColor(UIColor *color)
{
    return static_cast<ColorPickerState *>(imp::initWithColor(newState(), nullptr, color));
}

ColorPickerState *ColorPickerState::stateForPoint(CGPoint point, CGFloat side, CGFloat padding,
                                                  CGFloat brightness, CGFloat alpha)
{
    return stateWithScaledRelativePoint(CVWheelPointForViewPoint(point, side, padding), brightness,
                                        alpha);
}

CGFloat ColorPickerState::hue() const
{
    return CVHueOfWheelPoint(scaledRelativePoint());
}

CGFloat ColorPickerState::saturation() const
{
    return CVSaturationOfWheelPoint(scaledRelativePoint());
}

UIColor *ColorPickerState::color() const
{
    CVRGB rgb = CVRGBFromHSV(float(hue()), float(saturation()), m_brightness);
    return UIColor::colorWithRedGreenBlueAlpha(rgb.red, rgb.green, rgb.blue, m_alpha);
}

NSString *ColorPickerState::description() const
{
    NSString *point = NSString::stringWithFormat("{%g, %g}", double(m_x), double(m_y));
    return NSString::stringWithFormat("<%s: %p { scaledPoint:%@ brightness:%f alpha:%f} >",
                                      object_getClassName(const_cast<ColorPickerState *>(this)),
                                      static_cast<const void *>(this), point, double(m_brightness),
                                      double(m_alpha));
}

CGPoint ColorPickerState::selectionPoint(CGFloat side, CGFloat padding) const
{
    return CVViewPointForWheelPoint(scaledRelativePoint(), side, padding);
}

ColorPickerState *ColorPickerState::stateBySettingBrightness(CGFloat brightness) const
{
    return stateWithScaledRelativePoint(scaledRelativePoint(), brightness, m_alpha);
}

ColorPickerState *ColorPickerState::stateBySettingAlpha(CGFloat alpha) const
{
    return stateWithScaledRelativePoint(scaledRelativePoint(), m_brightness, alpha);
}

ColorPickerState *ColorPickerState::stateBySettingHue(CGFloat newHue) const
{
    return stateWithHue(newHue, saturation(), m_brightness, m_alpha);
}

ColorPickerState *ColorPickerState::stateBySettingSaturation(CGFloat newSaturation) const
{
    return stateWithHue(hue(), newSaturation, m_brightness, m_alpha);
}
