// ColorPickerState: hue and saturation of wheel points, colours, the states made from hue,
// colour and view positions, and derived states.

#include "PickerTest.h"

#include "effects/ColorPicker/ColorPickerState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

class ColorPickerStateTest : public testing::Test {
protected:
    AutoreleasePool pool;
};

ColorPickerState *stateAtDegrees(double degrees, double length = 1)
{
    double radians = degrees * std::numbers::pi / 180;
    return ColorPickerState::stateWithScaledRelativePoint(
        {length * std::cos(radians), length * std::sin(radians)}, 1, 1);
}

TEST_F(ColorPickerStateTest, TheRimRunsThroughThePrimariesCounterClockwise)
{
    struct Case {
        double degrees;
        Components colour;
    };
    // The six primaries and secondaries a sixth of a turn apart, and two half-way points:
    // 30° is half-way from red to yellow, 270° half-way from blue to magenta.
    const Case cases[] = {
        {0, {1, 0, 0, 1}},   {60, {1, 1, 0, 1}},  {120, {0, 1, 0, 1}},  {180, {0, 1, 1, 1}},
        {240, {0, 0, 1, 1}}, {300, {1, 0, 1, 1}}, {30, {1, 0.5, 0, 1}}, {270, {0.5, 0, 1, 1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.degrees);
        ColorPickerState *state = stateAtDegrees(c.degrees);
        EXPECT_NEAR(state->hue(), c.degrees / 360, 1e-6);
        EXPECT_NEAR(state->saturation(), 1, 1e-6);
        expectColor(state->color(), c.colour);
    }
}

// Saturation is the length limited to one; brightness scales the colour and alpha
// carries through.
TEST_F(ColorPickerStateTest, SaturationIsTheLengthLimitedToOneAndBrightnessScales)
{
    EXPECT_NEAR(stateAtDegrees(0, 0.5)->saturation(), 0.5, 1e-6);
    // Half-saturated red at full brightness is (1, 0.5, 0.5).
    expectColor(stateAtDegrees(0, 0.5)->color(), {1, 0.5, 0.5, 1});
    ColorPickerState *outside = ColorPickerState::stateWithScaledRelativePoint({3, 4}, 1, 1);
    EXPECT_EQ(outside->saturation(), 1);
    EXPECT_NEAR(outside->hue(), std::atan2(4.0, 3.0) / (2 * std::numbers::pi), 1e-6);
    // A quarter turn is half-way from yellow to green: (0.5, 1, 0) at full brightness.
    expectColor(ColorPickerState::stateWithScaledRelativePoint({0, 1}, 0.5, 0.25)->color(),
                {0.25, 0.5, 0, 0.25});
}

TEST_F(ColorPickerStateTest, HueAndSaturationMakeThePoint)
{
    ColorPickerState *state = ColorPickerState::stateWithHue(0.25, 0.5, 0.8, 0.9);
    expectPoint(state->scaledRelativePoint(), {0, 0.5}, 1e-6);
    ColorPickerState *below = ColorPickerState::stateWithHue(0.75, 1, 1, 1);
    EXPECT_NEAR(below->scaledRelativePoint().y, -1, 1e-6);
    EXPECT_NEAR(below->hue(), 0.75, 1e-6) << "a negative angle gets a whole turn added";
}

TEST_F(ColorPickerStateTest, AColourGivesItsHueSaturationBrightnessAndAlpha)
{
    // (0.2, 0.1, 0.1): largest 0.2, spread 0.1, so brightness 0.2 and saturation 0.5, red.
    ColorPickerState *dark =
        ColorPickerState::stateWithColor(UIColor::colorWithRedGreenBlueAlpha(0.2, 0.1, 0.1, 0.7));
    EXPECT_NEAR(dark->hue(), 0, 1e-6);
    EXPECT_NEAR(dark->saturation(), 0.5, 1e-6);
    EXPECT_FLOAT_EQ(dark->brightness(), 0.2);
    EXPECT_FLOAT_EQ(dark->alpha(), 0.7);
    expectColor(dark->color(), {0.2, 0.1, 0.1, 0.7});

    // Magenta-side blue (0.4, 0, 1) lies at 264°, a negative angle before the turn is added.
    ColorPickerState *violet =
        ColorPickerState::stateWithColor(UIColor::colorWithRedGreenBlueAlpha(0.4, 0, 1, 1));
    EXPECT_NEAR(violet->hue(), 264.0 / 360, 1e-6);
    expectColor(violet->color(), {0.4, 0, 1, 1});
}

TEST_F(ColorPickerStateTest, ViewPositionsAndWheelPointsConvertBothWays)
{
    // A view of side 200 with padding 11: centre 100, rim radius 89, y downwards.
    struct Case {
        CGPoint view;
        CGPoint wheel;
    };
    const Case cases[] = {
        {{100, 100}, {0, 0}},
        {{189, 100}, {1, 0}},
        {{100, 11}, {0, 1}},
        {{55.5, 144.5}, {-0.5, -0.5}},
    };
    for (const Case &c : cases) {
        auto *state = msg<ColorPickerState *, CGPoint, CGFloat, CGFloat, CGFloat, CGFloat>(
            reinterpret_cast<id>(ColorPickerState::class_()),
            "stateForPoint:size:padding:brightness:alpha:"_sel, c.view, 200, 11, 0.6, 0.4);
        expectPoint(state->scaledRelativePoint(), c.wheel, 1e-6);
        EXPECT_FLOAT_EQ(state->brightness(), 0.6);
        expectPoint(state->selectionPoint(200, 11), c.view);
    }
}

// A derived state replaces one value and keeps the others; the state itself never
// changes. The messages answer as the members do.
TEST_F(ColorPickerStateTest, DerivedStatesReplaceOneValue)
{
    ColorPickerState *state = ColorPickerState::stateWithHue(0.25, 0.5, 0.8, 0.9);
    ColorPickerState *dimmer =
        msg<ColorPickerState *, CGFloat>(state, "stateBySettingBrightness:"_sel, 0.3);
    EXPECT_FLOAT_EQ(dimmer->alpha(), 0.9);
    EXPECT_NEAR(msg<CGFloat>(dimmer, "hue"_sel), 0.25, 1e-6);
    EXPECT_FLOAT_EQ(state->stateBySettingAlpha(0.1)->brightness(), 0.8);

    ColorPickerState *turned = state->stateBySettingHue(0.5);
    expectPoint(turned->scaledRelativePoint(), {-0.5, 0}, 1e-6);
    ColorPickerState *paler = state->stateBySettingSaturation(0.2);
    EXPECT_NEAR(paler->scaledRelativePoint().x, 0, 1e-6);
    EXPECT_NEAR(msg<CGFloat>(paler, "saturation"_sel), 0.2, 1e-6);
    EXPECT_NEAR(state->hue(), 0.25, 1e-6);
    EXPECT_FLOAT_EQ(state->brightness(), 0.8);
}

} // namespace
