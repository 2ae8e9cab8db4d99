// The backlight: locking fades it out through SpringBoard's controller; the home button wakes.

#include "SpringBoardTest.h"

#include "springboard/backlight/Backlight.h"
#include "springboard/backlight/BacklightHost.h"

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

TEST_P(Backlight, LockingFadesTheScreenToBlackUnlessTheControllerDropsTheRequest)
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

    // A request the controller drops, as an extension may, leaves the screen as it was.
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

INSTANTIATE_TEST_SUITE_P(Generations, Backlight,
                         testing::Values(sim::DeviceProfile::kIOS7CoreFoundation,
                                         sim::DeviceProfile::kIOS8CoreFoundation,
                                         sim::DeviceProfile::kIOS9CoreFoundation));

} // namespace
