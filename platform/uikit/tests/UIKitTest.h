#pragma once
// What the interface tests share: a known phone (320 × 568 points at 2 pixels a point),
// the virtual clock, an autorelease pool per test, a watchdog on every test that runs
// the clock, and small helpers to make views and read pixels.

#include "foundation/Clock.h"
#include "foundation/DeviceProfile.h"
#include "foundation/RunLoop.h"
#include "foundation/tests/Watchdog.h"
#include "uikit/UIView.h"

#include <gtest/gtest.h>

// The known phone and the virtual clock; interface tests of other folders start with it too.
inline void useTestPhone()
{
    sim::DeviceProfile profile;
    profile.screenWidth = 320;
    profile.screenHeight = 568;
    profile.screenScale = 2;
    sim::DeviceProfile::setCurrent(profile);
    sim::useVirtualClock(100);
}

class UIKitTest : public testing::Test {
protected:
    void SetUp() override { useTestPhone(); }

    // One turn of the main run loop at the present instant.
    static void runOneTurn() { sim::RunLoop::main().runInMode(sim::kDefaultMode, 0, false); }

    Watchdog watchdog{"uikit test"};
    AutoreleasePool pool;
};

// A new autoreleased instance of a view class, made with initWithFrame:.
template <class T = UIView> T *makeView(Class cls, CGRect frame)
{
    id view = msg<id, CGRect>(msg<id>(cls, "alloc"_sel), "initWithFrame:"_sel, frame);
    return static_cast<T *>(autorelease(view));
}

inline UIView *makeView(CGRect frame)
{
    return makeView<UIView>(UIView::class_(), frame);
}

struct Pixel {
    int red, green, blue, alpha;
    bool operator==(const Pixel &) const = default;
};

inline std::ostream &operator<<(std::ostream &out, const Pixel &pixel)
{
    return out << "rgba(" << pixel.red << ", " << pixel.green << ", " << pixel.blue << ", "
               << pixel.alpha << ")";
}

// The premultiplied pixel at (x, y), counted in pixels from the top-left corner.
inline Pixel pixelAt(CGImageRef image, std::size_t x, std::size_t y)
{
    const auto &bytes = sim::pixelsOf(image);
    const std::uint8_t *p = bytes.data() + (y * CGImageGetWidth(image) + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

#define EXPECT_POINT_EQ(actual, x_, y_)                                                            \
    do {                                                                                           \
        CGPoint point_ = (actual);                                                                 \
        EXPECT_DOUBLE_EQ(point_.x, (x_));                                                          \
        EXPECT_DOUBLE_EQ(point_.y, (y_));                                                          \
    } while (0)

#define EXPECT_RECT_EQ(actual, x_, y_, w_, h_)                                                     \
    do {                                                                                           \
        CGRect rect_ = (actual);                                                                   \
        EXPECT_NEAR(rect_.origin.x, (x_), 1e-9);                                                   \
        EXPECT_NEAR(rect_.origin.y, (y_), 1e-9);                                                   \
        EXPECT_NEAR(rect_.size.width, (w_), 1e-9);                                                 \
        EXPECT_NEAR(rect_.size.height, (h_), 1e-9);                                                \
    } while (0)
