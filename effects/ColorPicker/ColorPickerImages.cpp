#include "effects/ColorPicker/ColorPickerImages.h"

#include "foundation/CoreFoundation.h"
#include "quartzcore/CGContext.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct Premultiplied {
    std::uint8_t red, green, blue, alpha;
};

Premultiplied premultiplied(double white, double alpha)
{
    auto level = std::uint8_t(std::lround(255 * white * alpha));
    return {level, level, level, std::uint8_t(std::lround(255 * alpha))};
}

void put(std::vector<std::uint8_t> &pixels, std::size_t index, Premultiplied colour)
{
    std::memcpy(pixels.data() + index * 4, &colour, 4);
}

StrongRef<CGImage> imageOf(std::size_t width, std::size_t height,
                           const std::vector<std::uint8_t> &pixels)
{
    return CVImageFromPixels(width, height, pixels.data());
}

// How much of the pixel whose centre lies `distance` from the ring's centre is covered by
// the band from radius `inner` to `outer`, approximated by the band's overlap with a
// one-pixel span about that distance.
double bandCoverage(double distance, double inner, double outer)
{
    double from = std::max(distance - 0.5, inner);
    double to = std::min(distance + 0.5, outer);
    return std::clamp(to - from, 0.0, 1.0);
}

} // namespace

StrongRef<CGImage> CVImageFromPixels(std::size_t width, std::size_t height,
                                     const std::uint8_t *premultipliedRGBA)
{
    if (width == 0 || height == 0)
        return {};
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef context =
        CGBitmapContextCreate(nullptr, width, height, 8, width * 4, space,
                              kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big);
    CGColorSpaceRelease(space);
    if (!context)
        return {};
    std::memcpy(CGBitmapContextGetData(context), premultipliedRGBA, width * height * 4);
    auto image = StrongRef<CGImage>::adopt(CGBitmapContextCreateImage(context));
    CGContextRelease(context);
    return image;
}

StrongRef<CGImage> CVRingImage(std::size_t side, double width, double edge)
{
    if (side == 0)
        return {};
    std::vector<std::uint8_t> pixels(side * side * 4);
    double centre = double(side) / 2;
    double outer = centre;
    double band = outer - edge;
    double inner = band - width;
    for (std::size_t y = 0; y < side; ++y)
        for (std::size_t x = 0; x < side; ++x) {
            double distance = std::hypot(double(x) + 0.5 - centre, double(y) + 0.5 - centre);
            double white = bandCoverage(distance, inner, band);
            double dark = 0.5 * bandCoverage(distance, band, outer);
            // Both bands over transparent: white is opaque, the edge half-transparent black.
            double alpha = white + dark;
            put(pixels, y * side + x, premultiplied(alpha > 0 ? white / alpha : 0, alpha));
        }
    return imageOf(side, side, pixels);
}

StrongRef<CGImage> CVCheckerboardImage(std::size_t width, std::size_t height, double tile,
                                       double white)
{
    if (width == 0 || height == 0 || !(tile > 0))
        return {};
    std::vector<std::uint8_t> pixels(width * height * 4);
    double square = tile / 2;
    Premultiplied light = premultiplied(1, 1);
    Premultiplied dark = premultiplied(white, 1);
    for (std::size_t y = 0; y < height; ++y)
        for (std::size_t x = 0; x < width; ++x) {
            auto column = long(std::floor(double(x) / square));
            auto row = long(std::floor(double(y) / square));
            put(pixels, y * width + x, (column + row) % 2 == 0 ? light : dark);
        }
    return imageOf(width, height, pixels);
}

StrongRef<CGImage> CVMagnifiedImage(CGImageRef wheel, CGPoint centre, std::size_t side,
                                    int magnification, bool round)
{
    if (side == 0 || magnification < 1 || !wheel)
        return {};
    std::size_t wheelSide = CGImageGetWidth(wheel);
    // The provider is autoreleased; the copy of the bytes is ours.
    AutoreleasePool pool;
    CFDataRef wheelBytes = CGDataProviderCopyData(CGImageGetDataProvider(wheel));
    const std::uint8_t *source = CFDataGetBytePtr(wheelBytes);
    std::size_t sourceRow = CGImageGetBytesPerRow(wheel);
    double half = double(wheelSide) / 2;
    std::vector<std::uint8_t> pixels(side * side * 4);
    for (std::size_t y = 0; y < side; ++y)
        for (std::size_t x = 0; x < side; ++x) {
            // The wheel position under this pixel's centre.
            double wx = centre.x + (double(x) + 0.5 - double(side) / 2) / magnification;
            double wy = centre.y + (double(y) + 0.5 - double(side) / 2) / magnification;
            if (!(wx >= 0 && wy >= 0 && wx < double(wheelSide) && wy < double(wheelSide)))
                continue;
            if (round && std::hypot(wx - half, wy - half) > half)
                continue;
            std::size_t from = std::size_t(wy) * sourceRow + std::size_t(wx) * 4;
            std::memcpy(pixels.data() + (y * side + x) * 4, source + from, 4);
        }
    CFRelease(wheelBytes);
    return imageOf(side, side, pixels);
}
