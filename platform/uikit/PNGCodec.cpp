#include "uikit/PNGCodec.h"

#include <png.h>

#include <cstring>

namespace sim {
namespace {

// Rounded division of channel * alpha by 255, both directions staying within a byte.
std::uint8_t premultiply(std::uint8_t channel, std::uint8_t alpha)
{
    return static_cast<std::uint8_t>((channel * alpha + 127) / 255);
}

std::uint8_t unpremultiply(std::uint8_t channel, std::uint8_t alpha)
{
    if (alpha == 0)
        return 0;
    unsigned value = (channel * 255u + alpha / 2) / alpha;
    return static_cast<std::uint8_t>(value > 255 ? 255 : value);
}

void convertRow(std::uint8_t *pixel, std::size_t count,
                std::uint8_t (*rule)(std::uint8_t, std::uint8_t))
{
    for (std::size_t i = 0; i < count; ++i, pixel += 4) {
        std::uint8_t alpha = pixel[3];
        if (alpha == 255)
            continue;
        pixel[0] = rule(pixel[0], alpha);
        pixel[1] = rule(pixel[1], alpha);
        pixel[2] = rule(pixel[2], alpha);
    }
}

} // namespace

CGImageRef createImageFromPNG(const std::uint8_t *bytes, std::size_t length)
{
    if (!bytes || length == 0)
        return nil;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes, length))
        return nil;
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return nil;
    }
    convertRow(pixels.data(), image.width * image.height, premultiply);
    return imageFromPixels(image.width, image.height, std::move(pixels));
}

std::optional<std::vector<std::uint8_t>> encodePNG(CGImageRef source, PNGCompression compression)
{
    if (!source)
        return std::nullopt;
    std::vector<std::uint8_t> straight = pixelsOf(source);
    convertRow(straight.data(), source->m_width * source->m_height, unpremultiply);

    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(source->m_width);
    image.height = static_cast<png_uint_32>(source->m_height);
    image.format = PNG_FORMAT_RGBA;
    if (compression == PNGCompression::Fast)
        image.flags |= PNG_IMAGE_FLAG_FAST;
    // Written once into a buffer of the largest size the file can have, rather than
    // compressed twice to learn the size first.
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    std::vector<std::uint8_t> file(size);
    if (!png_image_write_to_memory(&image, file.data(), &size, 0, straight.data(), 0, nullptr))
        return std::nullopt;
    file.resize(size);
    return file;
}

} // namespace sim
