// The wheel's pixel walk. Each row is one loop over its pixels with nothing in it that
// depends on a pixel's colour but selects, so the compiler turns the loop into vector
// instructions: arctangent, square root, the hue and saturation rules and the six-sector
// colour rule of HSVColor.h, four or more pixels at a time. Pixels are written as 32-bit
// words, red in the lowest byte, which is the byte order red, green, blue, alpha in memory.

#include "effects/ColorPicker/ColorWheelPixels.h"

#include "effects/CVWidestVectors.h"
#include "effects/ColorPicker/ColorWheelGeometry.h"
#include "effects/ColorPicker/HSVColor.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstring>

namespace {

static_assert(std::endian::native == std::endian::little,
              "pixels are stored as little-endian words, red in the lowest byte");

constexpr float kHalfPi = std::numbers::pi_v<float> / 2;
constexpr float kPi = std::numbers::pi_v<float>;
constexpr std::uint32_t kOpaque = 0xFF000000u;
// atan2(y, x) in (−π, π], as the platform's answers it for the signed zeros a row can hold
// (x = +0 or y = +0). The arctangent of the smaller over the larger magnitude, a ratio in
// 0…1, comes from an odd polynomial of degree 11 fitted to the arctangent on that interval
// (largest error about 1e-5 radians); the octant then follows from the signs and from which
// magnitude is larger. At the origin the ratio is 0 ÷ FLT_MIN = 0, giving the angle 0.
inline float vectorAtan2(float y, float x)
{
    float ax = std::fabs(x);
    float ay = std::fabs(y);
    float ratio = std::min(ax, ay) / std::max(std::max(ax, ay), FLT_MIN);
    float r2 = ratio * ratio;
    // Horner's rule in x² for the odd polynomial, from the x¹¹ coefficient down to x¹.
    float series = -0.01172120f;
    series = series * r2 + 0.05265332f;
    series = series * r2 - 0.11643287f;
    series = series * r2 + 0.19354346f;
    series = series * r2 - 0.33262347f;
    series = series * r2 + 0.99997726f;
    float angle = ratio * series;
    angle = ay > ax ? kHalfPi - angle : angle;
    angle = x < 0.0f ? kPi - angle : angle;
    return y < 0.0f ? -angle : angle;
}

// Through a signed integer, which processors convert from floats several at a time.
inline std::uint32_t byteOf(float component)
{
    return std::uint32_t(int(component * 255.0f + 0.5f));
}

// `inverseRadius` is 1 ÷ R, or +∞ when R ≤ 0: then every distance, even 0 (∞ × 0 is NaN,
// which the minimum below turns into 1), gives saturation 1.
inline std::uint32_t wheelPixel(float dx, float dy, float inverseRadius)
{
    float hue = CVHueOfAngle(vectorAtan2(dy, dx));
    float distance = std::sqrt(dx * dx + dy * dy);
    float saturation = std::min(1.0f, distance * inverseRadius);
    CVRGB colour = CVRGBFromHSV(hue, saturation, 1.0f);
    return kOpaque | byteOf(colour.blue) << 16 | byteOf(colour.green) << 8 | byteOf(colour.red);
}

void fillRow(std::uint8_t *row, std::size_t side, float dy, float centre, float inverseRadius)
{
    // A 32-bit index: only 32-bit integers turn into floats several at a time.
    for (int i = 0; i < int(side); ++i) {
        std::uint32_t word = wheelPixel(float(i) - centre, dy, inverseRadius);
        std::memcpy(row + i * 4, &word, sizeof word);
    }
}

} // namespace

CV_WIDEST_VECTORS void CVFillColorWheel(std::uint8_t *pixels, std::size_t side, float diameter,
                                        float padding)
{
    float centre = diameter / 2;
    float radius = centre - padding;
    float inverseRadius = radius > 0.0f ? 1.0f / radius : INFINITY;
    for (std::size_t j = 0; j < side; ++j)
        fillRow(pixels + j * side * 4, side, centre - float(int(j)), centre, inverseRadius);
}
