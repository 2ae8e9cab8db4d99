// Controls: targets and actions, the slider's range and tracking, the switch's taps.

#include "UIKitTest.h"
#include "uikit/GestureInput.h"
#include "uikit/UISlider.h"
#include "uikit/UISwitch.h"

#include <string>
#include <vector>

namespace {

struct ActionRecord {
    std::string action;
    id sender;
};
std::vector<ActionRecord> g_actions;

struct ActionRecorder : NSObject {};

void changed(ActionRecorder *, SEL, id sender)
{
    g_actions.push_back({"changed", sender});
}

void pressed(ActionRecorder *, SEL)
{
    g_actions.push_back({"pressed", nil});
}

void withEvent(ActionRecorder *, SEL, id sender, UIEvent *event)
{
    g_actions.push_back({event ? "withEvent" : "withoutEvent", sender});
}

Class recorderClass()
{
    static const Class cls = ClassBuilder<ActionRecorder>("ControlsTestRecorder", "NSObject")
                                 .method("changed:", changed)
                                 .method("pressed", pressed)
                                 .method("changed:event:", withEvent)
                                 .registerClass();
    return cls;
}

class Controls : public UIKitTest {
protected:
    void SetUp() override
    {
        UIKitTest::SetUp();
        g_actions.clear();
        recorder = StrongRef<NSObject>::adopt(sim::create(recorderClass()));
        root = makeView({0, 0, 320, 200});
        // The track runs from x = 14 to x = 214 (half a thumb in from each edge).
        slider = makeView<UISlider>(UISlider::class_(), {0, 50, 228, 40});
        msg<void, UIView *>(root, "addSubview:"_sel, slider);
    }

    void listen(UIControl *control, const char *action, UIControlEvents events)
    {
        msg<void, id, SEL, UIControlEvents>(control, "addTarget:action:forControlEvents:"_sel,
                                            recorder.get(), sel_registerName(action), events);
    }

    float value() const { return msg<float>(slider, "value"_sel); }

