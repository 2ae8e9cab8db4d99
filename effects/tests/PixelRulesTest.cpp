// Each filter's pixel rule on pixels worked out by hand, premultiplied ones taken as
// stored, and the values where double-precision truncation matters.

#include "EffectsTest.h"
#include "effects/CVImageEffects.h"

#include <array>
#include <cstdint>

namespace {

using PixelRules = EffectsTest;

constexpr Rgba kTransparent = {0, 0, 0, 0};
constexpr Rgba kOpaqueBlack = {0, 0, 0, 255};

std::vector<Rgba> filtered(CVPixelFilter filter, const std::vector<Rgba> &pixels)
{
    return pixelsOf(CVFilteredImage(imageOf(pixels), filter));
}

std::vector<Rgba> contrasted(float factor, const std::vector<Rgba> &pixels)
{
    return pixelsOf(CVContrastImage(imageOf(pixels), factor));
}

TEST_F(PixelRules, InvertFlipsEachColourByteAndSkipsBlack)
{
    EXPECT_EQ(
        filtered(CVPixelFilter::Invert,
                 {{10, 200, 0, 255}, {100, 120, 150, 200}, kOpaqueBlack, kTransparent}),
        (std::vector<Rgba>{{245, 55, 255, 255}, {155, 135, 105, 200}, kOpaqueBlack, kTransparent}));
}

TEST_F(PixelRules, BlackAndWhiteWeighsTheChannelsAndTruncatesTheDoublePrecisionSum)
{
    // Pure red: 0.3 × 255 = 76.5. Half-transparent: 30 + 29.5 + 2.2 = 61.7.
    EXPECT_EQ(filtered(CVPixelFilter::BlackAndWhite,
                       {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {100, 50, 20, 128}}),
              (std::vector<Rgba>{
                  {76, 76, 76, 255}, {150, 150, 150, 255}, {28, 28, 28, 255}, {61, 61, 61, 128}}));

    // 0.59 × 23 + 0.11 × 13 is 15 in decimals but 14.999999999999998 in double precision:
    // grey 14, where exact decimal arithmetic would give 15. 0.59 × 10 + 0.11 × 10 is 7.0
    // once each product is rounded: grey 7, where a fused multiply-add, which keeps the
    // error of 0.11 unrounded, would land just below 7 and give 6.
    EXPECT_EQ(filtered(CVPixelFilter::BlackAndWhite, {{0, 23, 13, 255}, {0, 10, 10, 255}}),
              (std::vector<Rgba>{{14, 14, 14, 255}, {7, 7, 7, 255}}));
}

TEST_F(PixelRules, SepiaMixesTheChannelsCapsAt255AndTruncatesTheDoublePrecisionSum)
{
    // White: 344.505 and 306.765 are capped, blue is 238.935. Red: 100.215, 88.995, 69.36.
    // Half-transparent (100, 50, 20): 81.53, 72.56, 56.52.
    EXPECT_EQ(filtered(CVPixelFilter::Sepia,
                       {{255, 255, 255, 255}, {255, 0, 0, 255}, {100, 50, 20, 128}, kTransparent}),
              (std::vector<Rgba>{
                  {255, 255, 238, 255}, {100, 88, 69, 255}, {81, 72, 56, 128}, kTransparent}));

    // Red of (4, 11, 21): 1.572 + 8.459 + 3.969 is 14 in decimals, 13.999999999999998 in
    // double precision. Green 12.47, blue 9.713. Red of (8, 49, 75) is exactly 55.0 with
    // each product rounded (fused multiply-adds would give 54); green 49.006, blue 38.167.
    EXPECT_EQ(filtered(CVPixelFilter::Sepia, {{4, 11, 21, 255}, {8, 49, 75, 255}}),
              (std::vector<Rgba>{{13, 12, 9, 255}, {55, 49, 38, 255}}));
}

TEST_F(PixelRules, ContrastRoundsHalvesAwayFromTheMiddleAndSkipsBlack)
{
    // Factor 3: 127 → roundf(−1.5) + 128 = 126, 128 → roundf(1.5) + 128 = 130,
    // 0 → −255 → 0, 255 → 511 → 255, 64 → roundf(−190.5) + 128 = −63 → 0.
    EXPECT_EQ(contrasted(3.0f, {{127, 128, 0, 255}, {255, 64, 127, 255}}),
              (std::vector<Rgba>{{126, 130, 0, 255}, {255, 0, 126, 255}}));
    // Factor 0.5: 100 → roundf(−13.75) + 128 = 114; 200 → roundf(36.25) + 128 = 164.
    EXPECT_EQ(contrasted(0.5f, {{100, 200, 128, 255}}), (std::vector<Rgba>{{114, 164, 128, 255}}));

    // With factor −1 black would become 255 (roundf(127.5) + 128); it is skipped. A pixel
    // with one non-zero channel is not black: 1 → 127 + 128, 0 → 128 + 128, both capped.
    EXPECT_EQ(contrasted(-1.0f, {kOpaqueBlack, {1, 0, 0, 255}}),
              (std::vector<Rgba>{kOpaqueBlack, {255, 255, 255, 255}}));
}

TEST_F(PixelRules, FadedCapsEachChannelAt150AndPsychoTakesItModulo150)
{
    EXPECT_EQ(filtered(CVPixelFilter::Faded, {{200, 150, 151, 255}, {10, 149, 255, 255}}),
              (std::vector<Rgba>{{150, 150, 150, 255}, {10, 149, 150, 255}}));

    EXPECT_EQ(filtered(CVPixelFilter::Psycho, {{255, 150, 149, 255}, {0, 0, 1, 255}}),
              (std::vector<Rgba>{{105, 0, 149, 255}, {0, 0, 1, 255}}));
}

TEST_F(PixelRules, AscendantFiltersOrderTheChannels)
{
    std::vector<Rgba> pixels = {{200, 10, 50, 255}, {9, 5, 5, 255}, {60, 30, 90, 200}};
    // Largest to red, median to green, smallest to blue.
    EXPECT_EQ(filtered(CVPixelFilter::RedAscendant, pixels),
              (std::vector<Rgba>{{200, 50, 10, 255}, {9, 5, 5, 255}, {90, 60, 30, 200}}));
    // Largest to green, median to blue, smallest to red.
    EXPECT_EQ(filtered(CVPixelFilter::GreenAscendant, pixels),
              (std::vector<Rgba>{{10, 200, 50, 255}, {5, 9, 5, 255}, {30, 90, 60, 200}}));
}

TEST_F(PixelRules, EveryFilterLeavesTransparentPixelsTransparent)
{
    for (CVPixelFilter filter : {CVPixelFilter::Invert, CVPixelFilter::BlackAndWhite,
                                 CVPixelFilter::Sepia, CVPixelFilter::Faded, CVPixelFilter::Psycho,
                                 CVPixelFilter::RedAscendant, CVPixelFilter::GreenAscendant})
        EXPECT_EQ(filtered(filter, {kTransparent, kTransparent}),
                  (std::vector<Rgba>{kTransparent, kTransparent}))
            << "filter " << int(filter);
    EXPECT_EQ(contrasted(-1.0f, {kTransparent}), (std::vector<Rgba>{kTransparent}));
}

// The buffer walks, on the filters' own byte order: alpha, blue, green, red.
using Bytes = std::array<std::uint8_t, 4>;

Bytes filteredBytes(CVPixelFilter filter, Bytes pixel)
{
    CVFilterBuffer({pixel.data(), 1, 1}, filter);
    return pixel;
}

TEST(PixelBuffer, RulesReadTheBytesAsAlphaBlueGreenRedAndNeverWriteAlpha)
{
    // Red 255, green 0, blue 0 stored in the last byte: grey 76 (0.3 × 255).
    EXPECT_EQ(filteredBytes(CVPixelFilter::BlackAndWhite, {255, 0, 0, 255}),
              (Bytes{255, 76, 76, 76}));
    // Blue 200, green 10, red 50: the red-ascendant order puts 200 into red.
    EXPECT_EQ(filteredBytes(CVPixelFilter::RedAscendant, {90, 200, 10, 50}),
              (Bytes{90, 10, 50, 200}));
    // Colour bytes above alpha are taken as they are stored, and alpha stays.
    EXPECT_EQ(filteredBytes(CVPixelFilter::Invert, {100, 20, 50, 200}), (Bytes{100, 235, 205, 55}));
    // A transparent pixel with stray colour is not black, so it is inverted too.
    EXPECT_EQ(filteredBytes(CVPixelFilter::Invert, {0, 0, 0, 1}), (Bytes{0, 255, 255, 254}));
}

} // namespace
