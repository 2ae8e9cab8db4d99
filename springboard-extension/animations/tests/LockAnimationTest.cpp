// The lock animation hook on SpringBoard of each generation: a chosen animation plays while
// the lock waits, before the backlight fades.

#include "SpringBoardTest.h"

#include "effects/CVLockAnimations.h"
#include "effects/CVLockAnimator.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/animations/LockAnimation.h"
#include "springboard/backlight/Backlight.h"
#include "springboard/backlight/BacklightHost.h"

#include <cmath>
#include <functional>
#include <limits>

namespace {

using sim::BacklightHost;
using sim::SpringBoardHost;

CVLockAnimator *animator()
{
    return msg<CVLockAnimator *>(CVLockAnimator::class_(), "sharedInstance"_sel);
}

bool isAnimating()
{
    return msg<BOOL>(animator(), "isAnimating"_sel);
}

std::size_t visibleOverlays()
{
    std::size_t shown = 0;
    for (UIWindow *window : sim::visibleWindowsBottomUp())
        shown += window->m_windowLevel == CVLockAnimationWindowLevel;
    return shown;
}

void requestBacklight(float factor, std::function<void()> completion = nullptr)
{
    id controller = msg<id>(SBBacklightController::class_(), "sharedInstance"_sel);
    msg<void, float, double, int, std::function<void()>>(
        controller, "animateBacklightToFactor:duration:source:completion:"_sel, factor, 0.2,
        SBBacklightChangeSourceLockButton, std::move(completion));
}

// Runs `check` at `seconds` from now on the process clock, whatever run is going on then.
void at(double seconds, std::function<void()> check)
{
    sim::RunLoop::main().addTimer(sim::now() + seconds, 0, std::move(check));
}

class LockAnimation : public test::SpringBoardTest, public testing::WithParamInterface<double> {
protected:
    void SetUp() override
    {
        SpringBoardTest::SetUp();
        gCVAnimations.lockAnimationType = 0;
        gCVAnimations.lockAnimationDuration = 1.0;
    }

    void TearDown() override
    {
        msg<void>(animator(), "stopLockAnimation"_sel);
        SpringBoardTest::TearDown();
    }

    void launchUnlocked(std::uint32_t type)
    {
        gCVAnimations.lockAnimationType = type;
        launch(test::phoneProfile(GetParam()));
        LockAnimationInit();
        SpringBoardHost::unlock();
    }
};

// (Other cases choose other types; the animator's own tests play each.)
TEST_P(LockAnimation, TheChosenAnimationPlaysWhileTheLockWaitsThenTheBacklightFades)
{
    launchUnlocked(1);
    bool sawItMidway = false;
    at(0.5, [&] {
        sawItMidway = isAnimating() && visibleOverlays() == 1 && BacklightHost::factor() == 1 &&
                      !SpringBoardHost::isLocked();
    });
    double pressed = sim::now();
    SpringBoardHost::lock();
    EXPECT_DOUBLE_EQ(sim::now() - pressed, 1.0) << "the lock waited for the animation";
    EXPECT_TRUE(sawItMidway);
    EXPECT_TRUE(SpringBoardHost::isLocked());

    sim::advanceVirtualClock(sim::kBacklightFadeDuration);
    EXPECT_FALSE(isAnimating());
    EXPECT_EQ(visibleOverlays(), 0u);
    EXPECT_FALSE(BacklightHost::screenIsOn());
}

// A duration that is no number counts as no type: the lock does not wait.
TEST_P(LockAnimation, WithoutATypeOrADurationTheBacklightCallGoesStraightThrough)
{
    for (double duration : {1.0, std::numeric_limits<double>::quiet_NaN()}) {
        launchUnlocked(std::isnan(duration) ? 1 : 0);
        gCVAnimations.lockAnimationDuration = duration;
        double pressed = sim::now();
        SpringBoardHost::lock();
        EXPECT_EQ(sim::now(), pressed);
        EXPECT_FALSE(isAnimating());
        sim::advanceVirtualClock(sim::kBacklightFadeDuration / 2);
        EXPECT_NEAR(BacklightHost::factor(), 0.5, 1e-3);
        EXPECT_EQ(visibleOverlays(), 0u);
        SpringBoardHost::terminate();
    }
}

// A screen already off (iOS 7 asks screenIsOff) or mere dimming plays nothing.
TEST_P(LockAnimation, AScreenAlreadyOffOrMereDimmingPlaysNothing)
{
    launchUnlocked(2);
    requestBacklight(0.005f);
    EXPECT_FALSE(isAnimating());
    sim::advanceVirtualClock(0.3);
    EXPECT_NEAR(BacklightHost::factor(), 0.005, 1e-6);

    gCVAnimations.lockAnimationType = 0;
    requestBacklight(0);
    sim::advanceVirtualClock(0.3);
    ASSERT_FALSE(BacklightHost::screenIsOn());
    gCVAnimations.lockAnimationType = 2;
    double asked = sim::now();
    requestBacklight(0);
    EXPECT_EQ(sim::now(), asked);
    EXPECT_FALSE(isAnimating());
    EXPECT_EQ(visibleOverlays(), 0u);
}

// A lock press and a wake-up inside the wait are dropped; neither happens afterwards.
TEST_P(LockAnimation, BacklightRequestsDuringTheAnimationAreDroppedNotDelayed)
{
    launchUnlocked(3);
    int wakeCompletions = 0;
    at(0.3, [] { SpringBoardHost::lock(); });
    at(0.6, [&] { requestBacklight(1, [&] { ++wakeCompletions; }); });
    SpringBoardHost::lock();
    sim::advanceVirtualClock(5);
    EXPECT_EQ(wakeCompletions, 0);
    EXPECT_FALSE(BacklightHost::screenIsOn());
    EXPECT_TRUE(SpringBoardHost::isLocked());
}

INSTANTIATE_TEST_SUITE_P(Generations, LockAnimation,
                         testing::Values(sim::DeviceProfile::kIOS7CoreFoundation,
                                         sim::DeviceProfile::kIOS8CoreFoundation,
                                         sim::DeviceProfile::kIOS9CoreFoundation));

} // namespace
