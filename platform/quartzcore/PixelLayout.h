#pragma once
// Bitmap infos, and the byte positions of a pixel's components that they describe (the
// table of layouts is in CGContext.h). Images keep premultiplied RGBA (CGImage.h), Cairo
// keeps its own layout, and bitmap contexts convert between those and the caller's.

#include <cstddef>
#include <cstdint>

using CGImageAlphaInfo = std::uint32_t;
inline constexpr CGImageAlphaInfo kCGImageAlphaNone = 0;
inline constexpr CGImageAlphaInfo kCGImageAlphaPremultipliedLast = 1;
inline constexpr CGImageAlphaInfo kCGImageAlphaPremultipliedFirst = 2;
inline constexpr CGImageAlphaInfo kCGImageAlphaLast = 3;
inline constexpr CGImageAlphaInfo kCGImageAlphaFirst = 4;
inline constexpr CGImageAlphaInfo kCGImageAlphaNoneSkipLast = 5;
inline constexpr CGImageAlphaInfo kCGImageAlphaNoneSkipFirst = 6;
inline constexpr CGImageAlphaInfo kCGImageAlphaOnly = 7;

using CGBitmapInfo = std::uint32_t;
inline constexpr CGBitmapInfo kCGBitmapAlphaInfoMask = 0x1F;
inline constexpr CGBitmapInfo kCGBitmapFloatComponents = 1 << 8;
inline constexpr CGBitmapInfo kCGBitmapByteOrderMask = 0x7000;
inline constexpr CGBitmapInfo kCGBitmapByteOrderDefault = 0 << 12;
inline constexpr CGBitmapInfo kCGBitmapByteOrder16Little = 1 << 12;
inline constexpr CGBitmapInfo kCGBitmapByteOrder32Little = 2 << 12;
inline constexpr CGBitmapInfo kCGBitmapByteOrder16Big = 3 << 12;
inline constexpr CGBitmapInfo kCGBitmapByteOrder32Big = 4 << 12;

namespace sim {

// Which of a pixel's four bytes holds each component.
struct PixelLayout {
    std::uint8_t red, green, blue, alpha;
    // The alpha byte carries nothing: it reads as 255.
    bool alphaSkipped;
};

// The layout of images (CGImage.h).
inline constexpr PixelLayout kImageLayout = {0, 1, 2, 3, false};
// Cairo's layout on this little-endian machine (premultiplied first, 32-bit little).
inline constexpr PixelLayout kCairoLayout = {2, 1, 0, 3, false};

// The layout a bitmap info describes, or false for one the stand-in does not draw.
bool pixelLayoutFor(CGBitmapInfo info, PixelLayout &layout);

// Copies width × height pixels, moving each component to its place in the other layout.
// A skipped alpha reads as 255; a layout that skips alpha gets the source alpha in the
// byte it does not read.
void copyPixels(const std::uint8_t *from, std::size_t fromBytesPerRow, PixelLayout fromLayout,
                std::uint8_t *to, std::size_t toBytesPerRow, PixelLayout toLayout,
                std::size_t width, std::size_t height);

} // namespace sim
