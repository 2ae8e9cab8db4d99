// Bitmap infos to byte positions, and copying pixels between layouts.

#include "quartzcore/PixelLayout.h"

#include <cstring>

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

namespace {

// Which source byte lands in each target byte of a pixel.
struct Shuffle {
    std::uint8_t from[4];
    bool is(int a, int b, int c, int d) const
    {
        return from[0] == a && from[1] == b && from[2] == c && from[3] == d;
    }
};

// Copies whole rows with a fixed shuffle of each pixel's bytes, written with shifts and
// masks of the 32-bit word so that it applies alike to one word and to four side by side:
// images are converted on every draw and every image made from a context.
template <class WordShuffle>
void copyRows(const std::uint8_t *from, std::size_t fromBytesPerRow, std::uint8_t *to,
              std::size_t toBytesPerRow, std::size_t width, std::size_t height, WordShuffle shuffle)
{
    using Words4 = std::uint32_t __attribute__((vector_size(16)));
    for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t *source = from + y * fromBytesPerRow;
        std::uint8_t *target = to + y * toBytesPerRow;
        std::size_t x = 0;
        for (; x + 4 <= width; x += 4) {
            Words4 words;
            std::memcpy(&words, source + 4 * x, 16);
            words = shuffle(words);
            std::memcpy(target + 4 * x, &words, 16);
        }
        for (; x < width; ++x) {
            std::uint32_t word;
            std::memcpy(&word, source + 4 * x, 4);
            word = shuffle(word);
            std::memcpy(target + 4 * x, &word, 4);
        }
    }
}

void copyAnyLayout(const std::uint8_t *from, std::size_t fromBytesPerRow, PixelLayout fromLayout,
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

} // namespace

void copyPixels(const std::uint8_t *from, std::size_t fromBytesPerRow, PixelLayout fromLayout,
                std::uint8_t *to, std::size_t toBytesPerRow, PixelLayout toLayout,
                std::size_t width, std::size_t height)
{
    Shuffle shuffle{};
    shuffle.from[toLayout.red] = fromLayout.red;
    shuffle.from[toLayout.green] = fromLayout.green;
    shuffle.from[toLayout.blue] = fromLayout.blue;
    shuffle.from[toLayout.alpha] = fromLayout.alpha;
    if (fromLayout.alphaSkipped)
        copyAnyLayout(from, fromBytesPerRow, fromLayout, to, toBytesPerRow, toLayout, width,
                      height);
    else if (shuffle.is(0, 1, 2, 3))
        copyRows(from, fromBytesPerRow, to, toBytesPerRow, width, height, [](auto w) { return w; });
    else if (shuffle.is(3, 2, 1, 0))
        copyRows(from, fromBytesPerRow, to, toBytesPerRow, width, height, [](auto w) {
            // Shifts and masks, not a byte-swap instruction, which has no vector
            // form on the baseline processor.
            return (w >> 24) | ((w >> 8) & 0xFF00u) | ((w << 8) & 0xFF0000u) | (w << 24);
        });
    else if (shuffle.is(3, 0, 1, 2)) // alpha moves from last to first, e.g. a Cairo surface's
        copyRows(from, fromBytesPerRow, to, toBytesPerRow, width, height,
                 [](auto w) { return (w << 8) | (w >> 24); });
    else if (shuffle.is(1, 2, 3, 0))
        copyRows(from, fromBytesPerRow, to, toBytesPerRow, width, height,
                 [](auto w) { return (w >> 8) | (w << 24); });
    else if (shuffle.is(2, 1, 0, 3))
        copyRows(from, fromBytesPerRow, to, toBytesPerRow, width, height, [](auto w) {
            return (w & 0xFF00FF00u) | ((w >> 16) & 0xFFu) | ((w & 0xFFu) << 16);
        });
    else
        copyAnyLayout(from, fromBytesPerRow, fromLayout, to, toBytesPerRow, toLayout, width,
                      height);
}

} // namespace sim
