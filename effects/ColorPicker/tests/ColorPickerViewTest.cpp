// ColorPickerView: its square frame, the wheel, touches and their clamping, the setters,
// crop, the loupe and the delegate's messages.

#include "PickerTest.h"

#include "effects/ColorPicker/ColorWheelGenerator.h"
#include "uikit/GestureInput.h"
#include "uikit/Snapshot.h"

#include <cmath>
#include <numbers>

namespace {

using ColorPickerViewTest = PickerTest;

// A point of the picker in the window's space, where fingers touch.
CGPoint onScreen(ColorPickerView *picker, CGPoint point)
{
    return picker->convertPointToView(point, nil);
}

// A finger that comes down at `from`, moves through `through` and lifts at the last point,
// all in the picker's bounds space.
void drag(ColorPickerView *picker, CGPoint from, std::vector<CGPoint> through)
{
    ASSERT_TRUE(sim::touchDown(picker->window(), onScreen(picker, from)));
    for (CGPoint point : through)
        sim::touchMove(onScreen(picker, point));
    sim::touchUp(onScreen(picker, through.empty() ? from : through.back()));
}

// initWithFrame: squares the frame with the smaller side; a later frame or bounds that is
// not square fails the assertion.
TEST_F(ColorPickerViewTest, ThePickerIsSquare)
{
    EXPECT_RECT_EQ(makePicker({{10, 20}, {200, 150}}, false)->frame(), 10, 20, 150, 150);
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    ColorPickerView *picker = makePicker({{0, 0}, {100, 100}}, false);
    CGRect tall = {{0, 0}, {100, 120}};
    CGRect narrow = {{0, 0}, {80, 79}};
    EXPECT_DEATH(msg<void>(picker, "setFrame:"_sel, tall),
                 "NSInternalInconsistencyException.*must be square");
    EXPECT_DEATH(msg<void>(picker, "setBounds:"_sel, narrow), "must be square");
    msg<void, CGRect>(picker, "setFrame:"_sel, CGRect{{5, 5}, {120, 120}});
    EXPECT_EQ(picker->side(), 120);
}

// A new picker is white; in a window it takes the screen's scale and shows the wheel at that scale.
TEST_F(ColorPickerViewTest, ANewPickerIsWhiteAndShowsTheWheelOnceInAWindow)
{
    ColorPickerView *picker = makePicker({{0, 0}, {150, 150}}, false);
    expectColor(msg<UIColor *>(picker, "selectionColor"_sel), {1, 1, 1, 1});
    expectPoint(msg<CGPoint>(picker, "selection"_sel), {75, 75});
    EXPECT_EQ(msg<CGFloat>(picker, "scale"_sel), 0);
    EXPECT_EQ(picker->m_gradientLayer->contents(), nullptr);

    msg<void, UIView *>(window, "addSubview:"_sel, picker);
    EXPECT_EQ(msg<CGFloat>(picker, "scale"_sel), 2);
    CGImageRef wheel = picker->m_gradientLayer->contents();
    ASSERT_NE(wheel, nullptr);
    EXPECT_EQ(CGImageGetWidth(wheel), 300u);

    // A new size in the window makes the wheel for that size.
    msg<void, CGRect>(picker, "setFrame:"_sel, CGRect{{0, 0}, {160, 160}});
    EXPECT_EQ(CGImageGetWidth(picker->m_gradientLayer->contents()), 320u);

    msg<void>(picker, "removeFromSuperview"_sel);
    EXPECT_EQ(msg<CGFloat>(picker, "scale"_sel), 0);
}

// Pickers of one size share one wheel, which a prefetch for that size has made already.
TEST_F(ColorPickerViewTest, PickersOfOneSizeShowThePreparedWheel)
{
    msg<void, CGFloat, CGFloat, CGFloat, BOOL>(reinterpret_cast<id>(ColorPickerView::class_()),
                                               "prepareForDiameter:scale:padding:inBackground:"_sel,
                                               137, 2, 11, NO);
    StrongRef<CGImage> prepared = CVColorWheelBitmap(274, 22, false);
    EXPECT_EQ(makePicker({{0, 0}, {137, 137}})->m_gradientLayer->contents(), prepared.get());
    EXPECT_NE(makePicker({{0, 0}, {138, 138}})->m_gradientLayer->contents(), prepared.get());
}

// A grey selection lies at the centre, and a touch there selects white with hue zero.
TEST_F(ColorPickerViewTest, TheCentreIsGreyOrWhite)
{
    ColorPickerView *picker = makePicker({{60, 100}, {200, 200}});
    msg<void>(picker, "setSelectionColor:"_sel, UIColor::colorWithWhiteAlpha(0.3, 0.8));
    expectPoint(msg<CGPoint>(picker, "selection"_sel), {100, 100});
    expectPoint(picker->m_markerLayer->position(), {100, 100});
    EXPECT_NEAR(msg<CGFloat>(picker, "brightness"_sel), 0.3, 1e-6);
    EXPECT_NEAR(msg<CGFloat>(picker, "opacity"_sel), 0.8, 1e-6);

    msg<void>(picker, "setSelectionColor:"_sel, UIColor::colorWithRedGreenBlueAlpha(0, 0, 1, 1));
    drag(picker, {100, 100}, {});
    EXPECT_EQ(picker->state()->saturation(), 0);
    EXPECT_EQ(picker->state()->hue(), 0);
    expectColor(msg<UIColor *>(picker, "selectionColor"_sel), {1, 1, 1, 1});
}

// A touch outside a round picker lands on the rim at the touch's angle; a square picker
// clamps touches into its padded rectangle.
TEST_F(ColorPickerViewTest, TouchesAreClampedIntoTheDiscOrThePaddedSquare)
{
    ColorPickerView *picker = makePicker({{60, 100}, {200, 200}});
    drag(picker, {100, 100}, {{-40, 250}});
    expectPoint(picker->selection(), {11, 189});
    // The corner of the rectangle is beyond the unit disc: saturation stays 1.
    EXPECT_EQ(picker->state()->saturation(), 1);
    EXPECT_NEAR(picker->state()->hue(), 5.0 / 8, 1e-6);

    msg<void, BOOL>(picker, "setCropToCircle:"_sel, YES);
    // Up and to the right of the centre, 45° and far beyond the rim of radius 89.
    drag(picker, {120, 100}, {{150, 50}, {250, -50}});
    double rim = 89 / std::numbers::sqrt2;
    expectPoint(picker->selection(), {100 + rim, 100 - rim});
    EXPECT_NEAR(picker->state()->saturation(), 1, 1e-6);
    EXPECT_NEAR(picker->state()->hue(), 1.0 / 8, 1e-6);
    // An eighth of a turn: sector 0, three quarters of the way from red to yellow.
    expectColor(msg<UIColor *>(picker, "selectionColor"_sel), {1, 0.75, 0, 1});
    // Inside the rim a point is kept.
    expectPoint(msg<CGPoint, CGPoint>(picker, "validPointForTouch:"_sel, {130, 140}), {130, 140});
}

TEST_F(ColorPickerViewTest, ColorAtPointClampsAndKeepsBrightnessAndOpacity)
{
    ColorPickerView *picker = makePicker({{0, 0}, {200, 200}});
    msg<void, BOOL>(picker, "setCropToCircle:"_sel, YES);
    msg<void, CGFloat>(picker, "setBrightness:"_sel, 0.5);
    msg<void, CGFloat>(picker, "setOpacity:"_sel, 0.25);
    // Straight down, beyond the rim: 270°, half-way from blue to magenta.
    expectColor(msg<UIColor *, CGPoint>(picker, "colorAtPoint:"_sel, {100, 400}),
                {0.25, 0, 0.5, 0.25});
    SCOPED_TRACE("asking moves nothing");
    expectPoint(picker->selection(), {100, 100});
}

TEST_F(ColorPickerViewTest, SettersMoveTheMarkerAndTheOverlays)
{
    ColorPickerView *picker = makePicker({{0, 0}, {200, 200}});
    msg<void, CGPoint>(picker, "setSelection:"_sel, {144.5, 100});
    expectPoint(picker->m_colorCircleLayer->position(), {144.5, 100});
    EXPECT_NEAR(picker->state()->saturation(), 0.5, 1e-6);

    msg<void, CGFloat>(picker, "setBrightness:"_sel, 0.25);
    msg<void, CGFloat>(picker, "setOpacity:"_sel, 0.4);
    EXPECT_FLOAT_EQ(picker->m_brightnessLayer->opacity(), 0.75);
    EXPECT_FLOAT_EQ(picker->m_patternLayer->opacity(), 0.6);
    // Half-saturated red at a quarter brightness, 40% opaque.
    expectColor(msg<UIColor *>(picker, "selectionColor"_sel), {0.25, 0.125, 0.125, 0.4});

    // Levels outside 0…1 are clamped; not-a-number changes nothing.
    msg<void, CGFloat>(picker, "setBrightness:"_sel, 1.5);
    EXPECT_EQ(msg<CGFloat>(picker, "brightness"_sel), 1);
    msg<void, CGFloat>(picker, "setOpacity:"_sel, NAN);
    EXPECT_NEAR(msg<CGFloat>(picker, "opacity"_sel), 0.4, 1e-6);
}

TEST_F(ColorPickerViewTest, ARoundPickerHidesTheCornersASquareOneShowsTheRimColour)
{
    ColorPickerView *round = makePicker({{0, 0}, {200, 200}});
    msg<void, BOOL>(round, "setCropToCircle:"_sel, YES);
    ColorPickerView *square = makePicker({{0, 250}, {200, 200}});
    EXPECT_EQ(round->m_contentsLayer->cornerRadius(), 100);
    EXPECT_EQ(square->m_contentsLayer->cornerRadius(), 0);

    auto roundImage = StrongRef<CGImage>::adopt(sim::snapshotOfView(round));
    auto squareImage = StrongRef<CGImage>::adopt(sim::snapshotOfView(square));
    // Pixel (4, 4) of 400 lies at 135° beyond the rim: green with a quarter blue.
    EXPECT_EQ(pixelAt(roundImage, 4, 4).alpha, 0);
    EXPECT_EQ(pixelAt(squareImage, 4, 4), (Pixel{0, 255, 64, 255}));
    // Both show red to the right of the centre, inside the disc and outside the marker.
    EXPECT_EQ(pixelAt(roundImage, 385, 200), (Pixel{255, 0, 0, 255}));
}

TEST_F(ColorPickerViewTest, TheDelegateHearsEveryTouchStepAndEverySetter)
{
    ColorPickerView *picker = makePicker({{60, 100}, {200, 200}});
    StrongRef<PickerDelegate> delegate = PickerDelegate::make();
    msg<void, id>(picker, "setDelegate:"_sel, delegate.get());

    drag(picker, {50, 60}, {{70, 80}, {90, 100}});
    using Names = std::vector<std::string>;
    EXPECT_EQ(delegate->messages(),
              (Names{"didChangeSelection", "touchesBegan", "didChangeSelection",
                     "didChangeSelection", "didChangeSelection", "touchesEnded"}));
    // The picker has handled each touch before the delegate hears of it.
    expectPoint(delegate->heard[1].selection, {50, 60});
    EXPECT_TRUE(delegate->heard[1].withTouches);
    expectPoint(delegate->heard[5].selection, {90, 100});

    delegate->heard.clear();
    msg<void>(picker, "setSelectionColor:"_sel, UIColor::whiteColor());
    msg<void, CGFloat>(picker, "setBrightness:"_sel, 0.5);
    msg<void, CGFloat>(picker, "setOpacity:"_sel, 0.5);
    msg<void, CGPoint>(picker, "setSelection:"_sel, {10, 10});
    msg<void, BOOL>(picker, "setCropToCircle:"_sel, YES);
    EXPECT_EQ(delegate->messages(), Names(4, "didChangeSelection"));
}

TEST_F(ColorPickerViewTest, TheLoupeFollowsTheFingerAndShrinksAwayWhenItLifts)
{
    ColorPickerView *picker = makePicker({{60, 200}, {200, 200}});
    msg<void, BOOL>(picker, "setCropToCircle:"_sel, YES);
    ASSERT_TRUE(sim::touchDown(window, onScreen(picker, {189, 100})));
    ColorPickerLoupeLayer *loupe = picker->m_loupeLayer;
    ASSERT_NE(loupe, nullptr);
    EXPECT_EQ(loupe->superlayer(), picker->layer());
    CGRect frame = loupe->frame();
    EXPECT_EQ(frame.size.width, 97);
    EXPECT_EQ(frame.origin.x, std::round(frame.origin.x));
    EXPECT_EQ(frame.origin.y, std::round(frame.origin.y));
    EXPECT_NEAR(CGRectGetMidX(frame), 189, 0.5);
    EXPECT_LT(CGRectGetMaxY(frame), 100 - 11) << "above the marker";

    // The middle of the magnified image is the wheel under the selection: red on the rim.
    CGImageRef magnified = loupe->m_magnified->contents();
    ASSERT_NE(magnified, nullptr);
    std::size_t middle = CGImageGetWidth(magnified) / 2;
    EXPECT_EQ(pixelAt(magnified, middle, middle), (Pixel{255, 0, 0, 255}));

    sim::touchMove(onScreen(picker, {100, 150}));
    EXPECT_NEAR(CGRectGetMidX(loupe->frame()), 100, 0.5);
    sim::touchUp(onScreen(picker, {100, 150}));
    EXPECT_EQ(loupe->superlayer(), picker->layer()) << "still shrinking (cp_l_disappear)";
    sim::advanceVirtualClock(0.5);
    EXPECT_EQ(loupe->superlayer(), nullptr);
}

// Without the loupe flag no loupe appears; leaving the window dismisses one at once.
TEST_F(ColorPickerViewTest, TheLoupeAppearsOnlyWithItsFlagAndGoesWithTheWindow)
{
    ColorPickerView *picker = makePicker({{0, 0}, {200, 200}});
    msg<void, BOOL>(picker, "setShowLoupe:"_sel, NO);
    ASSERT_TRUE(sim::touchDown(window, onScreen(picker, {100, 100})));
    EXPECT_EQ(picker->layer()->m_sublayers.size(), 1u);
    sim::touchUp(onScreen(picker, {100, 100}));

    msg<void, BOOL>(picker, "setShowLoupe:"_sel, YES);
    ASSERT_TRUE(sim::touchDown(window, onScreen(picker, {100, 100})));
    StrongRef<ColorPickerLoupeLayer> loupe = picker->m_loupeLayer;
    ASSERT_EQ(loupe->superlayer(), picker->layer());
    StrongRef<ColorPickerView> keep(picker);
    msg<void>(picker, "removeFromSuperview"_sel);
    EXPECT_EQ(loupe->superlayer(), nullptr);
    EXPECT_FALSE(loupe->hasAnimations());
    sim::touchUp({100, 100});
}

} // namespace
