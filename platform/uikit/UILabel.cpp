#include "uikit/UILabel.h"

#include "uikit/TextLayout.h"
#include "uikit/UIDevice.h"
#include "uikit/UIGraphics.h"

#include <algorithm>

namespace {

const std::string &textOf(UILabel *label)
{
    static const std::string empty;
    return label->m_text ? label->m_text->str() : empty;
}

sim::TextStyle styleOf(UILabel *label)
{
    sim::TextStyle style;
    style.font = label->m_font;
    style.pointSize = label->m_font->pointSize();
    style.bolder = UIAccessibilityIsBoldTextEnabled();
    if (const UIColor *color = label->m_textColor) {
        style.red = color->m_red;
        style.green = color->m_green;
        style.blue = color->m_blue;
        style.alpha = color->m_alpha;
    }
    if (label->m_textAlignment == NSTextAlignmentCenter)
        style.alignment = sim::TextAlignment::Center;
    else if (label->m_textAlignment == NSTextAlignmentRight)
        style.alignment = sim::TextAlignment::Right;
    style.numberOfLines = label->m_numberOfLines;
    return style;
}

// The style shrunk so that one line of text fits the width, where the label allows it.
sim::TextStyle fittedStyle(UILabel *label, CGFloat width)
{
    sim::TextStyle style = styleOf(label);
    if (!label->m_adjustsFontSizeToFitWidth || label->m_numberOfLines != 1 || width <= 0)
        return style;
    CGFloat natural = sim::measureText(textOf(label), style, 0).width;
    if (natural <= width)
        return style;
    CGFloat smallest = style.pointSize * std::max<CGFloat>(label->m_minimumScaleFactor, 0.01);
    style.pointSize = std::max(smallest, std::floor(style.pointSize * width / natural));
    return style;
}

void redraw(UILabel *label)
{
    label->layer()->setNeedsDisplay();
}

namespace imp {

id initWithFrame(UILabel *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(UILabel::class_(), self, _cmd, frame))
        return nil;
    self->m_font = UIFont::systemFontOfSize(17);
    self->m_textColor = UIColor::blackColor();
    self->m_userInteractionEnabled = false;
    return self;
}

NSString *text(UILabel *self, SEL)
{
    return self->m_text;
}

void setText(UILabel *self, SEL, NSString *text)
{
    self->m_text = StrongRef<NSString>::adopt(msg<NSString *>(text, "copy"_sel));
    redraw(self);
}

void setFont(UILabel *self, SEL, UIFont *font)
{
    self->m_font = font ? font : UIFont::systemFontOfSize(17);
    redraw(self);
}

void setTextColor(UILabel *self, SEL, UIColor *color)
{
    self->m_textColor = color ? color : UIColor::blackColor();
    redraw(self);
}

void setTextAlignment(UILabel *self, SEL, NSTextAlignment alignment)
{
    self->m_textAlignment = alignment;
    redraw(self);
}

void setNumberOfLines(UILabel *self, SEL, NSInteger lines)
{
    self->m_numberOfLines = std::max<NSInteger>(lines, 0);
    redraw(self);
}

void setAdjustsFontSizeToFitWidth(UILabel *self, SEL, BOOL adjusts)
{
    self->m_adjustsFontSizeToFitWidth = adjusts;
    redraw(self);
}

void setMinimumScaleFactor(UILabel *self, SEL, CGFloat factor)
{
    self->m_minimumScaleFactor = factor;
    redraw(self);
}

// A single-line label is as wide as its text; a multi-line one wraps at the width given.
CGSize sizeThatFits(UILabel *self, SEL, CGSize size)
{
    CGFloat width = self->m_numberOfLines == 1 ? 0 : size.width;
    return sim::measureText(textOf(self), styleOf(self), width);
}

void drawTextInRect(UILabel *self, SEL, CGRect rect)
{
    sim::drawText(UIGraphicsGetCurrentContext(), textOf(self), fittedStyle(self, rect.size.width),
                  rect);
}

void drawRect(UILabel *self, SEL, CGRect rect)
{
    msg<void, CGRect>(self, "drawTextInRect:"_sel, rect);
}

} // namespace imp

const Class kRegistered = UILabel::class_();

} // namespace

Class UILabel::class_()
{
    static const Class cls = [] {
        UIView::class_();
        return ClassBuilder<UILabel>("UILabel", "UIView")
            .method("initWithFrame:", imp::initWithFrame)
            .method("text", imp::text)
            .method("setText:", imp::setText)
            .getter<&UILabel::m_font>("font")
            .method("setFont:", imp::setFont)
            .getter<&UILabel::m_textColor>("textColor")
            .method("setTextColor:", imp::setTextColor)
            .getter<&UILabel::m_textAlignment>("textAlignment")
            .method("setTextAlignment:", imp::setTextAlignment)
            .getter<&UILabel::m_numberOfLines>("numberOfLines")
            .method("setNumberOfLines:", imp::setNumberOfLines)
            .getter<&UILabel::m_adjustsFontSizeToFitWidth>("adjustsFontSizeToFitWidth")
            .method("setAdjustsFontSizeToFitWidth:", imp::setAdjustsFontSizeToFitWidth)
            .getter<&UILabel::m_minimumScaleFactor>("minimumScaleFactor")
            .method("setMinimumScaleFactor:", imp::setMinimumScaleFactor)
            .method("sizeThatFits:", imp::sizeThatFits)
            .method("drawTextInRect:", imp::drawTextInRect)
            .method("drawRect:", imp::drawRect)
            .registerClass();
    }();
    return cls;
}
