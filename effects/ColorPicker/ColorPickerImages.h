#pragma once
// The picker's drawn images, made pixel by pixel in the layout of CGImage.h (premultiplied
// red, green, blue, alpha, rows from the top): the ring that marks the selection and frames
// the loupe, the checkerboard that shows through a translucent selection, and the loupe's
// magnified view of the wheel. Sizes are in pixels; each answer is owned by the caller's
// StrongRef, and is nil for a size of 0.

#include "objc/NSObject.h"
#include "quartzcore/CGImage.h"

#include <cstddef>
#include <cstdint>

// An image of `width` × `height` pixels copied from premultiplied RGBA bytes in the layout
// above (4 × width bytes a row), drawn through a bitmap context as the phone makes images
// from bytes.
StrongRef<CGImage> CVImageFromPixels(std::size_t width, std::size_t height,
                                     const std::uint8_t *premultipliedRGBA);

// A ring filling a square of `side` pixels: a white band `width` pixels wide inside a dark
// translucent edge of `edge` pixels, both anti-aliased, transparent inside and outside, so
// that it shows on light and dark colours alike.
StrongRef<CGImage> CVRingImage(std::size_t side, double width, double edge);

// A checkerboard of `width` × `height` pixels whose tiles are `tile` pixels square, each
// tile four squares: white at the top-left and bottom-right, white of level `white` (0…1)
// at the other two.
StrongRef<CGImage> CVCheckerboardImage(std::size_t width, std::size_t height, double tile,
                                       double white);

// `side` × `side` pixels of `wheel` around the pixel position `centre`, each wheel pixel
// drawn `magnification` pixels square (nearest neighbour, so single pixels stay crisp).
// Positions off the wheel bitmap, and with `round` those farther than half the bitmap's
// side from its centre (the part a round picker hides), are transparent.
StrongRef<CGImage> CVMagnifiedImage(CGImageRef wheel, CGPoint centre, std::size_t side,
                                    int magnification, bool round);
