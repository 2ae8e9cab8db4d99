#include "uikit/UITableViewCell.h"

#include "uikit/ControlParts.h"

#include <algorithm>

namespace {

constexpr CGFloat kDefaultWidth = 320;
constexpr CGFloat kDefaultHeight = 44;
constexpr CGFloat kTextSize = 17;
constexpr CGFloat kSubtitleSize = 12;
constexpr CGFloat kValue2TitleWidth = 91;
constexpr CGFloat kAccessoryGap = 10;

// The glyph drawn for each accessory type; None has none.
struct AccessoryLook {
    const char *glyph;
    bool tinted;
};

AccessoryLook accessoryLook(UITableViewCellAccessoryType type)
{
    switch (type) {
    case UITableViewCellAccessoryDisclosureIndicator:
        return {"\u203a", false};
    case UITableViewCellAccessoryDetailDisclosureButton:
        return {"\u24d8 \u203a", true};
    case UITableViewCellAccessoryCheckmark:
        return {"\u2713", true};
    case UITableViewCellAccessoryNone:
        break;
    }
    return {nullptr, false};
}

void showAccessory(UITableViewCell *self)
{
    if (self->m_accessoryGlyph)
        msg<void>(self->m_accessoryGlyph, "removeFromSuperview"_sel);
    self->m_accessoryGlyph = nil;
    UIView *shown = self->m_accessoryView;
    AccessoryLook look = accessoryLook(self->m_accessoryType);
    if (!shown && look.glyph) {
        UILabel *glyph =
            sim::makeLabel(kTextSize, look.tinted ? sim::defaultTintColor()
                                                  : UIColor::colorWithWhiteAlpha(0.78, 1));
        msg<void, NSString *>(glyph, "setText:"_sel, NSString::stringWithUTF8String(look.glyph));
        msg<void>(glyph, "sizeToFit"_sel);
        self->m_accessoryGlyph = glyph;
        shown = glyph;
    }
    if (shown)
        msg<void, UIView *>(self, "addSubview:"_sel, shown);
    msg<void>(self, "setNeedsLayout"_sel);
}

// A selected or highlighted cell is shaded, unless its selection style is None.
void showSelection(UITableViewCell *self)
{
    bool shaded = (self->m_selected || self->m_highlighted) &&
                  self->m_selectionStyle != UITableViewCellSelectionStyleNone;
    msg<void, UIColor *>(self, "setBackgroundColor:"_sel,
                         shaded ? UIColor::colorWithWhiteAlpha(0.85, 1) : UIColor::whiteColor());
}

UILabel *addLabel(UITableViewCell *self, CGFloat size, UIColor *color)
{
    UILabel *label = sim::makeLabel(size, color);
    msg<void, UIView *>(self->m_contentView, "addSubview:"_sel, label);
    msg<void>(self, "setNeedsLayout"_sel);
    return label;
}

CGFloat fittedWidth(UILabel *label)
{
    if (!label)
        return 0;
    return msg<CGSize, CGSize>(label, "sizeThatFits:"_sel, CGSizeZero).width;
}

// Places the labels of the style in the content view's bounds, after the image.
void layoutLabels(UITableViewCell *self, CGRect area)
{
    UILabel *text = self->m_textLabel;
    UILabel *detail = self->m_detailTextLabel;
    CGFloat height = area.size.height;
    switch (self->m_style) {
    case UITableViewCellStyleValue1: {
        CGFloat detailWidth = std::min(fittedWidth(detail), area.size.width);
        msg<void, CGRect>(
            detail, "setFrame:"_sel,
            CGRect{CGRectGetMaxX(area) - detailWidth, area.origin.y, detailWidth, height});
        msg<void, CGRect>(text, "setFrame:"_sel,
                          CGRect{area.origin.x, area.origin.y,
                                 std::max<CGFloat>(0, area.size.width - detailWidth - 8), height});
        return;
    }
    case UITableViewCellStyleValue2: {
        msg<void, CGRect>(text, "setFrame:"_sel,
                          CGRect{area.origin.x, area.origin.y, kValue2TitleWidth, height});
        CGFloat x = area.origin.x + kValue2TitleWidth + 6;
        msg<void, CGRect>(
            detail, "setFrame:"_sel,
            CGRect{x, area.origin.y, std::max<CGFloat>(0, CGRectGetMaxX(area) - x), height});
        return;
    }
    case UITableViewCellStyleSubtitle:
        if (detail && detail->m_text && detail->m_text->length()) {
            msg<void, CGRect>(
                text, "setFrame:"_sel,
                CGRect{area.origin.x, area.origin.y + 4, area.size.width, height * 0.55 - 4});
            msg<void, CGRect>(detail, "setFrame:"_sel,
                              CGRect{area.origin.x, area.origin.y + height * 0.55, area.size.width,
                                     height * 0.45 - 4});
            return;
        }
        break;
    case UITableViewCellStyleDefault:
        break;
    }
    msg<void, CGRect>(text, "setFrame:"_sel, area);
}

namespace imp {

id initWithFrame(UITableViewCell *self, SEL _cmd, CGRect frame)
{
    msgSuper<id, CGRect>(UITableViewCell::class_(), self, _cmd, frame);
    self->m_contentView = sim::makeFilledView(self->bounds(), UIColor::clearColor());
    self->m_contentView->m_userInteractionEnabled = true;
    msg<void, UIView *>(self, "addSubview:"_sel, self->m_contentView);
    showSelection(self);
    return self;
}

id initWithStyleReuseIdentifier(UITableViewCell *self, SEL, UITableViewCellStyle style,
                                NSString *reuseIdentifier)
{
    msg<id, CGRect>(self, "initWithFrame:"_sel, CGRect{0, 0, kDefaultWidth, kDefaultHeight});
    self->m_style = style;
    self->m_reuseIdentifier =
        StrongRef<NSString>::adopt(msg<NSString *>(reuseIdentifier, "copy"_sel));
    return self;
}

NSString *reuseIdentifier(UITableViewCell *self, SEL)
{
    return self->m_reuseIdentifier;
}

UILabel *textLabel(UITableViewCell *self, SEL)
{
    if (!self->m_textLabel)
        self->m_textLabel = addLabel(self, kTextSize, UIColor::blackColor());
    return self->m_textLabel;
}

// The Default style has no detail label; the others make theirs on first use.
UILabel *detailTextLabel(UITableViewCell *self, SEL)
{
    if (!self->m_detailTextLabel && self->m_style != UITableViewCellStyleDefault) {
        bool subtitle = self->m_style == UITableViewCellStyleSubtitle;
        self->m_detailTextLabel =
            addLabel(self, subtitle ? kSubtitleSize : kTextSize,
                     subtitle ? UIColor::blackColor() : sim::secondaryTextColor());
        if (self->m_style == UITableViewCellStyleValue1)
            msg<void, NSTextAlignment>(self->m_detailTextLabel, "setTextAlignment:"_sel,
                                       NSTextAlignmentRight);
    }
    return self->m_detailTextLabel;
}

UIImageView *imageView(UITableViewCell *self, SEL)
{
    if (!self->m_imageView) {
        self->m_imageView =
            StrongRef<UIImageView>::adopt(static_cast<UIImageView *>(msg<id, CGRect>(
                msg<id>(UIImageView::class_(), "alloc"_sel), "initWithFrame:"_sel, CGRectZero)));
        msg<void, UIView *>(self->m_contentView, "addSubview:"_sel, self->m_imageView);
        msg<void>(self, "setNeedsLayout"_sel);
    }
    return self->m_imageView;
}

void setAccessoryType(UITableViewCell *self, SEL, UITableViewCellAccessoryType type)
{
    self->m_accessoryType = type;
    showAccessory(self);
}

void setAccessoryView(UITableViewCell *self, SEL, UIView *view)
{
    if (self->m_accessoryView == view)
        return;
    if (self->m_accessoryView)
        msg<void>(self->m_accessoryView, "removeFromSuperview"_sel);
    self->m_accessoryView = view;
    showAccessory(self);
}

void setSelectionStyle(UITableViewCell *self, SEL, UITableViewCellSelectionStyle style)
{
    self->m_selectionStyle = style;
    showSelection(self);
}

void setSelected(UITableViewCell *self, SEL, BOOL selected)
{
    msg<void, BOOL, BOOL>(self, "setSelected:animated:"_sel, selected, NO);
}

void setSelectedAnimated(UITableViewCell *self, SEL, BOOL selected, BOOL)
{
    self->m_selected = selected;
    showSelection(self);
}

void setHighlighted(UITableViewCell *self, SEL, BOOL highlighted)
{
    msg<void, BOOL, BOOL>(self, "setHighlighted:animated:"_sel, highlighted, NO);
}

void setHighlightedAnimated(UITableViewCell *self, SEL, BOOL highlighted, BOOL)
{
    self->m_highlighted = highlighted;
    showSelection(self);
}

void prepareForReuse(UITableViewCell *self, SEL)
{
    msg<void, BOOL, BOOL>(self, "setSelected:animated:"_sel, NO, NO);
    msg<void, BOOL, BOOL>(self, "setHighlighted:animated:"_sel, NO, NO);
}

// Content view, then the accessory at the trailing edge, vertically centred; in the
// content view the image at the leading inset, then the labels.
void layoutSubviews(UITableViewCell *self, SEL)
{
    CGRect bounds = self->bounds();
    UIView *accessory =
        self->m_accessoryView ? self->m_accessoryView.get() : self->m_accessoryGlyph.get();
    CGFloat contentWidth = bounds.size.width;
    if (accessory) {
        CGSize size = accessory->bounds().size;
        CGFloat x = bounds.size.width - UITableViewCell::kLeadingInset - size.width;
        msg<void, CGRect>(
            accessory, "setFrame:"_sel,
            CGRect{x, (bounds.size.height - size.height) / 2, size.width, size.height});
        contentWidth = x - kAccessoryGap;
    }
    msg<void, CGRect>(self->m_contentView, "setFrame:"_sel,
                      CGRect{0, 0, std::max<CGFloat>(0, contentWidth), bounds.size.height});
    CGFloat x = UITableViewCell::kLeadingInset;
    UIImage *image = self->m_imageView ? self->m_imageView->m_image.get() : nil;
    if (image) {
        CGSize size = image->size();
        CGFloat side = std::min(size.height, bounds.size.height - 8);
        CGFloat width = size.height > 0 ? size.width * side / size.height : 0;
        msg<void, CGRect>(self->m_imageView, "setFrame:"_sel,
                          CGRect{x, (bounds.size.height - side) / 2, width, side});
        x += width + UITableViewCell::kLeadingInset;
    }
    CGFloat right =
        std::max<CGFloat>(x, contentWidth - (accessory ? 0 : UITableViewCell::kLeadingInset));
    layoutLabels(self, {x, 0, right - x, bounds.size.height});
}

} // namespace imp

const Class kRegistered = UITableViewCell::class_();

} // namespace

