#include "springboard/Artwork.h"

#include "foundation/DeviceProfile.h"
#include "uikit/TextLayout.h"
#include "uikit/UIFont.h"
#include "uikit/UIGraphics.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace sim {
namespace {

constexpr RGBA kWallpaperTop = {0.13, 0.22, 0.45, 1};
constexpr RGBA kWallpaperBottom = {0.47, 0.20, 0.42, 1};
constexpr std::size_t kWallpaperRows = 64; // stretched over the screen's height

CGFloat screenScale()
{
    return DeviceProfile::current()->screenScale;
}

std::uint8_t byteOf(CGFloat component)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(component, 0.0, 1.0) * 255));
}

// How much of the pixel whose centre is (x, y) lies inside the rounded rectangle of
// `width` × `height` pixels with corners of `radius` pixels.
CGFloat coverage(CGFloat x, CGFloat y, CGFloat width, CGFloat height, CGFloat radius)
{
    CGFloat dx = std::max({radius - x, x - (width - radius), CGFloat(0)});
    CGFloat dy = std::max({radius - y, y - (height - radius), CGFloat(0)});
    if (dx == 0 || dy == 0)
        return std::clamp(std::min({x, y, width - x, height - y}) + 0.5, 0.0, 1.0);
    return std::clamp(radius - std::hypot(dx, dy) + 0.5, 0.0, 1.0);
}

// A rounded rectangle of one colour, `side` points square; the caller owns the image.
CGImageRef roundedSquare(CGFloat side, CGFloat cornerShare, RGBA color)
{
    auto pixels = static_cast<std::size_t>(std::ceil(side * screenScale()));
    auto extent = static_cast<CGFloat>(pixels);
    std::vector<std::uint8_t> bytes(pixels * pixels * 4);
    for (std::size_t row = 0; row < pixels; ++row) {
        for (std::size_t column = 0; column < pixels; ++column) {
            CGFloat alpha = color.alpha * coverage(CGFloat(column) + 0.5, CGFloat(row) + 0.5,
                                                   extent, extent, extent * cornerShare);
            std::uint8_t *pixel = &bytes[(row * pixels + column) * 4];
            pixel[0] = byteOf(color.red * alpha);
            pixel[1] = byteOf(color.green * alpha);
            pixel[2] = byteOf(color.blue * alpha);
            pixel[3] = byteOf(alpha);
        }
    }
    return imageFromPixels(pixels, pixels, std::move(bytes));
}

// Draws an image upright into `rect` of a UIKit image context, whose flip would
// otherwise turn it upside down.
void drawUpright(CGContextRef context, CGImageRef image, CGRect rect)
{
    CGContextSaveGState(context);
    CGContextTranslateCTM(context, 0, rect.origin.y + rect.size.height);
    CGContextScaleCTM(context, 1, -1);
    CGContextDrawImage(context, {{rect.origin.x, 0}, rect.size}, image);
    CGContextRestoreGState(context);
}

// The first character of the text, as UTF-8.
std::string firstCharacter(const std::string &text)
{
    if (text.empty())
        return {};
    std::size_t length = 1;
    while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        ++length;
    return text.substr(0, length);
}

RGBA colorFromHue(CGFloat hue, CGFloat saturation, CGFloat value)
{
    auto channel = [&](CGFloat n) {
        CGFloat k = std::fmod(n + hue * 6, 6);
        return value - value * saturation * std::clamp(std::min(k, 4 - k), 0.0, 1.0);
    };
    return {channel(5), channel(3), channel(1), 1};
}

// A hand from the dial's centre, turned `turns` of a full circle clockwise from twelve.
void drawHand(CGContextRef context, CGPoint centre, CGFloat turns, CGFloat length, CGFloat width,
              RGBA color)
{
    CGContextSaveGState(context);
    CGContextTranslateCTM(context, centre.x, centre.y);
    CGContextRotateCTM(context, turns * 2 * M_PI);
    CGContextSetRGBFillColor(context, color.red, color.green, color.blue, color.alpha);
    // Up is -y in a UIKit image context; the hand reaches a little past the centre.
    CGContextFillRect(context, {{-width / 2, -length}, {width, length + width}});
    CGContextRestoreGState(context);
}

} // namespace

RGBA iconColorForIdentifier(const std::string &bundleIdentifier)
{
    std::uint32_t hash = 0x811c9dc5;
    for (unsigned char byte : bundleIdentifier)
        hash = (hash ^ byte) * 16777619u;
    return colorFromHue(CGFloat(hash % 360) / 360, 0.55, 0.85);
}

