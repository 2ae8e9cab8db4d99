#pragma once
// Colours of views and text: red, green, blue and alpha from 0 to 1 in device RGB, the
// one colour space of the graphics stand-in. A UIColor owns the CGColor it answers, so
// the CGColor lives as long as the UIColor does.

#include "quartzcore/CGColor.h"

struct UIColor : NSObject {
    CGFloat m_red = 0;
    CGFloat m_green = 0;
    CGFloat m_blue = 0;
    CGFloat m_alpha = 0;
    mutable CGColorRef m_cgColor = nil; // made on first use

    ~UIColor();

    static Class class_();

    // Autoreleased.
    static UIColor *colorWithRedGreenBlueAlpha(CGFloat red, CGFloat green, CGFloat blue,
                                               CGFloat alpha);
    static UIColor *colorWithWhiteAlpha(CGFloat white, CGFloat alpha);
    static UIColor *colorWithCGColor(CGColorRef color);
    static UIColor *whiteColor();
    static UIColor *blackColor();
    static UIColor *clearColor();

    CGColorRef CGColor() const;
    UIColor *colorWithAlphaComponent(CGFloat alpha) const;
    bool isEqualToColor(const UIColor *other) const;
};
