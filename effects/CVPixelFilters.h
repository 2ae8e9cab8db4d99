#pragma once
// The pixel rules of the icon image filters, applied to a buffer of pixels.
//
// Every filter works on one kind of buffer: 32 bits per pixel, 8 bits per component,
// device RGB, alpha premultiplied and stored last in a 32-bit little-endian word (bitmap
// info 0x2001). In memory a pixel's four bytes are alpha, blue, green, red, in that
// order, and rows are exactly 4 × width bytes, so a buffer is its rows back to back.
// The rules read and write the three colour bytes as stored (premultiplied) and never
// touch alpha.
//
// Each walk visits every pixel once, in memory order: row after row from the first row in
// memory, and within a row pixel after pixel. The named filters' rules are inlined into
// their walks so that the compiler can vectorise a whole row; outside callers that bring
// a rule of their own give it as a block, which is called once per pixel.
//
// The arithmetic is exactly that of the rules (CVImageEffects.h): products and sums in
// double precision where a rule says so, truncated, never fused into multiply-adds, so a
// pixel comes out the same whatever the processor's vector width.

#include <cstddef>
#include <cstdint>
#include <functional>

// A rule of the caller's, called with a pointer to one pixel's four bytes.
using CVPixelBlock = std::function<void(std::uint8_t *pixel)>;

// `height` rows of `width` pixels in the layout above, the first row at `bytes`.
struct CVPixelBuffer {
    std::uint8_t *bytes;
    std::size_t width;
    std::size_t height;
};

enum class CVPixelFilter {
    Invert,
    BlackAndWhite,
    Sepia,
    Faded,
    Psycho,
    RedAscendant,
    GreenAscendant,
};

// Calls the block once for every pixel of the buffer, in memory order.
void CVRecolourBuffer(CVPixelBuffer buffer, const CVPixelBlock &block);
// Applies a named filter's rule to every pixel of the buffer.
void CVFilterBuffer(CVPixelBuffer buffer, CVPixelFilter filter);
// Applies the contrast rule with factor k to every pixel of the buffer.
void CVContrastBuffer(CVPixelBuffer buffer, float factor);
