// BrightnessSlider: linked to a picker it takes and sets the picker's brightness and tells
// its delegate when the finger lifts; its track runs from black to white.

#include "PickerTest.h"

#include "effects/ColorPicker/BrightnessSlider.h"
#include "uikit/GestureInput.h"
#include "uikit/Snapshot.h"

namespace {

class BrightnessSliderTest : public PickerTest {
protected:
    BrightnessSlider *makeSlider(CGRect frame)
    {
        auto *slider = makeView<BrightnessSlider>(BrightnessSlider::class_(), frame);
        msg<void, UIView *>(window, "addSubview:"_sel, slider);
        return slider;
    }

    // The slider's point for a value, in the window's space, on the track's midline.
    static CGPoint pointForValue(BrightnessSlider *slider, float value)
    {
        CGPoint point = {slider->xForValue(value), slider->bounds().size.height / 2};
        return slider->convertPointToView(point, nil);
    }
};

TEST_F(BrightnessSliderTest, LinkedItTakesThePickersBrightnessSetsItAndTellsItsDelegate)
{
    ColorPickerView *picker = makePicker({{0, 0}, {200, 200}});
    msg<void, CGFloat>(picker, "setBrightness:"_sel, 0.9);
    StrongRef<PickerDelegate> delegate = PickerDelegate::make();
    msg<void, id>(picker, "setDelegate:"_sel, delegate.get());
    BrightnessSlider *slider = makeSlider({{32, 500}, {256, 30}});
    msg<void, ColorPickerView *>(slider, "setColorPicker:"_sel, picker);
    ASSERT_FLOAT_EQ(msg<float>(slider, "value"_sel), 0.9f);

    ASSERT_TRUE(sim::touchDown(window, pointForValue(slider, 0.9f)));
    sim::touchMove(pointForValue(slider, 0.6f));
    sim::touchMove(pointForValue(slider, 0.25f));
    sim::touchUp(pointForValue(slider, 0.25f));
    EXPECT_NEAR(msg<CGFloat>(picker, "brightness"_sel), 0.25, 1e-3);

    ASSERT_FALSE(delegate->heard.empty());
    EXPECT_EQ(delegate->heard.back().message, "touchesEnded");
    EXPECT_FALSE(delegate->heard.back().withTouches) << "no touches and no event";
}

TEST_F(BrightnessSliderTest, TheTrackIsAGradientFromBlackToWhite)
{
    BrightnessSlider *slider = makeSlider({{0, 500}, {200, 30}});
    msg<void, float>(slider, "setValue:"_sel, 0); // the thumb at the left end
    auto image = StrongRef<CGImage>::adopt(sim::snapshotOfView(slider));
    std::size_t width = CGImageGetWidth(image);
    ASSERT_EQ(width, 400u);
    auto grey = [&](std::size_t x) {
        return int(sim::pixelsOf(image)[(2 * width + x) * 4]); // near the top edge
    };
    // Column x of 400 is grey (x + 0.5) ÷ 400.
    for (std::size_t x : {100u, 200u, 300u, 399u})
        EXPECT_NEAR(grey(x), 255.0 * (double(x) + 0.5) / 400, 1.0) << "column " << x;
}

} // namespace
