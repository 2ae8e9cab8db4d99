// The recursive Gaussian blur against the direct convolution with the exact kernel.

#include "quartzcore/GaussianBlur.h"

#include "DirectGaussian.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace {

// A test card: opaque and translucent blocks with hard edges, a one-pixel line and a dot,
// and noise, all premultiplied.
std::vector<std::uint8_t> testCard(int width, int height)
{
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * 4, 0);
    std::mt19937 random(7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t *p = pixels.data() + (std::size_t(y) * width + x) * 4;
            std::uint8_t alpha = x < width / 3 ? 255 : (y < height / 2 ? 128 : 0);
            if (x == width / 2 || (x == 3 * width / 4 && y == height / 4))
                alpha = 255;
            if (alpha == 0 && random() % 5 == 0)
                alpha = std::uint8_t(random() % 256);
            p[3] = alpha;
            for (int c = 0; c < 3; ++c)
                p[c] = std::uint8_t(random() % (alpha + 1));
        }
    return pixels;
}

double largestError(const std::vector<std::uint8_t> &blurred, const std::vector<float> &exact)
{
    double largest = 0;
    for (std::size_t i = 0; i < blurred.size(); ++i)
        largest = std::max(largest, std::fabs(blurred[i] - double(exact[i])));
    return largest;
}

TEST(GaussianBlur, StaysWithinFourLevelsOfTheExactGaussian)
{
    const int width = 150, height = 110;
    // From 12 on the blur runs shrunk, by factors 2 to 7 here (27 leaves partial blocks).
    for (double sigma : {1.0, 3.0, 11.0, 12.0, 16.0, 24.0, 27.0, 30.0, 45.0}) {
        std::vector<std::uint8_t> pixels = testCard(width, height);
        std::vector<float> rows, exact;
        sim::testing::directGaussianBlur(pixels, width, height, sigma, int(std::ceil(6 * sigma)),
                                         rows, exact);
        sim::GaussianBlur blur;
        blur.apply({pixels.data(), width, height, std::size_t(width) * 4}, sigma);
        EXPECT_LE(largestError(pixels, exact), 4.0) << "sigma " << sigma;
    }
}

TEST(GaussianBlur, TheKernelSumsToOne)
{
    // A blob far from the borders keeps its total alpha.
    const int size = 200;
    std::vector<std::uint8_t> pixels(size * size * 4, 0);
    for (int y = 90; y < 110; ++y)
        for (int x = 90; x < 110; ++x)
            pixels[(y * size + x) * 4 + 3] = 255;
    sim::GaussianBlur blur;
    blur.apply({pixels.data(), size, size, size * 4}, 10);
    double total = 0;
    for (int i = 3; i < size * size * 4; i += 4)
        total += pixels[i];
    EXPECT_NEAR(total, 400 * 255, 400 * 255 * 0.005);
}

TEST(GaussianBlur, APartOfALargerImageIsBlurredAlone)
{
    // Rows of 10 pixels, of which the middle 4 columns form the region.
    std::vector<std::uint8_t> pixels(10 * 6 * 4, 0);
    for (std::size_t i = 0; i < pixels.size(); i += 4)
        pixels[i + 3] = pixels[i] = 200;
    std::vector<std::uint8_t> before = pixels;
    sim::GaussianBlur blur;
    blur.apply({pixels.data() + 3 * 4, 4, 6, 10 * 4}, 2);
    for (int y = 0; y < 6; ++y) {
        EXPECT_EQ(pixels[(y * 10 + 2) * 4 + 3], 200); // left of the region: untouched
        EXPECT_EQ(pixels[(y * 10 + 7) * 4 + 3], 200); // right of it: untouched
        EXPECT_LT(pixels[(y * 10 + 3) * 4 + 3], 200); // inside: faded by the edges
    }
    EXPECT_NE(pixels, before);
}

TEST(GaussianBlur, ColourNeverExceedsAlphaAndTinySigmasChangeNothing)
{
    const int width = 60, height = 40;
    std::vector<std::uint8_t> pixels = testCard(width, height);
    sim::GaussianBlur blur;
    blur.apply({pixels.data(), width, height, std::size_t(width) * 4}, 5);
    for (std::size_t i = 0; i < pixels.size(); i += 4)
        for (int c = 0; c < 3; ++c)
            ASSERT_LE(pixels[i + c], pixels[i + 3]);

    // Tiny or broken sigmas change nothing.
    std::vector<std::uint8_t> before = pixels;
    for (double sigma : {0.0, 0.3, -4.0, double(NAN), double(INFINITY)})
        blur.apply({pixels.data(), width, height, std::size_t(width) * 4}, sigma);
    blur.apply({pixels.data(), 0, height, std::size_t(width) * 4}, 3);
    EXPECT_EQ(pixels, before);
}

} // namespace