Class UITableViewCell::class_()
{
    static const Class cls = [] {
        UIView::class_();
        return ClassBuilder<UITableViewCell>("UITableViewCell", "UIView")
            .method("initWithFrame:", imp::initWithFrame)
            .method("initWithStyle:reuseIdentifier:", imp::initWithStyleReuseIdentifier)
            .method("reuseIdentifier", imp::reuseIdentifier)
            .getter<&UITableViewCell::m_contentView>("contentView")
            .method("textLabel", imp::textLabel)
            .method("detailTextLabel", imp::detailTextLabel)
            .method("imageView", imp::imageView)
            .getter<&UITableViewCell::m_accessoryType>("accessoryType")
            .method("setAccessoryType:", imp::setAccessoryType)
            .getter<&UITableViewCell::m_accessoryView>("accessoryView")
            .method("setAccessoryView:", imp::setAccessoryView)
            .getter<&UITableViewCell::m_selectionStyle>("selectionStyle")
            .method("setSelectionStyle:", imp::setSelectionStyle)
            .getter<&UITableViewCell::m_selected>("isSelected")
            .method("setSelected:", imp::setSelected)
            .method("setSelected:animated:", imp::setSelectedAnimated)
            .getter<&UITableViewCell::m_highlighted>("isHighlighted")
            .method("setHighlighted:", imp::setHighlighted)
            .method("setHighlighted:animated:", imp::setHighlightedAnimated)
            .method("prepareForReuse", imp::prepareForReuse)
            .method("layoutSubviews", imp::layoutSubviews)
            .registerClass();
    }();
    return cls;
}
