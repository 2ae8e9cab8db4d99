#include "springboard/home-screen/SBIconBadgeView.h"

#include "springboard/Artwork.h"
#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/SpringBoardState.h"

#include <algorithm>

namespace {

constexpr CGFloat kBadgeHeight = 24;
// Room beside the text inside the disc, on each side.
constexpr CGFloat kTextMargin = 6;

UIImage *accessoryImageFrom(UIImage *image)
{
    return msg<UIImage *, UIImage *>(msg<id>(SBIconAccessoryImage::class_(), "alloc"_sel),
                                     "initWithImage:"_sel, image);
}

// The straight (not premultiplied) colour of one pixel of the image.
void readPixel(CGImageRef image, std::size_t x, std::size_t y, int rgb[3])
{
    const std::uint8_t *pixel = &image->m_pixels[(y * image->m_width + x) * 4];
    int alpha = pixel[3];
    for (int channel = 0; channel < 3; ++channel)
        rgb[channel] = alpha ? std::min(255, (pixel[channel] * 255 + alpha / 2) / alpha) : 0;
}

namespace imp {

UIImage *initWithImage(SBIconAccessoryImage *self, SEL, UIImage *image)
{
    if (!image) {
        objc_release(self);
        return nil;
    }
    return msg<UIImage *, CGImageRef, CGFloat, NSInteger>(
        self, "initWithCGImage:scale:orientation:"_sel, image->CGImage(), image->m_scale,
        image->m_orientation);
}

// One disc for every badge while SpringBoard runs.
UIImage *checkoutBackgroundImage(id, SEL)
{
    StrongRef<NSObject> &shared = sim::springBoardState().badgeBackgroundImage;
    if (!shared)
        shared =
            StrongRef<NSObject>::adopt(accessoryImageFrom(sim::badgeBackgroundImage(kBadgeHeight)));
    return static_cast<UIImage *>(shared.get());
}

UIImage *createImageForTextHighlighted(id, SEL, NSString *text, BOOL)
{
    return accessoryImageFrom(sim::badgeTextImage(text ? text->str() : "", kBadgeHeight));
}

id initWithFrame(SBIconBadgeView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(SBIconBadgeView::class_(), self, _cmd, frame))
        return nil;
    self->m_backgroundView = sim::newView<UIImageView>(UIImageView::class_(), CGRectZero);
    self->m_textView = sim::newView<UIImageView>(UIImageView::class_(), CGRectZero);
    sim::addSubview(self, self->m_backgroundView);
    sim::addSubview(self, self->m_textView);
    return self;
}

NSString *text(SBIconBadgeView *self, SEL)
{
    return self->m_text;
}

// Both images come from the class by message; the badge grows to hold its text.
void setText(SBIconBadgeView *self, SEL, NSString *text)
{
    self->m_text = text;
    Class cls = object_getClass(self);
    UIImage *background = msg<UIImage *>(cls, "_checkoutBackgroundImage"_sel);
    auto textImage = StrongRef<UIImage>::adopt(
        msg<UIImage *, NSString *, BOOL>(cls, "_createImageForText:highlighted:"_sel, text, NO));
    CGSize textSize = textImage ? textImage->size() : CGSizeZero;
    CGFloat width = std::max(kBadgeHeight, textSize.width + 2 * kTextMargin);
    msg<void, UIImage *>(self->m_backgroundView, "setImage:"_sel, background);
    msg<void, UIImage *>(self->m_textView, "setImage:"_sel, textImage);
    sim::setFrame(self->m_backgroundView, {{0, 0}, {width, kBadgeHeight}});
    sim::setFrame(self->m_textView,
                  {{(width - textSize.width) / 2, (kBadgeHeight - textSize.height) / 2}, textSize});
    CGRect frame = self->frame();
    sim::setFrame(self, {frame.origin, {width, kBadgeHeight}});
}

} // namespace imp

} // namespace

Class SBIconAccessoryImage::class_()
{
    return objc_getClass("SBIconAccessoryImage");
}

Class SBIconBadgeView::class_()
{
    return objc_getClass("SBIconBadgeView");
}

CGFloat SBIconBadgeView::badgeHeight()
{
    return kBadgeHeight;
}

namespace sim {

BadgeColors badgeColors(SBIconBadgeView *badge)
{
    BadgeColors colors;
    UIImage *background = badge->m_backgroundView->m_image;
    if (CGImageRef image = background ? background->CGImage() : nullptr)
        readPixel(image, image->m_width / 2, image->m_height / 2, colors.background);
    UIImage *text = badge->m_textView->m_image;
    CGImageRef image = text ? text->CGImage() : nullptr;
    std::size_t best = 0, bestAlpha = 0;
    for (std::size_t i = 0; image && i < image->m_width * image->m_height; ++i)
        if (image->m_pixels[i * 4 + 3] > bestAlpha)
            bestAlpha = image->m_pixels[(best = i) * 4 + 3];
    colors.hasText = bestAlpha >= 128;
    if (colors.hasText)
        readPixel(image, best % image->m_width, best / image->m_width, colors.text);
    return colors;
}

void registerBadgeClasses()
{
    HostClass<SBIconAccessoryImage>("SBIconAccessoryImage", "UIImage")
        .method("initWithImage:", imp::initWithImage)
        .registerClass();
    HostClass<SBIconBadgeView>("SBIconBadgeView", "UIView")
        .ivar("_text", &SBIconBadgeView::m_text)
        .method("initWithFrame:", imp::initWithFrame)
        .method("text", imp::text)
        .method("setText:", imp::setText)
        .classMethod("_checkoutBackgroundImage", imp::checkoutBackgroundImage)
        .classMethod("_createImageForText:highlighted:", imp::createImageForTextHighlighted)
        .registerClass();
}

} // namespace sim
