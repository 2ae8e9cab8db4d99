#pragma once
// Bitmap contexts: drawing into a grid of pixels that the caller may read and write
// directly. Cairo does the drawing; the context keeps the gstate that Cairo lacks (the
// global alpha and the fill colour) on its own save/restore stack.
//
// Pixel layouts. A context has 8 bits per component and four bytes per pixel; the bitmap
// info says which byte holds which component. The layouts understood, with the bytes of
// one pixel in memory order (byte 0 first):
//
//   bitmap info                                              bytes in memory
//   kCGImageAlphaPremultipliedLast                    (0x0001)   R G B A
//   kCGImageAlphaPremultipliedLast | ByteOrder32Big   (0x4001)   R G B A
//   kCGImageAlphaPremultipliedLast | ByteOrder32Little (0x2001)  A B G R
//   kCGImageAlphaPremultipliedFirst                   (0x0002)   A R G B
//   kCGImageAlphaPremultipliedFirst | ByteOrder32Big  (0x4002)   A R G B
//   kCGImageAlphaPremultipliedFirst | ByteOrder32Little (0x2002) B G R A
//   and the same with kCGImageAlphaNoneSkipLast (5) or kCGImageAlphaNoneSkipFirst (6)
//   in place of the premultiplied alpha, whose skipped byte reads as opaque.
//
// The 32-bit orders describe a pixel as one 32-bit word (components from the most
// significant byte down, in the order the alpha info names) stored in that byte order.
// 0x2002 is Cairo's own layout on this machine, so Cairo draws straight into its bytes;
// for every other layout the context keeps a Cairo copy and converts around each drawing
// call. Drawing through sim::cairoOf reaches the caller's bytes of such a context at the
// next call on the context (CGBitmapContextGetData, CGBitmapContextCreateImage, any
// drawing call or the release).
//
// Coordinates, as on the platform: a context made by CGBitmapContextCreate has its origin
// at the bottom-left corner and y pointing up, one unit per pixel; the first row in memory
// is the top row, y = height − 1 … height. UIKit's image contexts flip it once (translate
// by the height, scale y by −1) so that drawing code sees the top-left origin of views.
// CGContextDrawImage draws the image's first row at the edge of `rect` with the larger y
// in user space: upright in an unflipped context, so drawing an image into the whole of a
// new context copies it row for row, and upside down under UIKit's flip, as the platform
// does (UIImage's drawing compensates).

#include "quartzcore/CGAffineTransform.h"
#include "quartzcore/CGColor.h"
#include "quartzcore/CGImage.h"
#include "quartzcore/PixelLayout.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct _cairo;
struct _cairo_surface;

struct CGContext : NSObject {
    struct GState {
        CGFloat alpha = 1;
        CGFloat fill[4] = {0, 0, 0, 1};
    };

    std::size_t m_width = 0;
    std::size_t m_height = 0;
    std::size_t m_bytesPerRow = 0;
    CGBitmapInfo m_bitmapInfo = 0;
    sim::PixelLayout m_layout{};
    std::uint8_t *m_data = nullptr; // the caller's bytes, or m_ownedData's
    std::vector<std::uint8_t> m_ownedData;
    // Cairo's copy of the pixels when the caller's layout is not Cairo's (else empty).
    std::vector<std::uint8_t> m_cairoPixels;
    _cairo_surface *m_surface = nullptr;
    _cairo *m_cairo = nullptr;
    // Cairo has drawn since its copy was last converted into the caller's bytes.
    bool m_cairoAhead = false;
    std::vector<GState> m_states{GState{}};

    static Class class_();
    ~CGContext();
};
using CGContextRef = CGContext *;

extern "C" {

// A context over `data` (nullptr: the context allocates and clears its own bytes).
// bitsPerComponent must be 8, bytesPerRow at least 4 × width (0 with nullptr data picks
// 4 × width), bitmapInfo one of the layouts above, width and height from 1 to 32767.
// Anything else logs why and answers nil. The caller owns the answer.
CGContextRef CGBitmapContextCreate(void *data, std::size_t width, std::size_t height,
                                   std::size_t bitsPerComponent, std::size_t bytesPerRow,
                                   CGColorSpaceRef space, std::uint32_t bitmapInfo);
void *CGBitmapContextGetData(CGContextRef context);
std::size_t CGBitmapContextGetWidth(CGContextRef context);
std::size_t CGBitmapContextGetHeight(CGContextRef context);
std::size_t CGBitmapContextGetBytesPerRow(CGContextRef context);
CGBitmapInfo CGBitmapContextGetBitmapInfo(CGContextRef context);
// A copy of the pixels as an image (CGImage.h); later drawing does not change it. The
// caller owns the answer. A skipped alpha byte becomes 255.
CGImageRef CGBitmapContextCreateImage(CGContextRef context);

CGContextRef CGContextRetain(CGContextRef context);
void CGContextRelease(CGContextRef context);

// The gstate: transform, clip, alpha and fill colour.
void CGContextSaveGState(CGContextRef context);
void CGContextRestoreGState(CGContextRef context);

// Each puts the new step before the current transform, as CGAffineTransformTranslate
// and its kin do: later drawing is translated, then mapped as before.
void CGContextTranslateCTM(CGContextRef context, CGFloat tx, CGFloat ty);
void CGContextScaleCTM(CGContextRef context, CGFloat sx, CGFloat sy);
void CGContextRotateCTM(CGContextRef context, CGFloat angle);
void CGContextConcatCTM(CGContextRef context, CGAffineTransform transform);
// User space to the platform's device space: pixels from the bottom-left corner, y up.
// The identity for a new context; (1, 0, 0, −1, 0, height) under UIKit's flip.
CGAffineTransform CGContextGetCTM(CGContextRef context);

void CGContextClipToRect(CGContextRef context, CGRect rect);

// Multiplies everything drawn afterwards; clamped to 0…1.
void CGContextSetAlpha(CGContextRef context, CGFloat alpha);
void CGContextSetRGBFillColor(CGContextRef context, CGFloat red, CGFloat green, CGFloat blue,
                              CGFloat alpha);
void CGContextSetFillColorWithColor(CGContextRef context, CGColorRef color);
// Paints the fill colour (times the alpha) over the rectangle.
void CGContextFillRect(CGContextRef context, CGRect rect);
// Makes the rectangle transparent black, whatever the alpha and fill.
void CGContextClearRect(CGContextRef context, CGRect rect);
// Draws `image` scaled into `rect` (orientation: see above), bilinear, times the alpha.
void CGContextDrawImage(CGContextRef context, CGRect rect, CGImageRef image);

} // extern "C"

namespace sim {

// The context's Cairo state, for drawing that the CG functions do not offer (UIKit's text
// through Pango). Its transform is the context's CTM; leave its save/restore depth as
// found. Nil for nil.
_cairo *cairoOf(CGContextRef context);

} // namespace sim
