#pragma once
// The compositor's pixel arithmetic (PixelOps.h) on four pixels at once, for the row
// functors of LayerShaders.h. Four packed pixels travel as one 16-byte vector; for
// multiplying, their sixteen components are widened to 16-bit lanes, which hold every
// intermediate of the 8-bit formulas (at most 255 × 256), so each function here gives
// exactly the bits of its one-pixel counterpart: the fast paths change no pixel.

#include "quartzcore/PixelOps.h"

#include <cstdint>
#include <cstring>

namespace sim {

// Four packed pixels, or four values of up to 32 bits, one per pixel.
using PixelQuad = std::uint32_t __attribute__((vector_size(16)));
// The sixteen components of four pixels, widened.
using PixelLanes = std::uint16_t __attribute__((vector_size(32)));

// The bytes of four pixels, and four coverage bytes.
using QuadBytes = std::uint8_t __attribute__((vector_size(16)));
using CoverageBytes = std::uint8_t __attribute__((vector_size(4)));

inline PixelQuad loadQuad(const std::uint8_t *bytes)
{
    PixelQuad q;
    std::memcpy(&q, bytes, sizeof q);
    return q;
}

inline void storeQuad(std::uint8_t *bytes, PixelQuad q)
{
    std::memcpy(bytes, &q, sizeof q);
}

inline PixelLanes widen(PixelQuad q)
{
    return __builtin_convertvector(reinterpret_cast<QuadBytes &>(q), PixelLanes);
}

// Lanes back to bytes; every lane must already be at most 255.
inline PixelQuad narrow(PixelLanes lanes)
{
    auto bytes = __builtin_convertvector(lanes, QuadBytes);
    return reinterpret_cast<PixelQuad &>(bytes);
}

// One value of 0…255 per pixel, repeated in each of its four components' lanes.
inline PixelLanes perPixel(PixelQuad values)
{
    return widen(values * 0x01010101u);
}

// Each lane's x / 255 rounded, for x up to 255 × 255 (divideLanesBy255).
inline PixelLanes divideBy255(PixelLanes x)
{
    x += 128;
    return (x + (x >> 8)) >> 8;
}

// Four coverage bytes times `opacity` / 255, rounded down, as the shaders weigh a texel.
inline PixelQuad weighCoverage(const std::uint8_t *coverage, std::uint32_t opacity)
{
    CoverageBytes bytes;
    std::memcpy(&bytes, coverage, 4);
    PixelQuad x = __builtin_convertvector(bytes, PixelQuad) * opacity;
    return (x + 1 + (x >> 8)) >> 8; // x / 255 rounded down, for x up to 255 × 255
}

// blendOver(scalePixel(source, weight), destination) for each pixel.
inline PixelQuad blendQuad(PixelQuad source, PixelQuad weights, PixelQuad destination)
{
    PixelLanes scaled = divideBy255(widen(source) * perPixel(weights));
    PixelLanes alpha = __builtin_shufflevector(scaled, scaled, 3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11,
                                               11, 15, 15, 15, 15);
    return narrow(scaled + divideBy255(widen(destination) * (255 - alpha)));
}

// lerpPixel of each pair with the pair's own weight (0…255, widened by perPixel).
inline PixelLanes lerpLanes(PixelLanes a, PixelLanes b, PixelLanes f)
{
    return (a * (256 - f) + b * f) >> 8;
}

// Bilinear samples of four pixels from their four texels each, weighed across by fx and
// down by fy (0…255 per pixel), as sampleAt weighs one.
inline PixelQuad bilinearQuad(PixelQuad topLeft, PixelQuad topRight, PixelQuad bottomLeft,
                              PixelQuad bottomRight, PixelQuad fx, PixelQuad fy)
{
    PixelLanes across = perPixel(fx);
    PixelLanes upper = lerpLanes(widen(topLeft), widen(topRight), across);
    PixelLanes lower = lerpLanes(widen(bottomLeft), widen(bottomRight), across);
    return narrow(lerpLanes(upper, lower, perPixel(fy)));
}

// Blends `count` source pixels over `pixels` with coverage × opacity / 255 each, the rule
// of TextureShader::blendTexel. The source answers four pixels from index i with
// `four(i)` and one with `one(i)`; runs of four that are wholly transparent are skipped,
// and runs fully covered by opaque pixels are stored without blending.
template <class Source>
[[gnu::always_inline]] inline void blendRun(const Source &source, const std::uint8_t *coverage,
                                            std::uint32_t opacity, std::uint8_t *pixels, int count)
{
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        PixelQuad s = source.four(i);
        PixelQuad any = s | __builtin_shufflevector(s, s, 2, 3, 0, 1);
        if ((any[0] | any[1]) == 0)
            continue;
        std::uint32_t covered;
        std::memcpy(&covered, coverage + i, 4);
        PixelQuad all = s & __builtin_shufflevector(s, s, 2, 3, 0, 1);
        if (covered == 0xFFFFFFFFu && opacity == 255 && ((all[0] & all[1]) >> 24) == 255) {
            storeQuad(pixels + i * 4, s);
            continue;
        }
        std::uint8_t *to = pixels + i * 4;
        storeQuad(to, blendQuad(s, weighCoverage(coverage + i, opacity), loadQuad(to)));
    }
    for (; i < count; ++i) {
        std::uint32_t c = coverage[i] * opacity / 255;
        std::uint8_t *to = pixels + i * 4;
        storePixel(to, blendOver(scalePixel(source.one(i), c), loadPixel(to)));
    }
}

} // namespace sim