UIImage *applicationIconImage(const std::string &bundleIdentifier, const std::string &name,
                              CGFloat side)
{
    StrongRef<CGImage> square = StrongRef<CGImage>::adopt(
        roundedSquare(side, 0.225, iconColorForIdentifier(bundleIdentifier)));
    UIGraphicsBeginImageContextWithOptions({side, side}, NO, 0);
    CGContextRef context = UIGraphicsGetCurrentContext();
    CGRect bounds = {{0, 0}, {side, side}};
    drawUpright(context, square, bounds);
    TextStyle letter;
    letter.font = UIFont::boldSystemFontOfSize(side * 0.5);
    letter.pointSize = side * 0.5;
    letter.red = letter.green = letter.blue = 1;
    letter.alignment = TextAlignment::Center;
    drawText(context, firstCharacter(name), letter, bounds);
    UIImage *image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

UIImage *folderIconImage(const std::vector<UIImage *> &contents, CGFloat side)
{
    StrongRef<CGImage> square =
        StrongRef<CGImage>::adopt(roundedSquare(side, 0.225, {1, 1, 1, 0.35}));
    UIGraphicsBeginImageContextWithOptions({side, side}, NO, 0);
    CGContextRef context = UIGraphicsGetCurrentContext();
    drawUpright(context, square, {{0, 0}, {side, side}});
    CGFloat gap = side / 13;
    CGFloat miniature = (side - 4 * gap) / 3;
    for (std::size_t i = 0; i < std::min<std::size_t>(contents.size(), 9); ++i) {
        CGFloat x = gap + CGFloat(i % 3) * (miniature + gap);
        CGFloat y = gap + CGFloat(i / 3) * (miniature + gap);
        drawUpright(context, contents[i]->CGImage(), {{x, y}, {miniature, miniature}});
    }
    UIImage *image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

UIImage *clockIconImage(int hour, int minute, CGFloat side)
{
    auto face = StrongRef<CGImage>::adopt(roundedSquare(side, 0.225, {0, 0, 0, 1}));
    CGFloat inset = side * 0.08;
    CGFloat dialSide = side - 2 * inset;
    auto dial = StrongRef<CGImage>::adopt(roundedSquare(dialSide, 0.5, {1, 1, 1, 1}));
    UIGraphicsBeginImageContextWithOptions({side, side}, NO, 0);
    CGContextRef context = UIGraphicsGetCurrentContext();
    drawUpright(context, face, {{0, 0}, {side, side}});
    drawUpright(context, dial, {{inset, inset}, {dialSide, dialSide}});
    CGPoint centre = {side / 2, side / 2};
    CGFloat minutes = CGFloat((hour % 12) * 60 + minute);
    drawHand(context, centre, minutes / 720, dialSide * 0.28, side * 0.05, {0, 0, 0, 1});
    drawHand(context, centre, CGFloat(minute) / 60, dialSide * 0.42, side * 0.035, {0, 0, 0, 1});
    UIImage *image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

UIImage *pageDotImage(CGFloat side, CGFloat white, CGFloat alpha)
{
    StrongRef<CGImage> dot =
        StrongRef<CGImage>::adopt(roundedSquare(side, 0.5, {white, white, white, alpha}));
    return UIImage::imageWithCGImageScaleOrientation(dot, screenScale(), UIImageOrientationUp);
}

UIImage *badgeBackgroundImage(CGFloat side)
{
    constexpr RGBA kBadgeRed = {1, 0.23, 0.19, 1};
    StrongRef<CGImage> disc = StrongRef<CGImage>::adopt(roundedSquare(side, 0.5, kBadgeRed));
    return UIImage::imageWithCGImageScaleOrientation(disc, screenScale(), UIImageOrientationUp);
}

UIImage *badgeTextImage(const std::string &text, CGFloat height)
{
    TextStyle digits;
    digits.font = UIFont::systemFontOfSize(height * 0.7);
    digits.pointSize = height * 0.7;
    digits.red = digits.green = digits.blue = 1;
    digits.alignment = TextAlignment::Center;
    // Never cut: a badge is as wide as its text.
    digits.numberOfLines = 0;
    CGFloat width = std::max(std::ceil(measureText(text, digits, 0).width) + 1, CGFloat(1));
    UIGraphicsBeginImageContextWithOptions({width, height}, NO, 0);
    drawText(UIGraphicsGetCurrentContext(), text, digits, {{0, 0}, {width, height}});
    UIImage *image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

RGBA wallpaperColorAt(CGFloat fraction)
{
    CGFloat t = std::clamp(fraction, 0.0, 1.0);
    auto mix = [t](CGFloat top, CGFloat bottom) { return top + (bottom - top) * t; };
    return {mix(kWallpaperTop.red, kWallpaperBottom.red),
            mix(kWallpaperTop.green, kWallpaperBottom.green),
            mix(kWallpaperTop.blue, kWallpaperBottom.blue), 1};
}

UIImage *wallpaperImage()
{
    std::vector<std::uint8_t> bytes(kWallpaperRows * 4);
    for (std::size_t row = 0; row < kWallpaperRows; ++row) {
        RGBA color = wallpaperColorAt((CGFloat(row) + 0.5) / kWallpaperRows);
        std::uint8_t *pixel = &bytes[row * 4];
        pixel[0] = byteOf(color.red);
        pixel[1] = byteOf(color.green);
        pixel[2] = byteOf(color.blue);
        pixel[3] = 255;
    }
    StrongRef<CGImage> gradient =
        StrongRef<CGImage>::adopt(imageFromPixels(1, kWallpaperRows, std::move(bytes)));
    return UIImage::imageWithCGImageScaleOrientation(gradient, 1, UIImageOrientationUp);
}

} // namespace sim
