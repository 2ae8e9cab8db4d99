#pragma once
// ColorPickerState: what the colour picker has selected, as an immutable value. The
// selection is a point of the wheel space (ColorWheelGeometry.h: the unit disc, y upwards),
// from which hue and saturation follow, plus a brightness and an alpha, each 0…1.
// `color` is the platform colour of that hue, saturation, brightness and alpha.
//
// A state is made from a wheel point, from hue and saturation, from a colour, or from a
// position in a picker view of a given size and padding; a state answers its position in
// such a view (`selectionPointForSize:padding:`) and derived states with one value
// replaced. Every operation is a message of the class "ColorPickerState"; C++ callers use
// the member functions, which send nothing and do the same.

#include "foundation/NSString.h"
#include "uikit/UIColor.h"

struct ColorPickerState : NSObject {
    float m_x = 0; // the wheel point
    float m_y = 0;
    float m_brightness = 1;
    float m_alpha = 1;

    static Class class_();

    // Autoreleased states; see the init messages below.
    static ColorPickerState *stateWithScaledRelativePoint(CGPoint point, CGFloat brightness,
                                                          CGFloat alpha);
    static ColorPickerState *stateWithHue(CGFloat hue, CGFloat saturation, CGFloat brightness,
                                          CGFloat alpha);
    static ColorPickerState *stateWithColor(UIColor *color);
    // The state of a position in a square picker view of side `side` with that padding.
    static ColorPickerState *stateForPoint(CGPoint point, CGFloat side, CGFloat padding,
                                           CGFloat brightness, CGFloat alpha);

    CGPoint scaledRelativePoint() const { return {m_x, m_y}; }
    // atan2(y, x) as a fraction of a turn, in 0…1.
    CGFloat hue() const;
    // The point's length, at most 1.
    CGFloat saturation() const;
    CGFloat brightness() const { return m_brightness; }
    CGFloat alpha() const { return m_alpha; }
    // Autoreleased.
    UIColor *color() const;
    NSString *description() const;

    // Where the state lies in a picker view of side `side` with that padding.
    CGPoint selectionPoint(CGFloat side, CGFloat padding) const;

    // New states (autoreleased) with one value replaced: hue keeps the saturation and
    // saturation keeps the hue.
    ColorPickerState *stateBySettingBrightness(CGFloat brightness) const;
    ColorPickerState *stateBySettingAlpha(CGFloat alpha) const;
    ColorPickerState *stateBySettingHue(CGFloat hue) const;
    ColorPickerState *stateBySettingSaturation(CGFloat saturation) const;
};