    StrongRef<NSObject> recorder;
    UIView *root = nil;
    UISlider *slider = nil;
};

TEST_F(Controls, SliderValuesAreClampedToTheRangeWhoseEndsPushEachOther)
{
    msg<void, float>(slider, "setMinimumValue:"_sel, 2);
    msg<void, float>(slider, "setMaximumValue:"_sel, 4);
    EXPECT_FLOAT_EQ(value(), 2);
    msg<void, float, BOOL>(slider, "setValue:animated:"_sel, 9, YES);
    msg<void, float>(slider, "setValue:"_sel, std::nanf(""));
    EXPECT_FLOAT_EQ(value(), 4);
    EXPECT_TRUE(g_actions.empty()) << "setters send no events";

    // Crossing ends move the other end along.
    msg<void, float>(slider, "setMaximumValue:"_sel, 1);
    msg<void, float>(slider, "setMinimumValue:"_sel, 0);
    msg<void, float>(slider, "setValue:"_sel, 0.5);
    msg<void, float>(slider, "setMinimumValue:"_sel, 3);
    EXPECT_FLOAT_EQ(msg<float>(slider, "maximumValue"_sel), 3);
    EXPECT_FLOAT_EQ(value(), 3);
    msg<void, float>(slider, "setMaximumValue:"_sel, -1);
    EXPECT_FLOAT_EQ(msg<float>(slider, "minimumValue"_sel), -1);
    EXPECT_FLOAT_EQ(value(), -1);
}

TEST_F(Controls, ASliderFollowsTheFingerOnItsThumbAndReportsAsContinuousSays)
{
    listen(slider, "changed:", UIControlEventValueChanged);
    msg<void, float>(slider, "setValue:"_sel, 0.5); // thumb centre at x = 114
    ASSERT_TRUE(sim::touchDown(root, {118, 70}));   // 4 points right of the centre
    EXPECT_TRUE(g_actions.empty()) << "taking the thumb moves nothing";
    sim::touchMove({168, 70});
    EXPECT_FLOAT_EQ(value(), 0.75f);
    sim::touchMove({168, 90}); // no movement along the track
    sim::touchMove({1000, 90});
    EXPECT_FLOAT_EQ(value(), 1);
    sim::touchUp({1000, 90});
    ASSERT_EQ(g_actions.size(), 2u);
    EXPECT_EQ(g_actions[0].sender, slider);

    // A discontinuous slider reports once, when the finger on the thumb lifts.
    g_actions.clear();
    msg<void, float>(slider, "setValue:"_sel, 0);
    msg<void, BOOL>(slider, "setContinuous:"_sel, NO);
    ASSERT_TRUE(sim::touchDown(root, {14, 70}));
    sim::touchMove({64, 70});
    sim::touchMove({114, 70});
    EXPECT_TRUE(g_actions.empty());
    sim::touchUp({114, 70});
    EXPECT_EQ(g_actions.size(), 1u);
    EXPECT_FLOAT_EQ(value(), 0.5f);

    // A finger off the thumb leaves the slider alone.
    g_actions.clear();
    ASSERT_TRUE(sim::touchDown(root, {180, 70}));
    sim::touchMove({30, 70});
    sim::touchUp({30, 70});
    EXPECT_FLOAT_EQ(value(), 0.5f);
    EXPECT_TRUE(g_actions.empty());
}

TEST_F(Controls, SendActionsReachesEveryMatchingTargetInItsShapeUntilRemoved)
{
    listen(slider, "changed:", UIControlEventValueChanged);
    listen(slider, "pressed", UIControlEventValueChanged | UIControlEventTouchUpInside);
    listen(slider, "changed:event:", UIControlEventTouchUpInside);
    msg<void, UIControlEvents>(slider, "sendActionsForControlEvents:"_sel,
                               UIControlEventValueChanged);
    ASSERT_EQ(g_actions.size(), 2u);
    EXPECT_EQ(g_actions[0].action, "changed");
    EXPECT_EQ(g_actions[1].action, "pressed");
    g_actions.clear();
    msg<void, UIControlEvents>(slider, "sendActionsForControlEvents:"_sel,
                               UIControlEventTouchUpInside);
    ASSERT_EQ(g_actions.size(), 2u);
    EXPECT_EQ(g_actions[1].action, "withoutEvent");
    EXPECT_EQ(g_actions[1].sender, slider);

    // Removed targets hear nothing.
    g_actions.clear();
    msg<void, id, SEL, UIControlEvents>(slider, "removeTarget:action:forControlEvents:"_sel,
                                        recorder.get(), nullptr, UIControlEventValueChanged);
    msg<void, UIControlEvents>(slider, "sendActionsForControlEvents:"_sel,
                               UIControlEventValueChanged);
    EXPECT_TRUE(g_actions.empty());
    auto *targets = msg<NSSet *>(slider, "allTargets"_sel);
    EXPECT_TRUE(targets->containsObject(recorder));
    msg<void, id, SEL, UIControlEvents>(slider, "removeTarget:action:forControlEvents:"_sel, nil,
                                        nullptr, UIControlEventAllEvents);
    EXPECT_EQ(msg<NSSet *>(slider, "allTargets"_sel)->count(), 0u);
}

TEST_F(Controls, ATapFlipsAnEnabledSwitchAndReportsOnce)
{
    auto *control = makeView<UISwitch>(UISwitch::class_(), {20, 120, 200, 200});
    msg<void, UIView *>(root, "addSubview:"_sel, control);
    EXPECT_RECT_EQ(control->frame(), 20, 120, 51, 31);
    listen(control, "changed:", UIControlEventValueChanged);
    ASSERT_TRUE(sim::touchDown(root, {40, 130}));
    sim::touchUp({40, 130});
    EXPECT_TRUE(msg<BOOL>(control, "isOn"_sel));
    EXPECT_EQ(g_actions.size(), 1u);
    msg<void, BOOL>(control, "setOn:"_sel, NO);
    EXPECT_EQ(g_actions.size(), 1u) << "setters send no events";

    // A disabled switch ignores taps and sends nothing.
    g_actions.clear();
    listen(control, "changed:", UIControlEventAllEvents);
    msg<void, BOOL>(control, "setEnabled:"_sel, NO);
    ASSERT_TRUE(sim::touchDown(root, {40, 130}));
    sim::touchUp({40, 130});
    EXPECT_FALSE(msg<BOOL>(control, "isOn"_sel));
    EXPECT_TRUE(g_actions.empty());
}

} // namespace
