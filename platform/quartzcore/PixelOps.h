#pragma once
// Per-pixel arithmetic of the compositor on premultiplied RGBA pixels (CGImage.h's byte
// order) held as one 32-bit word: red in bits 0–7, green 8–15, blue 16–23, alpha 24–31
// on this little-endian machine. Two components are processed per multiply by keeping
// them in the low bytes of two 16-bit lanes (0x00FF00FF masks), the usual packed trick;
// every division by 255 rounds to nearest. Colours are assumed premultiplied (no
// component above alpha), which CGImage guarantees, so blends never carry between lanes.

#include <cstdint>
#include <cstring>

namespace sim {

using Pixel = std::uint32_t;

inline Pixel loadPixel(const std::uint8_t *bytes)
{
    Pixel p;
    std::memcpy(&p, bytes, 4);
    return p;
}

inline void storePixel(std::uint8_t *bytes, Pixel p)
{
    std::memcpy(bytes, &p, 4);
}

inline std::uint32_t alphaOf(Pixel p)
{
    return p >> 24;
}

// x / 255 rounded, for x up to 255 × 255, in each 16-bit lane of `lanes`.
inline std::uint32_t divideLanesBy255(std::uint32_t lanes)
{
    lanes += 0x00800080;
    return ((lanes + ((lanes >> 8) & 0x00FF00FF)) >> 8) & 0x00FF00FF;
}

// Every component times factor / 255 (factor 0…255).
inline Pixel scalePixel(Pixel p, std::uint32_t factor)
{
    std::uint32_t redBlue = divideLanesBy255((p & 0x00FF00FF) * factor);
    std::uint32_t greenAlpha = divideLanesBy255(((p >> 8) & 0x00FF00FF) * factor);
    return redBlue | (greenAlpha << 8);
}

// Source over destination: s + d × (1 − alpha of s).
inline Pixel blendOver(Pixel source, Pixel destination)
{
    return source + scalePixel(destination, 255 - alphaOf(source));
}

// a × (256 − f) / 256 + b × f / 256 per component, f in 0…256: the step of bilinear
// filtering, exact enough for 8-bit weights.
inline Pixel lerpPixel(Pixel a, Pixel b, std::uint32_t f)
{
    std::uint32_t g = 256 - f;
    std::uint32_t redBlue = (((a & 0x00FF00FF) * g + (b & 0x00FF00FF) * f) >> 8) & 0x00FF00FF;
    std::uint32_t greenAlpha =
        ((((a >> 8) & 0x00FF00FF) * g + ((b >> 8) & 0x00FF00FF) * f) >> 8) & 0x00FF00FF;
    return redBlue | (greenAlpha << 8);
}

// A colour given as components 0…1 (not premultiplied), premultiplied and packed.
inline Pixel packColor(double red, double green, double blue, double alpha)
{
    auto byte = [](double v) { return std::uint32_t(v * 255 + 0.5); };
    return byte(red * alpha) | byte(green * alpha) << 8 | byte(blue * alpha) << 16 |
           byte(alpha) << 24;
}

} // namespace sim
