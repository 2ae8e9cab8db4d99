#pragma once
// What the image effect tests share: images made from a few pixels and pixel probes, as the
// images keep them: premultiplied red, green, blue and alpha, rows from the top.

#include "uikit/UIImage.h"
#include "uikit/tests/UIKitTest.h"

#include <vector>

using Rgba = Pixel;

// An image of `width` × (pixels / width) pixels, row after row from the top.
inline UIImage *imageOf(const std::vector<Rgba> &pixels, std::size_t width = 0, CGFloat scale = 1,
                        UIImageOrientation orientation = UIImageOrientationUp)
{
    if (width == 0)
        width = pixels.size();
    std::vector<std::uint8_t> bytes;
    for (const Rgba &p : pixels)
        bytes.insert(bytes.end(), {std::uint8_t(p.red), std::uint8_t(p.green), std::uint8_t(p.blue),
                                   std::uint8_t(p.alpha)});
    auto image = StrongRef<CGImage>::adopt(
        sim::imageFromPixels(width, pixels.size() / width, std::move(bytes)));
    return UIImage::imageWithCGImageScaleOrientation(image, scale, orientation);
}

// An image that claims `width` × `height` pixels but holds none, for sizes that no
// buffer should be made for.
inline UIImage *emptyImageClaiming(std::size_t width, std::size_t height)
{
    auto image = StrongRef<CGImage>::adopt(sim::create<CGImage>(CGImage::class_()));
    image->m_width = width;
    image->m_height = height;
    return UIImage::imageWithCGImageScaleOrientation(image, 1, UIImageOrientationUp);
}

// Every pixel of the image, row after row from the top.
inline std::vector<Rgba> pixelsOf(UIImage *image)
{
    std::vector<Rgba> pixels;
    const std::vector<std::uint8_t> &bytes = sim::pixelsOf(image ? image->CGImage() : nullptr);
    for (std::size_t i = 0; i + 3 < bytes.size(); i += 4)
        pixels.push_back({bytes[i], bytes[i + 1], bytes[i + 2], bytes[i + 3]});
    return pixels;
}

class EffectsTest : public testing::Test {
protected:
    AutoreleasePool pool;
};
