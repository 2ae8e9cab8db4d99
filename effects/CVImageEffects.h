#pragma once
// UIImage(CVEffects): per-pixel image filters.
//
// Every filter draws the image once into a new buffer of the filters' layout at its full
// pixel size (its size in points times its scale, truncated), changes the colour bytes
// of every pixel by a rule (CVPixelFilters.h), and answers a new autoreleased image of
// the buffer with the receiver's scale and orientation. The receiver is never changed.
// A filter that cannot get its buffer or bitmap context answers nil; callers that
// replace an icon image then keep the image they had. Nothing is cached and no state is
// shared, so the filters may run on any thread.
//
// Pixel rules, on the colour bytes R, G, B as stored (premultiplied by alpha); "skips
// black" leaves a pixel with R + G + B = 0 unchanged, fully transparent ones included:
//
//   invertedImage        each of R, G, B becomes 255 − itself                 skips black
//   blackAndWhiteImage   Y = 0.3 R + 0.59 G + 0.11 B (double, truncated); R = G = B = Y
//   sepiaImage           R' = 0.393 R + 0.769 G + 0.189 B, G' = 0.349 R + 0.686 G + 0.168 B,
//                        B' = 0.272 R + 0.534 G + 0.131 B (double, truncated, 255 above 255)
//   contrastImage:       roundf((c − 127.5) × k) + 128 in single precision, clamped to
//                        0…255                                                skips black
//   fadedImage           min(c, 150)                                          skips black
//   psychoImage          c modulo 150                                         skips black
//   redAscendantImage    largest value to red, median to green, smallest to blue
//                                                                             skips black
//   greenAscendantImage  largest to green, median to blue, smallest to red    skips black
//
// The category's methods are added to UIImage when the library loads. C++ callers use
// the functions below, which do the same work without a message; each answers nil for a
// nil image.

#include "effects/CVPixelFilters.h"
#include "uikit/UIImage.h"

// -recolourPixels: the image with `block` called once per pixel, in memory order, with a
// pointer to the pixel's four bytes (alpha, blue, green, red); the image itself when the
// block is empty; nil when the buffer or context cannot be had.
UIImage *CVRecolourPixels(UIImage *image, const CVPixelBlock &block);

// -invertedImage, -blackAndWhiteImage, -sepiaImage, -fadedImage, -psychoImage,
// -redAscendantImage, -greenAscendantImage.
UIImage *CVFilteredImage(UIImage *image, CVPixelFilter filter);

// -contrastImage: with factor k (the "High Contrast" effect uses 3.0).
UIImage *CVContrastImage(UIImage *image, float factor);

// -imageWithAlpha: the image's pixels drawn once with constant alpha into a bitmap context
// of premultiplied-first pixels, answered at the image's scale with the up orientation
// (whatever the image's own orientation was); the image itself when no context can be
// made.
UIImage *CVImageWithAlpha(UIImage *image, float alpha);
