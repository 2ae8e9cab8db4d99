// The backlight: locking fades it out through SpringBoard's controller (so a replacement
// decides), the screen as seen dims with it and goes black, the display's state follows,
// the home button wakes a dark lock screen, and the animation settings stretch
// SpringBoard's own animations on the process clock.

#include "SpringBoardTest.h"

#include "springboard/SBUIController.h"
#include "springboard/backlight/Backlight.h"
#include "springboard/backlight/BacklightHost.h"
#include "uikit/UIScreen.h"

namespace {

using sim::BacklightHost;
using sim::SpringBoardHost;

constexpr const char *kDisplayStatus = "com.apple.iokit.hid.displayStatus";

// The brightest colour byte of the screen as seen.
int brightest()
{
    auto image = StrongRef<CGImage>::adopt(BacklightHost::createDisplayImage());
    const std::vector<std::uint8_t> &pixels = sim::pixelsOf(image);
    int most = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4)
        most = std::max({most, int(pixels[i]), int(pixels[i + 1]), int(pixels[i + 2])});
    return most;
}

BOOL g_slow;
CGFloat g_slowDownFactor;
BOOL answerSlow(id, SEL)
{
    return g_slow;
}
CGFloat answerFactor(id, SEL)
{
    return g_slowDownFactor;
}

// A backlight request dropped, as an extension may drop it.
int g_dropped;
void dropRequest(id, SEL, float, double, int, std::function<void()>)
{
    ++g_dropped;
}

class Backlight : public test::SpringBoardTest, public testing::WithParamInterface<double> {
protected:
    static void launchUnlocked()
    {
        launch(test::phoneProfile(GetParam()));
        SpringBoardHost::unlock();
    }
    static bool screenIsOnByMessage()
    {
        id controller = msg<id>(SBBacklightController::class_(), "sharedInstance"_sel);
        if (GetParam() >= sim::DeviceProfile::kIOS9CoreFoundation)
            return msg<BOOL>(controller, "screenIsOn"_sel);
        return !msg<BOOL>(controller, "screenIsOff"_sel);
    }
};

TEST_P(Backlight, LockingFadesTheScreenToBlackAndTheDisplayReportsOff)
{
    launchUnlocked();
    int brightAtFirst = brightest();
    ASSERT_GT(brightAtFirst, 100);
    int display = watch(kDisplayStatus);

    SpringBoardHost::lock();
    sim::advanceVirtualClock(sim::kBacklightFadeDuration / 2);
    EXPECT_NEAR(BacklightHost::factor(), 0.5, 1e-3);
    EXPECT_NEAR(brightest(), brightAtFirst / 2.0, 2);
    EXPECT_TRUE(screenIsOnByMessage());
    EXPECT_FALSE(posted(display));

    sim::advanceVirtualClock(sim::kBacklightFadeDuration / 2);
    EXPECT_EQ(brightest(), 0);
    EXPECT_FALSE(screenIsOnByMessage());
    EXPECT_TRUE(posted(display));
    EXPECT_EQ(stateOf(kDisplayStatus), 0u);

    // The home button wakes the lock screen, which dims again when left alone.
    SpringBoardHost::pressHome();
    EXPECT_TRUE(screenIsOnByMessage());
    EXPECT_EQ(stateOf(kDisplayStatus), 1u);
    EXPECT_TRUE(SpringBoardHost::isLocked());
    sim::advanceVirtualClock(sim::kLockScreenIdleDelay + sim::kBacklightFadeDuration);
    EXPECT_FALSE(screenIsOnByMessage());

    SpringBoardHost::unlock();
    EXPECT_EQ(brightest(), brightAtFirst);
    EXPECT_EQ(stateOf(kDisplayStatus), 1u);
    notify_cancel(display);
}

TEST_P(Backlight, ARequestTheControllerDropsLeavesTheScreenAsItWas)
{
    launchUnlocked();
    g_dropped = 0;
    test::replaceMethod(
        SBBacklightController::class_(),
        "animateBacklightToFactor:duration:source:completion:", reinterpret_cast<IMP>(dropRequest));

    SpringBoardHost::lock();
    sim::advanceVirtualClock(1);
    EXPECT_EQ(g_dropped, 1);
    EXPECT_DOUBLE_EQ(BacklightHost::factor(), 1);
    EXPECT_TRUE(screenIsOnByMessage());
}

// The settings class of the generation, answered by replacements as an extension would.
TEST_P(Backlight, SlowAnimationsStretchTheHomeButtonAndTheFadeByTheFactor)
{
    launchUnlocked();
    g_slow = YES;
    g_slowDownFactor = 3;
    Class settings = SBAnimationFactorySettings::class_();
    test::replaceMethod(settings, "slowAnimations", reinterpret_cast<IMP>(answerSlow));
    test::replaceMethod(settings, "slowDownFactor", reinterpret_cast<IMP>(answerFactor));

    id controller = msg<id>(SBUIController::class_(), "sharedInstance"_sel);
    SpringBoardHost::pressHome();
    id animation = msg<id>(controller, "_animationController"_sel);
    ASSERT_TRUE(animation);
    EXPECT_DOUBLE_EQ(msg<NSTimeInterval>(animation, "animationDuration"_sel),
                     3 * sim::kHomeScreenSettleDuration);
    sim::advanceVirtualClock(3 * sim::kHomeScreenSettleDuration - 0.05);
    EXPECT_TRUE(msg<BOOL>(animation, "isAnimating"_sel));
    sim::advanceVirtualClock(0.1);
    EXPECT_FALSE(msg<id>(controller, "_animationController"_sel));

    // The fade takes SpringBoard's own fade settings before iOS 9, the factor on iOS 9.
    bool iOS9 = GetParam() >= sim::DeviceProfile::kIOS9CoreFoundation;
    EXPECT_DOUBLE_EQ(sim::backlightFadeDuration(), (iOS9 ? 3 : 1) * sim::kBacklightFadeDuration);
    g_slow = NO;
    EXPECT_DOUBLE_EQ(sim::backlightFadeDuration(), sim::kBacklightFadeDuration);
    EXPECT_DOUBLE_EQ(sim::springBoardAnimationDuration(0.3), 0.3);
}

INSTANTIATE_TEST_SUITE_P(Generations, Backlight,
                         testing::Values(sim::DeviceProfile::kIOS7CoreFoundation,
                                         sim::DeviceProfile::kIOS8CoreFoundation,
                                         sim::DeviceProfile::kIOS9CoreFoundation));

} // namespace
