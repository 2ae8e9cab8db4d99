// View animations on the virtual clock: presented values move; completions learn how they ended.

#include "UIKitTest.h"
#include "uikit/ViewAnimation.h"

#include <optional>

namespace {

using Completion = std::function<void(BOOL)>;

class Animations : public UIKitTest {
protected:
    void animate(NSTimeInterval duration, UIViewAnimationOptions options,
                 std::function<void()> block, Completion completion = {})
    {
        msg<void, NSTimeInterval, NSTimeInterval, UIViewAnimationOptions, std::function<void()>,
            Completion>(UIView::class_(),
                        "animateWithDuration:delay:options:animations:completion:"_sel, duration,
                        0.0, options, std::move(block), std::move(completion));
    }

    // A completion that stores the flag it receives.
    static Completion recordInto(std::optional<bool> &finished)
    {
        return [&finished](BOOL flag) {
            EXPECT_FALSE(finished.has_value()) << "completion ran twice";
            finished = flag;
        };
    }

    static CGFloat presentedAlpha(UIView *view) { return view->layer()->presented().opacity; }

    UIView *view = makeView(CGRectMake(0, 0, 100, 100));
};

TEST_F(Animations, ANewAnimationOrRemovalInterruptsAnAnimationUnlessItContinues)
{
    msg<void, CGFloat>(view, "setAlpha:"_sel, 0);
    std::optional<bool> first, second;
    animate(
        1.0, UIViewAnimationOptionCurveLinear,
        [&] { msg<void, CGFloat>(view, "setAlpha:"_sel, 1); }, recordInto(first));
    sim::advanceVirtualClock(0.25);
    animate(
        1.0, UIViewAnimationOptionCurveLinear,
        [&] { msg<void, CGFloat>(view, "setAlpha:"_sel, 0.2); }, recordInto(second));
    // Without "begin from current state" the new animation starts where the first was
    // heading, not where it had got to.
    EXPECT_NEAR(presentedAlpha(view), 1, 1e-6);
    runOneTurn();
    EXPECT_EQ(first, std::optional<bool>(false));
    EXPECT_FALSE(second.has_value());
    sim::advanceVirtualClock(1.0);
    EXPECT_EQ(second, std::optional<bool>(true));

    // Beginning from the current state continues from what is shown.
    msg<void, CGFloat>(view, "setAlpha:"_sel, 0);
    animate(1.0, UIViewAnimationOptionCurveLinear,
            [&] { msg<void, CGFloat>(view, "setAlpha:"_sel, 1); });
    sim::advanceVirtualClock(0.25);
    animate(1.0, UIViewAnimationOptionCurveLinear | UIViewAnimationOptionBeginFromCurrentState,
            [&] { msg<void, CGFloat>(view, "setAlpha:"_sel, 0); });
    EXPECT_NEAR(presentedAlpha(view), 0.25, 1e-6);
    sim::advanceVirtualClock(0.5);
    EXPECT_NEAR(presentedAlpha(view), 0.125, 1e-6);

    // Removing the layer's animations cancels the block.
    first.reset();
    animate(
        2.0, UIViewAnimationOptionCurveEaseIn,
        [&] { msg<void, CGRect>(view, "setFrame:"_sel, CGRectMake(0, 0, 50, 50)); },
        recordInto(first));
    sim::advanceVirtualClock(1.0);
    view->layer()->removeAllAnimations();
    runOneTurn();
    EXPECT_EQ(first, std::optional<bool>(false));
    EXPECT_RECT_EQ(view->layer()->presented().bounds, 0, 0, 50, 50);
}

TEST_F(Animations, TwiceChangedWithoutDurationOrSwitchedOffAnimationsFinish)
{
    std::optional<bool> finished;
    animate(
        1.0, UIViewAnimationOptionCurveLinear,
        [&] {
            msg<void, CGFloat>(view, "setAlpha:"_sel, 0.5);
            msg<void, CGFloat>(view, "setAlpha:"_sel, 0);
        },
        recordInto(finished));
    sim::advanceVirtualClock(1.1);
    EXPECT_EQ(finished, std::optional<bool>(true));

    // A zero duration completes on the next turn.
    finished.reset();
    animate(
        0, 0, [&] { msg<void, CGFloat>(view, "setAlpha:"_sel, 0.3); }, recordInto(finished));
    EXPECT_FALSE(finished.has_value());
    EXPECT_NEAR(presentedAlpha(view), 0.3, 1e-6);
    runOneTurn();
    EXPECT_EQ(finished, std::optional<bool>(true));

    // Switched-off animations apply changes directly.
    std::optional<bool> first, second;
    msg<void, BOOL>(UIView::class_(), "setAnimationsEnabled:"_sel, NO);
    animate(
        1.0, 0, [&] { msg<void, CGFloat>(view, "setAlpha:"_sel, 0.4); }, recordInto(first));
    msg<void, BOOL>(UIView::class_(), "setAnimationsEnabled:"_sel, YES);
    EXPECT_NEAR(presentedAlpha(view), 0.4, 1e-6);

    animate(
        1.0, 0,
        [&] {
            msg<void, std::function<void()>>(UIView::class_(), "performWithoutAnimation:"_sel, [&] {
                msg<void, CGFloat>(view, "setAlpha:"_sel, 0.9);
            });
        },
        recordInto(second));
    EXPECT_NEAR(presentedAlpha(view), 0.9, 1e-6);
    EXPECT_TRUE(msg<BOOL>(UIView::class_(), "areAnimationsEnabled"_sel));
    runOneTurn();
    EXPECT_EQ(first, std::optional<bool>(true));
    EXPECT_EQ(second, std::optional<bool>(true));
}

TEST_F(Animations, TheShortFormsAnimateWithTheDefaultCurve)
{
    std::optional<bool> finished;
    msg<void, NSTimeInterval, std::function<void()>, Completion>(
        UIView::class_(), "animateWithDuration:animations:completion:"_sel, 1.0,
        [&] { msg<void, CGFloat>(view, "setAlpha:"_sel, 0); }, recordInto(finished));
    sim::advanceVirtualClock(0.5);
    // Ease in and out is symmetric: half-way in time is half-way in value.
    EXPECT_NEAR(presentedAlpha(view), 0.5, 1e-3);
    msg<void, NSTimeInterval, std::function<void()>>(
        UIView::class_(), "animateWithDuration:animations:"_sel, 1.0,
        [&] { msg<void, CGFloat>(view, "setAlpha:"_sel, 1); });
    sim::advanceVirtualClock(1.1);
    EXPECT_EQ(finished, std::optional<bool>(false));
    EXPECT_NEAR(presentedAlpha(view), 1, 1e-6);
}

// A view's own layer told its transform inside a block animates; a layer no view owns does not.
TEST_F(Animations, AViewsOwnLayerAnimatesItsTransformInsideABlock)
{
    CALayer *free = CALayer::layer();
    animate(1.0, UIViewAnimationOptionCurveLinear, [&] {
        for (CALayer *layer : {view->layer(), free})
            msg<void, CATransform3D>(layer, "setTransform:"_sel, CATransform3DMakeScale(0, 0, 1));
    });
    EXPECT_EQ(view->layer()->transform().m11, 0);
    EXPECT_NEAR(view->layer()->presented().transform.m11, 1, 1e-9);
    EXPECT_EQ(free->presented().transform.m11, 0);
    sim::advanceVirtualClock(0.5);
    EXPECT_NEAR(view->layer()->presented().transform.m11, 0.5, 1e-9);
}

} // namespace
