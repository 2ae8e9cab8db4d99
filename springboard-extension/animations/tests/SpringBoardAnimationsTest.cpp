// The speed hooks on the platform's SpringBoard of each generation.

#include "SpringBoardTest.h"

#include "settings-core/CVSettings.h"
#include "springboard-extension/animations/SpringBoardAnimations.h"
#include "springboard/CrossfadeViews.h"
#include "springboard/SBFolderController.h"
#include "springboard/SBUIAnimationController.h"
#include "springboard/backlight/Backlight.h"

namespace {

using sim::SpringBoardHost;

constexpr double kIOS9 = sim::DeviceProfile::kIOS9CoreFoundation;

class SpringBoardAnimations : public test::SpringBoardTest,
                              public testing::WithParamInterface<double> {
protected:
    void launchWithSpeed(bool custom, CGFloat speed)
    {
        gCVAnimations.customSpeed = custom;
        gCVAnimations.animationSpeed = speed;
        launch(test::phoneProfile(GetParam()));
        SpringBoardAnimationsInit();
        SpringBoardHost::unlock();
    }

    static id factorySettings() { return sim::create(SBAnimationFactorySettings::class_()); }
};

// The settings answer the user's speed only when "customSpeed" is on; before iOS 9 the
// backlight fade takes it then too, iOS 9 fades through the factory settings.
TEST_P(SpringBoardAnimations, TheSettingsAndTheBacklightFadeTakeTheSpeedOnlyWhenCustomSpeedIsOn)
{
    struct Case {
        bool custom;
        CGFloat speed;
        BOOL slow;
        CGFloat factor;
    };
    for (Case c : {Case{false, 3.0, NO, sim::kStockSlowDownFactor}, Case{true, 1.0, NO, 1.0},
                   Case{true, 3.0, YES, 3.0}, Case{true, 0.3, NO, 0.3}}) {
        SCOPED_TRACE(testing::Message() << c.custom << " " << c.speed);
        launchWithSpeed(c.custom, c.speed);
        auto settings = StrongRef<NSObject>::adopt(static_cast<NSObject *>(factorySettings()));
        EXPECT_EQ(msg<BOOL>(settings, "slowAnimations"_sel), c.slow);
        EXPECT_DOUBLE_EQ(msg<CGFloat>(settings, "slowDownFactor"_sel), c.factor);
        // iOS 9 slows its fade only with slow animations on.
        double fade = GetParam() >= kIOS9 ? (c.slow ? c.factor : 1.0) : c.custom ? c.speed : 1.0;
        EXPECT_DOUBLE_EQ(sim::backlightFadeDuration(), fade * sim::kBacklightFadeDuration);
        SpringBoardHost::terminate();
    }
}

TEST_P(SpringBoardAnimations, AFolderAndTheHomeButtonTakeTheFactorTimesAsLong)
{
    const CGFloat speed = 3;
    launchWithSpeed(true, speed);
    ASSERT_TRUE(SpringBoardHost::openFolder(0));
    UIView *folder = iconController()->m_openFolderController->m_contentView;
    sim::advanceVirtualClock(speed * sim::kFolderCrossfadeDuration - 0.05);
    EXPECT_DOUBLE_EQ(folder->alpha(), 0) << "still opening";
    sim::advanceVirtualClock(0.1);
    EXPECT_DOUBLE_EQ(folder->alpha(), 1);

    SpringBoardHost::pressHome();
    id controller = msg<id>(objc_getClass("SBUIController"), "sharedInstance"_sel);
    id settle = msg<id>(controller, "_animationController"_sel);
    EXPECT_DOUBLE_EQ(msg<NSTimeInterval>(settle, "animationDuration"_sel),
                     speed * sim::kHomeScreenSettleDuration);
}

INSTANTIATE_TEST_SUITE_P(Generations, SpringBoardAnimations,
                         testing::Values(sim::DeviceProfile::kIOS7CoreFoundation,
                                         sim::DeviceProfile::kIOS8CoreFoundation, kIOS9));

} // namespace
