#pragma once
// Images: immutable grids of pixels. Every image of the stand-in holds its pixels in one
// layout, whatever made it: 8 bits per component, four components per pixel in the byte
// order red, green, blue, alpha, colour premultiplied by alpha, rows of exactly
// 4 × width bytes from the top row down. Bitmap contexts convert to and from their own
// layouts when they make or draw an image (CGContext.h), and the renderer samples these
// bytes directly.
//
// Images are objects with reference counts; functions named Create answer an image the
// caller owns and must release.

#include "foundation/CoreFoundation.h"
#include "objc/NSObject.h"
#include "quartzcore/CGGeometry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct CGImage : NSObject {
    std::size_t m_width = 0;
    std::size_t m_height = 0;
    std::vector<std::uint8_t> m_pixels;

    static Class class_();
};
using CGImageRef = CGImage *;

// What an image's bytes are read from. Here it holds its image, whose bytes it copies out
// on request in the layout above.
struct CGDataProvider : NSObject {
    StrongRef<CGImage> m_image;

    static Class class_();
};
using CGDataProviderRef = CGDataProvider *;

extern "C" {

std::size_t CGImageGetWidth(CGImageRef image);
std::size_t CGImageGetHeight(CGImageRef image);
std::size_t CGImageGetBytesPerRow(CGImageRef image);
std::size_t CGImageGetBitsPerComponent(CGImageRef image);
std::size_t CGImageGetBitsPerPixel(CGImageRef image);
CGImageRef CGImageRetain(CGImageRef image);
void CGImageRelease(CGImageRef image);

// The part of `image` inside `rect` (in pixels, origin at the top-left), rounded out to
// whole pixels; nil when the two do not overlap. The caller owns the answer.
CGImageRef CGImageCreateWithImageInRect(CGImageRef image, CGRect rect);

// The provider of the image's bytes (not owned by the caller); nil for nil.
CGDataProviderRef CGImageGetDataProvider(CGImageRef image);
// A copy of the provider's bytes (rows of CGImageGetBytesPerRow bytes, top row first), as
// a data object the caller owns; nil for nil.
CFDataRef CGDataProviderCopyData(CGDataProviderRef provider);

} // extern "C"

namespace sim {

// An image of `width` × `height` pixels over premultiplied RGBA bytes in the layout above
// (4 × width × height bytes). Nil, with a logged error, when the byte count does not match
// or a size is zero. Colour bytes above their alpha are clamped to it. The caller owns the answer,
// as with every image that is created.
CGImageRef imageFromPixels(std::size_t width, std::size_t height,
                           std::vector<std::uint8_t> premultipliedRGBA);

// The image's bytes in the layout above; empty for nil.
const std::vector<std::uint8_t> &pixelsOf(CGImageRef image);

} // namespace sim
