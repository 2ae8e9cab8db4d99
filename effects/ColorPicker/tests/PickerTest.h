#pragma once
// What the picker view tests share: the interface tests' phone (320 × 568 at scale 2), a
// visible window to put pickers in, and a delegate that records what it hears.

#include "effects/ColorPicker/ColorPickerView.h"
#include "uikit/UIWindow.h"
#include "uikit/tests/UIKitTest.h"

#include <string>
#include <vector>

class PickerTest : public UIKitTest {
protected:
    void SetUp() override
    {
        UIKitTest::SetUp();
        window = makeView<UIWindow>(UIWindow::class_(), {{0, 0}, {320, 568}});
        msg<void, BOOL>(window, "setHidden:"_sel, NO);
    }

    void TearDown() override { msg<void, BOOL>(window, "setHidden:"_sel, YES); }

    // A picker (autoreleased) made with initWithFrame:, in the window unless told otherwise.
    ColorPickerView *makePicker(CGRect frame, bool inWindow = true)
    {
        auto *picker = makeView<ColorPickerView>(ColorPickerView::class_(), frame);
        if (inWindow)
            msg<void, UIView *>(window, "addSubview:"_sel, picker);
        return picker;
    }

    StrongRef<UIWindow> window;
};

// A delegate of the picker that records every message, with the picker's selection at the
// moment it came.
struct PickerDelegate : NSObject {
    struct Heard {
        std::string message;
        CGPoint selection;
        bool withTouches;
    };
    std::vector<Heard> heard;

    static Class class_();
    static StrongRef<PickerDelegate> make();

    std::vector<std::string> messages() const;
};

// A colour's components, as the platform reports them.
struct Components {
    CGFloat red, green, blue, alpha;
};

inline Components componentsOf(UIColor *color)
{
    Components c{};
    msg<BOOL>(color, "getRed:green:blue:alpha:"_sel, &c.red, &c.green, &c.blue, &c.alpha);
    return c;
}

inline void expectPoint(CGPoint actual, CGPoint expected, double tolerance = 1e-4)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
}

// Colours compare within a ten-thousandth (a wheel pixel is one 255th); alpha exactly.
inline void expectColor(UIColor *color, Components expected)
{
    Components actual = componentsOf(color);
    EXPECT_NEAR(actual.red, expected.red, 1e-4);
    EXPECT_NEAR(actual.green, expected.green, 1e-4);
    EXPECT_NEAR(actual.blue, expected.blue, 1e-4);
    EXPECT_NEAR(actual.alpha, expected.alpha, 1e-6);
}
