#pragma once
// PNG files to and from images. Images in memory hold premultiplied RGBA (CGImage.h); PNG
// stores straight (unpremultiplied) alpha, so both directions convert. Any colour type,
// bit depth or interlacing that libpng reads is accepted and expanded to RGBA.
//
// Decoding goes through libpng's simplified interface, which reports corrupt or truncated
// data as a failure instead of jumping out of the caller, so bad data is an empty answer
// and never a crash.

#include "quartzcore/CGImage.h"

#include <optional>

namespace sim {

// The image in a PNG file's bytes, or nil when they are not a readable PNG. The caller
// owns the answer.
CGImageRef createImageFromPNG(const std::uint8_t *bytes, std::size_t length);

// How a PNG is compressed: small for files that are kept, fast for images shown at once
// and thrown away (a screen sent to a browser while a finger moves).
enum class PNGCompression { Small, Fast };

// The bytes of a PNG file holding the image, or nothing for nil.
std::optional<std::vector<std::uint8_t>>
encodePNG(CGImageRef image, PNGCompression compression = PNGCompression::Small);

} // namespace sim
