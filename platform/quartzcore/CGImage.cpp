#include "quartzcore/CGImage.h"

#include "foundation/NSLog.h"
#include "objc/ClassBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

Class g_imageClass;
Class g_dataProviderClass;

const Class kRegistered = [] {
    g_imageClass = ClassBuilder<CGImage>("CGImage", "NSObject").registerClass();
    g_dataProviderClass =
        ClassBuilder<CGDataProvider>("CGDataProvider", "NSObject").registerClass();
    return g_imageClass;
}();

// A premultiplied colour byte never exceeds its alpha; bytes that do (from a careless
// producer) are clamped, so blending can never carry into a neighbouring component.
// Every image made from a context passes through here, so it runs four pixels at a time:
// each alpha byte repeated over its pixel caps the colour bytes and leaves alpha as it is.
void keepPremultiplied(std::vector<std::uint8_t> &pixels)
{
    using Bytes16 = std::uint8_t __attribute__((vector_size(16)));
    using Words4 = std::uint32_t __attribute__((vector_size(16)));
    std::uint8_t *pixel = pixels.data();
    std::size_t count = pixels.size() / 4, i = 0;
    for (; i + 4 <= count; i += 4, pixel += 16) {
        Words4 words;
        std::memcpy(&words, pixel, 16);
        Bytes16 bytes = Bytes16(words), caps = Bytes16((words >> 24) * 0x01010101u);
        bytes = bytes < caps ? bytes : caps;
        std::memcpy(pixel, &bytes, 16);
    }
    for (; i < count; ++i, pixel += 4)
        for (int c = 0; c < 3; ++c)
            pixel[c] = std::min(pixel[c], pixel[3]);
}

const std::vector<std::uint8_t> kNoPixels;

} // namespace

Class CGImage::class_()
{
    return g_imageClass;
}

std::size_t CGImageGetWidth(CGImageRef image)
{
    return image ? image->m_width : 0;
}

std::size_t CGImageGetHeight(CGImageRef image)
{
    return image ? image->m_height : 0;
}

std::size_t CGImageGetBytesPerRow(CGImageRef image)
{
    return image ? image->m_width * 4 : 0;
}

std::size_t CGImageGetBitsPerComponent(CGImageRef image)
{
    return image ? 8 : 0;
}

std::size_t CGImageGetBitsPerPixel(CGImageRef image)
{
    return image ? 32 : 0;
}

CGImageRef CGImageRetain(CGImageRef image)
{
    return retain(image);
}

void CGImageRelease(CGImageRef image)
{
    objc_release(image);
}

CGImageRef CGImageCreateWithImageInRect(CGImageRef image, CGRect rect)
{
    if (!image)
        return nullptr;
    CGRect whole = CGRectMake(0, 0, image->m_width, image->m_height);
    CGRect part = CGRectIntegral(CGRectIntersection(whole, rect));
    if (CGRectIsEmpty(part))
        return nullptr;
    auto left = std::size_t(part.origin.x), top = std::size_t(part.origin.y);
    auto width = std::size_t(part.size.width), height = std::size_t(part.size.height);
    std::vector<std::uint8_t> pixels(width * height * 4);
    for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t *from = image->m_pixels.data() + ((top + y) * image->m_width + left) * 4;
        std::copy(from, from + width * 4, pixels.data() + y * width * 4);
    }
    return sim::imageFromPixels(width, height, std::move(pixels));
}

Class CGDataProvider::class_()
{
    return g_dataProviderClass;
}

CGDataProviderRef CGImageGetDataProvider(CGImageRef image)
{
    if (!image)
        return nullptr;
    // Made afresh and autoreleased: the provider holds its image, so the image cannot
    // hold it back.
    auto *provider = sim::make<CGDataProvider>(g_dataProviderClass);
    provider->m_image = image;
    return provider;
}

CFDataRef CGDataProviderCopyData(CGDataProviderRef provider)
{
    if (!provider || !provider->m_image)
        return nullptr;
    const std::vector<std::uint8_t> &pixels = provider->m_image->m_pixels;
    return CFDataCreate(nullptr, pixels.data(), CFIndex(pixels.size()));
}

namespace sim {

CGImageRef imageFromPixels(std::size_t width, std::size_t height,
                           std::vector<std::uint8_t> premultipliedRGBA)
{
    if (width == 0 || height == 0 || premultipliedRGBA.size() / 4 / width != height ||
        premultipliedRGBA.size() != width * height * 4) {
        NSLog("imageFromPixels: %zu bytes do not make a %zu x %zu RGBA image",
              premultipliedRGBA.size(), width, height);
        return nullptr;
    }
    auto *image = create<CGImage>(g_imageClass);
    image->m_width = width;
    image->m_height = height;
    keepPremultiplied(premultipliedRGBA);
    image->m_pixels = std::move(premultipliedRGBA);
    return image;
}

const std::vector<std::uint8_t> &pixelsOf(CGImageRef image)
{
    return image ? image->m_pixels : kNoPixels;
}

} // namespace sim
