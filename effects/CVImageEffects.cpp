#include "effects/CVImageEffects.h"

#include "effects/CVCategory.h"
#include "quartzcore/CGContext.h"

#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>

namespace {

// The filters' buffer: premultiplied alpha stored last in 32-bit little-endian words,
// so a pixel's bytes are alpha, blue, green, red.
constexpr CGBitmapInfo kFilterBitmapInfo =
    kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Little;

// Beyond this a buffer counts as one that cannot be had: no icon is worth risking the
// process on a single allocation. A 16384 × 16384 image needs exactly this much.
constexpr double kLargestBufferBytes = double(std::size_t(1) << 30);

struct PixelSize {
    std::size_t width;
    std::size_t height;
};

// The image's size in points times its scale, truncated. For the orientations that turn
// an image a quarter the size in points is the turned one, so the pixels are drawn into
// the turned size, as on the phone; icons are square, where that makes no difference.
// Nothing when there is not a single pixel or the buffer would pass the largest.
std::optional<PixelSize> pixelSizeOf(UIImage *image)
{
    CGSize points = msg<CGSize>(image, "size"_sel);
    CGFloat scale = msg<CGFloat>(image, "scale"_sel);
    double width = std::trunc(points.width * scale);
    double height = std::trunc(points.height * scale);
    if (!(width >= 1 && height >= 1) || width * height * 4 > kLargestBufferBytes)
        return std::nullopt;
    return PixelSize{std::size_t(width), std::size_t(height)};
}

struct FreeBytes {
    void operator()(std::uint8_t *bytes) const { std::free(bytes); }
};
using PixelBytes = std::unique_ptr<std::uint8_t, FreeBytes>;

// Draws the image into a cleared buffer of the filters' layout, lets `walk` change its
// pixels, and answers an image of the buffer at the image's scale and orientation. Nil
// when the buffer, the colour space or the context cannot be had. The context goes before
// the buffer it draws into, the reverse of the order they are made in.
template <class Walk> UIImage *recolouredImage(UIImage *image, const Walk &walk)
{
    std::optional<PixelSize> size = image ? pixelSizeOf(image) : std::nullopt;
    if (!size)
        return nil;
    auto [width, height] = *size;
    PixelBytes bytes(static_cast<std::uint8_t *>(std::calloc(width * height, 4)));
    if (!bytes)
        return nil;
    auto space = StrongRef<CGColorSpace>::adopt(CGColorSpaceCreateDeviceRGB());
    if (!space)
        return nil;
    auto context = StrongRef<CGContext>::adopt(
        CGBitmapContextCreate(bytes.get(), width, height, 8, width * 4, space, kFilterBitmapInfo));
    if (!context)
        return nil;
    CGContextDrawImage(context, CGRectMake(0, 0, CGFloat(width), CGFloat(height)),
                       msg<CGImageRef>(image, "CGImage"_sel));
    walk(CVPixelBuffer{bytes.get(), width, height});
    auto filtered = StrongRef<CGImage>::adopt(CGBitmapContextCreateImage(context));
    return UIImage::imageWithCGImageScaleOrientation(
        filtered, msg<CGFloat>(image, "scale"_sel),
        msg<UIImageOrientation>(image, "imageOrientation"_sel));
}

namespace category {

UIImage *recolourPixels(UIImage *self, SEL, CVPixelBlock block)
{
    return CVRecolourPixels(self, block);
}

UIImage *invertedImage(UIImage *self, SEL)
{
    return CVFilteredImage(self, CVPixelFilter::Invert);
}

UIImage *blackAndWhiteImage(UIImage *self, SEL)
{
    return CVFilteredImage(self, CVPixelFilter::BlackAndWhite);
}

UIImage *sepiaImage(UIImage *self, SEL)
{
    return CVFilteredImage(self, CVPixelFilter::Sepia);
}

UIImage *fadedImage(UIImage *self, SEL)
{
    return CVFilteredImage(self, CVPixelFilter::Faded);
}

UIImage *psychoImage(UIImage *self, SEL)
{
    return CVFilteredImage(self, CVPixelFilter::Psycho);
}

UIImage *redAscendantImage(UIImage *self, SEL)
{
    return CVFilteredImage(self, CVPixelFilter::RedAscendant);
}

UIImage *greenAscendantImage(UIImage *self, SEL)
{
    return CVFilteredImage(self, CVPixelFilter::GreenAscendant);
}

UIImage *contrastImage(UIImage *self, SEL, float factor)
{
    return CVContrastImage(self, factor);
}

UIImage *imageWithAlpha(UIImage *self, SEL, float alpha)
{
    return CVImageWithAlpha(self, alpha);
}

} // namespace category

// UIImage(CVEffects), added when the library loads.
[[gnu::constructor]] void addImageEffects()
{
    Class image = UIImage::class_();
    CVAddCategoryMethod(image, "recolourPixels:", category::recolourPixels);
    CVAddCategoryMethod(image, "invertedImage", category::invertedImage);
    CVAddCategoryMethod(image, "blackAndWhiteImage", category::blackAndWhiteImage);
    CVAddCategoryMethod(image, "sepiaImage", category::sepiaImage);
    CVAddCategoryMethod(image, "fadedImage", category::fadedImage);
    CVAddCategoryMethod(image, "psychoImage", category::psychoImage);
    CVAddCategoryMethod(image, "redAscendantImage", category::redAscendantImage);
    CVAddCategoryMethod(image, "greenAscendantImage", category::greenAscendantImage);
    CVAddCategoryMethod(image, "contrastImage:", category::contrastImage);
    CVAddCategoryMethod(image, "imageWithAlpha:", category::imageWithAlpha);
}

} // namespace

UIImage *CVRecolourPixels(UIImage *image, const CVPixelBlock &block)
{
    if (!block)
        return image;
    return recolouredImage(image, [&](CVPixelBuffer buffer) { CVRecolourBuffer(buffer, block); });
}

UIImage *CVFilteredImage(UIImage *image, CVPixelFilter filter)
{
    return recolouredImage(image, [&](CVPixelBuffer buffer) { CVFilterBuffer(buffer, filter); });
}

UIImage *CVContrastImage(UIImage *image, float factor)
{
    return recolouredImage(image, [&](CVPixelBuffer buffer) { CVContrastBuffer(buffer, factor); });
}

UIImage *CVImageWithAlpha(UIImage *image, float alpha)
{
    if (!image)
        return nil;
    CGImageRef pixels = msg<CGImageRef>(image, "CGImage"_sel);
    std::size_t width = CGImageGetWidth(pixels);
    std::size_t height = CGImageGetHeight(pixels);
    auto space = StrongRef<CGColorSpace>::adopt(CGColorSpaceCreateDeviceRGB());
    auto context = StrongRef<CGContext>::adopt(CGBitmapContextCreate(
        nullptr, width, height, 8, width * 4, space, kCGImageAlphaPremultipliedFirst));
    if (!context)
        return image;
    CGContextSetAlpha(context, alpha);
    CGContextDrawImage(context, CGRectMake(0, 0, CGFloat(width), CGFloat(height)), pixels);
    auto drawn = StrongRef<CGImage>::adopt(CGBitmapContextCreateImage(context));
    return UIImage::imageWithCGImageScaleOrientation(drawn, msg<CGFloat>(image, "scale"_sel),
                                                     UIImageOrientationUp);
}
