// The wheel bitmap: the whole bitmap against a plain reference, a wheel all rim, and the
// cache that shares one bitmap per pixel diameter and padding.

#include "effects/ColorPicker/ColorWheelGenerator.h"
#include "foundation/NSLog.h"
#include "uikit/tests/UIKitTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

class ColorWheelTest : public testing::Test {
protected:
    AutoreleasePool pool;
};

// The reference colour of a pixel in double precision: each channel full for the third of
// the circle about its primary, zero for the opposite third, linear between; then mixed
// with white by (1 − saturation).
Pixel referenceColour(double dx, double dy, double radius)
{
    double degrees = std::atan2(dy, dx) * 180 / std::numbers::pi;
    if (degrees < 0)
        degrees += 360;
    double saturation = std::min(std::hypot(dx, dy), radius) / radius;
    auto channel = [&](double primaryDegrees) {
        double away = std::fabs(std::remainder(degrees - primaryDegrees, 360.0));
        double pure = std::clamp((120 - away) / 60, 0.0, 1.0);
        return int(std::lround(255 * (1 - saturation * (1 - pure))));
    };
    return {channel(0), channel(120), channel(240), 255}; // the wheel is opaque throughout
}

TEST_F(ColorWheelTest, WithNoRoomInsideThePaddingTheWheelIsRimColourThroughout)
{
    StrongRef<CGImage> rim = CVColorWheelBitmap(20, 11, false);
    ASSERT_TRUE(rim);
    EXPECT_EQ(pixelAt(rim, 10, 10), (Pixel{255, 0, 0, 255})) << "the centre pixel, at angle 0";
    EXPECT_EQ(pixelAt(rim, 0, 10), (Pixel{0, 255, 255, 255}));
}

TEST_F(ColorWheelTest, EveryPixelIsWithinOneLevelOfTheReference)
{
    // An odd diameter puts the centre between pixels; a fractional one rounds the side up.
    for (CGFloat diameter : {151.0, 160.5}) {
        SCOPED_TRACE(diameter);
        const CGFloat padding = 7;
        StrongRef<CGImage> wheel = CVColorWheelBitmap(diameter, padding, false);
        std::size_t side = std::size_t(std::ceil(diameter));
        ASSERT_EQ(CGImageGetWidth(wheel), side);
        int worst = 0;
        for (std::size_t row = 0; row < side; ++row)
            for (std::size_t column = 0; column < side; ++column) {
                Pixel actual = pixelAt(wheel, column, row);
                Pixel expected =
                    referenceColour(double(column) - diameter / 2, diameter / 2 - double(row),
                                    diameter / 2 - padding);
                worst = std::max({worst, std::abs(actual.red - expected.red),
                                  std::abs(actual.green - expected.green),
                                  std::abs(actual.blue - expected.blue),
                                  std::abs(actual.alpha - expected.alpha)});
            }
        EXPECT_LE(worst, 1);
    }
}

// No diameter means no wheel, quietly; one too large for an image is refused with an error.
TEST_F(ColorWheelTest, NoDiameterOrOneTooLargeForAnImageMeansNoWheel)
{
    sim::LogCapture log;
    EXPECT_FALSE(CVColorWheelBitmap(0, 11, true));
    EXPECT_FALSE(CVColorWheelBitmap(-5, 11, true));
    EXPECT_FALSE(CVColorWheelBitmap(NAN, 11, true));
    EXPECT_TRUE(log.lines().empty());
    EXPECT_FALSE(CVColorWheelBitmap(1e9, 11, true));
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0].rfind("[Corvane][ERROR]: ", 0), 0u) << log.lines()[0];
}

// A cached wheel is made once for its rounded diameter and padding, an uncached one each
// time, and a prepared one is found by later requests.
TEST_F(ColorWheelTest, CachedAndPreparedWheelsAreMadeOnce)
{
    StrongRef<CGImage> first = CVColorWheelBitmap(123.0, 11, true);
    EXPECT_EQ(CVColorWheelBitmap(123.0, 11, true).get(), first.get());
    // The cache key keeps one decimal: 123.04 is "123.0".
    EXPECT_EQ(CVColorWheelBitmap(123.04, 11, true).get(), first.get());
    // An uncached request still finds the cached generator.
    EXPECT_EQ(CVColorWheelBitmap(123.0, 11, false).get(), first.get());
    EXPECT_NE(CVColorWheelBitmap(123.0, 12, true).get(), first.get());

    // Without a cached one, an uncached wheel is made afresh each time.
    StrongRef<CGImage> fresh = CVColorWheelBitmap(124, 11, false);
    StrongRef<CGImage> again = CVColorWheelBitmap(124, 11, false);
    EXPECT_NE(fresh.get(), again.get());

    // A prepared wheel is cached for later requests.
    CVPrepareColorWheel(125, 11, false);
    StrongRef<CGImage> prepared = CVColorWheelBitmap(125, 11, false);
    ASSERT_TRUE(prepared);
    EXPECT_EQ(CVColorWheelBitmap(125, 11, true).get(), prepared.get());
    // In the background the request and the prefetch meet at one generator, whichever of
    // them comes first; the synchronous prefetch after it waits for the background one.
    CVPrepareColorWheel(126, 11, true);
    StrongRef<CGImage> requested = CVColorWheelBitmap(126, 11, true);
    CVPrepareColorWheel(126, 11, false);
    EXPECT_EQ(CVColorWheelBitmap(126, 11, false).get(), requested.get());
}

} // namespace
