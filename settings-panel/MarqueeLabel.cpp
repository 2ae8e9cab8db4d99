#include "settings-panel/MarqueeLabel.h"

#include "settings-panel/CVViewAnimation.h"
#include "uikit/UIGraphics.h"
#include "uikit/UIImage.h"

namespace {

Class g_class;

CGFloat textWidth(MarqueeLabel *self)
{
    CGSize unbounded{1e6, msg<CGRect>(self, "bounds"_sel).size.height};
    return msg<CGSize>(self, "sizeThatFits:"_sel, unbounded).width;
}

// The text drawn as the label draws it, with the margins on both sides.
UIImage *imageOfText(MarqueeLabel *self, CGFloat width, CGFloat height)
{
    UIGraphicsBeginImageContextWithOptions(CGSize{width + 2 * MarqueeLabel::kMargin, height}, NO,
                                           0);
    msgSuper<void>(g_class, self, "drawTextInRect:"_sel,
                   CGRect{{MarqueeLabel::kMargin, 0}, {width, height}});
    UIImage *image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

void stopScrolling(MarqueeLabel *self)
{
    if (!self->m_scrollingText)
        return;
    msg<void>(self->m_scrollingText.get(), "removeFromSuperview"_sel);
    self->m_scrollingText = nil;
}

void startScrolling(MarqueeLabel *self, CGFloat width, CGFloat height, CGFloat overflow)
{
    id imageView = msg<id>(UIImageView::class_(), "alloc"_sel);
    imageView = msg<id>(imageView, "initWithImage:"_sel, imageOfText(self, width, height));
    self->m_scrollingText = StrongRef<UIImageView>::adopt(static_cast<UIImageView *>(imageView));
    CGRect start{{0, 0}, {width + 2 * MarqueeLabel::kMargin, height}};
    msg<void>(imageView, "setFrame:"_sel, start);
    msg<void>(self, "addSubview:"_sel, imageView);
    CGRect end = start;
    end.origin.x = -overflow;
    CVAnimate(overflow / MarqueeLabel::kScrollSpeed, MarqueeLabel::kScrollDelay,
              UIViewAnimationOptionCurveLinear,
              [imageView, end] { msg<void>(imageView, "setFrame:"_sel, end); });
}

// Decides between scrolling and plain drawing for the present text and width; a layout
// that changes neither leaves a running scroll alone.
void updateScrolling(MarqueeLabel *self)
{
    NSString *text = msg<NSString *>(self, "text"_sel);
    CGRect bounds = msg<CGRect>(self, "bounds"_sel);
    std::string current = text ? text->str() : std::string();
    if (current == self->m_laidOutText && bounds.size.width == self->m_laidOutWidth)
        return;
    self->m_laidOutText = current;
    self->m_laidOutWidth = bounds.size.width;
    stopScrolling(self);
    CGFloat width = text ? textWidth(self) : 0;
    CGFloat available = bounds.size.width - 2 * MarqueeLabel::kMargin;
    if (width > available)
        startScrolling(self, width, bounds.size.height,
                       width + 2 * MarqueeLabel::kMargin - bounds.size.width);
    msg<void>(self, "setNeedsDisplay"_sel);
}

void setText(MarqueeLabel *self, SEL _cmd, NSString *text)
{
    msgSuper<void>(g_class, self, _cmd, text);
    updateScrolling(self);
}

void layoutSubviews(MarqueeLabel *self, SEL _cmd)
{
    msgSuper<void>(g_class, self, _cmd);
    updateScrolling(self);
}

// A scrolling text is the image's to show; a text that fits keeps clear of the margins.
void drawTextInRect(MarqueeLabel *self, SEL _cmd, CGRect rect)
{
    if (self->m_scrollingText)
        return;
    rect.origin.x += MarqueeLabel::kMargin;
    rect.size.width -= 2 * MarqueeLabel::kMargin;
    msgSuper<void>(g_class, self, _cmd, rect);
}

const Class kRegistered = [] {
    g_class = ClassBuilder<MarqueeLabel>("MarqueeLabel", "UILabel")
                  .method("setText:", setText)
                  .method("layoutSubviews", layoutSubviews)
                  .method("drawTextInRect:", drawTextInRect)
                  .registerClass();
    return g_class;
}();

} // namespace

Class MarqueeLabel::class_()
{
    return g_class;
}
