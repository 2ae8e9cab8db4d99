// Bitmap infos to byte positions, and copying pixels between layouts.

#include "quartzcore/PixelLayout.h"

namespace sim {

bool pixelLayoutFor(CGBitmapInfo info, PixelLayout &layout)
{
    if (info & kCGBitmapFloatComponents)
        return false;
    CGImageAlphaInfo alpha = info & kCGBitmapAlphaInfoMask;
    CGBitmapInfo order = info & kCGBitmapByteOrderMask;
    bool alphaLast = alpha == kCGImageAlphaPremultipliedLast || alpha == kCGImageAlphaNoneSkipLast;
    bool alphaFirst =
        alpha == kCGImageAlphaPremultipliedFirst || alpha == kCGImageAlphaNoneSkipFirst;
    if (!alphaLast && !alphaFirst)
        return false;
    if (order != kCGBitmapByteOrderDefault && order != kCGBitmapByteOrder32Big &&
        order != kCGBitmapByteOrder32Little)
        return false;
    // Positions in the big-endian word, most significant byte first.
    PixelLayout word = alphaLast ? PixelLayout{0, 1, 2, 3, false} : PixelLayout{1, 2, 3, 0, false};
    if (order == kCGBitmapByteOrder32Little)
        word = {std::uint8_t(3 - word.red), std::uint8_t(3 - word.green),
                std::uint8_t(3 - word.blue), std::uint8_t(3 - word.alpha), false};
    word.alphaSkipped = alpha == kCGImageAlphaNoneSkipLast || alpha == kCGImageAlphaNoneSkipFirst;
    layout = word;
    return true;
}

void copyPixels(const std::uint8_t *from, std::size_t fromBytesPerRow, PixelLayout fromLayout,
                std::uint8_t *to, std::size_t toBytesPerRow, PixelLayout toLayout,
                std::size_t width, std::size_t height)
{
    for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t *source = from + y * fromBytesPerRow;
        std::uint8_t *target = to + y * toBytesPerRow;
        for (std::size_t x = 0; x < width; ++x, source += 4, target += 4) {
            target[toLayout.red] = source[fromLayout.red];
            target[toLayout.green] = source[fromLayout.green];
            target[toLayout.blue] = source[fromLayout.blue];
            target[toLayout.alpha] = fromLayout.alphaSkipped ? 255 : source[fromLayout.alpha];
        }
    }
}

} // namespace sim
