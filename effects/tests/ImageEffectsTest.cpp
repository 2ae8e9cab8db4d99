// UIImage(CVEffects) as images: the per-pixel block, the category's messages, scale and
// orientation, image alpha, and the images that no buffer is made for.

#include "EffectsTest.h"
#include "effects/CVImageEffects.h"

#include <utility>

namespace {

using ImageEffects = EffectsTest;

// Two rows of three: opaque colours, a transparent pixel and a premultiplied translucent
// one whose inverse stays within its alpha.
const std::vector<Rgba> kSixPixels = {{10, 20, 30, 255}, {40, 50, 60, 255}, {70, 80, 90, 255},
                                      {1, 2, 3, 255},    {0, 0, 0, 0},      {100, 120, 150, 200}};

// The invert rule worked out pixel by pixel, black skipped.
std::vector<Rgba> inverted(const std::vector<Rgba> &pixels)
{
    std::vector<Rgba> result;
    for (const Rgba &p : pixels)
        result.push_back(p.red + p.green + p.blue == 0
                             ? p
                             : Rgba{255 - p.red, 255 - p.green, 255 - p.blue, p.alpha});
    return result;
}

// The block sees every pixel once, in memory order from the top-left pixel, as alpha,
// blue, green and red bytes; what it writes makes the new image and leaves the receiver.
// An empty block answers the receiver itself.
TEST_F(ImageEffects, TheBlockRewritesEveryPixelOnceInMemoryOrder)
{
    UIImage *image = imageOf(kSixPixels, 3);
    EXPECT_EQ(CVRecolourPixels(image, {}), image);
    EXPECT_EQ(msg<UIImage *>(image, "recolourPixels:"_sel, CVPixelBlock()), image);
    std::vector<const std::uint8_t *> visited;
    CVPixelBlock rule = [&](std::uint8_t *pixel) {
        visited.push_back(pixel);
        pixel[3] = pixel[0]; // red takes the alpha value
        pixel[1] = 0;        // and blue is cleared
    };
    UIImage *recoloured = msg<UIImage *>(image, "recolourPixels:"_sel, rule);
    ASSERT_EQ(visited.size(), 6u);
    for (std::size_t i = 1; i < visited.size(); ++i)
        EXPECT_EQ(visited[i], visited[i - 1] + 4) << "pixel " << i;
    EXPECT_EQ(pixelsOf(recoloured), (std::vector<Rgba>{{255, 20, 0, 255},
                                                       {255, 50, 0, 255},
                                                       {255, 80, 0, 255},
                                                       {255, 2, 0, 255},
                                                       {0, 0, 0, 0},
                                                       {200, 120, 0, 200}}));
    EXPECT_EQ(pixelsOf(image), kSixPixels);
}

TEST_F(ImageEffects, EveryFilterAnswersByMessage)
{
    UIImage *image = imageOf(kSixPixels, 3);
    const std::pair<SEL, CVPixelFilter> filters[] = {
        {"invertedImage"_sel, CVPixelFilter::Invert},
        {"blackAndWhiteImage"_sel, CVPixelFilter::BlackAndWhite},
        {"sepiaImage"_sel, CVPixelFilter::Sepia},
        {"fadedImage"_sel, CVPixelFilter::Faded},
        {"psychoImage"_sel, CVPixelFilter::Psycho},
        {"redAscendantImage"_sel, CVPixelFilter::RedAscendant},
        {"greenAscendantImage"_sel, CVPixelFilter::GreenAscendant},
    };
    for (auto [selector, filter] : filters) {
        EXPECT_EQ(pixelsOf(msg<UIImage *>(image, selector)),
                  pixelsOf(CVFilteredImage(image, filter)))
            << sel_getName(selector);
    }
    EXPECT_EQ(pixelsOf(msg<UIImage *>(image, "contrastImage:"_sel, 3.0f)),
              pixelsOf(CVContrastImage(image, 3.0f)));
}

TEST_F(ImageEffects, AScaleTwoImageIsFilteredAtFullResolutionAndKeepsScaleAndOrientation)
{
    UIImage *image = imageOf(kSixPixels, 3, 2, UIImageOrientationDownMirrored);
    UIImage *result = CVFilteredImage(image, CVPixelFilter::Invert);
    ASSERT_NE(result, nil);
    EXPECT_EQ(msg<CGFloat>(result, "scale"_sel), 2);
    EXPECT_EQ(msg<UIImageOrientation>(result, "imageOrientation"_sel),
              UIImageOrientationDownMirrored);
    EXPECT_EQ(pixelsOf(result), inverted(kSixPixels));
}

TEST_F(ImageEffects, ImageWithHalfAlphaHalvesThePremultipliedBytesAndStandsUp)
{
    UIImage *image = imageOf({{200, 100, 50, 255}, {0, 0, 0, 0}, {60, 30, 10, 120}}, 3, 2,
                             UIImageOrientationDown);
    UIImage *faded = msg<UIImage *>(image, "imageWithAlpha:"_sel, 0.5f);
    ASSERT_NE(faded, nil);
    EXPECT_EQ(msg<UIImageOrientation>(faded, "imageOrientation"_sel), UIImageOrientationUp);
    EXPECT_EQ(msg<CGFloat>(faded, "scale"_sel), 2);
    std::vector<Rgba> pixels = pixelsOf(faded);
    ASSERT_EQ(pixels.size(), 3u);
    // Each byte times one half, give or take the compositor's rounding.
    const Rgba halves[] = {{100, 50, 25, 128}, {0, 0, 0, 0}, {30, 15, 5, 60}};
    for (std::size_t i = 0; i < 3; ++i)
        for (auto channel : {&Rgba::red, &Rgba::green, &Rgba::blue, &Rgba::alpha})
            EXPECT_NEAR(pixels[i].*channel, halves[i].*channel, 1) << pixels[i];
}

TEST_F(ImageEffects, NilImagesAndImagesWithoutAPixelOrTooLargeForABufferGiveNil)
{
    EXPECT_EQ(CVRecolourPixels(nil, [](std::uint8_t *) {}), nil);
    EXPECT_EQ(CVFilteredImage(nil, CVPixelFilter::Sepia), nil);
    EXPECT_EQ(CVContrastImage(nil, 3.0f), nil);
    EXPECT_EQ(CVImageWithAlpha(nil, 0.5f), nil);
    bool called = false;
    CVPixelBlock mark = [&](std::uint8_t *) { called = true; };
    // No pixel at all; and a claimed 2^20 × 2^20 pixels, 4 TiB that are never asked for.
    for (UIImage *image : {emptyImageClaiming(0, 0), emptyImageClaiming(1 << 20, 1 << 20)}) {
        EXPECT_EQ(CVFilteredImage(image, CVPixelFilter::Invert), nil);
        EXPECT_EQ(CVRecolourPixels(image, mark), nil);
        EXPECT_EQ(CVImageWithAlpha(image, 0.5f), image);
    }
    // A real row of 40000 pixels: the buffer is had, but no bitmap context is that wide.
    UIImage *wide = imageOf(std::vector<Rgba>(40000, {1, 2, 3, 255}));
    EXPECT_EQ(CVContrastImage(wide, 3.0f), nil);
    EXPECT_EQ(CVRecolourPixels(wide, mark), nil);
    EXPECT_EQ(CVImageWithAlpha(wide, 0.5f), wide);
    EXPECT_FALSE(called);
}

} // namespace
