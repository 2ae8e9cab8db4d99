#pragma once
// Labels: one style of text drawn into the label's own layer at the screen's scale,
// centred vertically in the bounds. A single-line label that is too narrow cuts its text
// with an ellipsis, or, with adjustsFontSizeToFitWidth, shrinks the font until the text
// fits (not below minimumScaleFactor of its size, when that is set). With the profile's
// Bold Text setting on, every label draws one weight heavier.

#include "uikit/UIFont.h"
#include "uikit/UIView.h"

enum NSTextAlignment : NSInteger {
    NSTextAlignmentLeft = 0,
    NSTextAlignmentCenter = 1,
    NSTextAlignmentRight = 2,
    NSTextAlignmentJustified = 3,
    NSTextAlignmentNatural = 4,
};

struct UILabel : UIView {
    StrongRef<NSString> m_text;
    StrongRef<UIFont> m_font;
    StrongRef<UIColor> m_textColor;
    NSTextAlignment m_textAlignment = NSTextAlignmentNatural;
    NSInteger m_numberOfLines = 1;
    bool m_adjustsFontSizeToFitWidth = false;
    CGFloat m_minimumScaleFactor = 0;

    static Class class_();
};
