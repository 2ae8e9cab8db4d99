// What a process sees before it has loaded any settings: every field zero, and the launch
// flag, up at once outside SpringBoard and on its launch notification inside it (this
// binary run again as SpringBoard, as the flag is armed when the library loads).

#include "ChildProcess.h"
#include "SettingsTestSupport.h"
#include "darwin/TemporaryDevice.h"
#include "darwin/notify.h"
#include "foundation/RunLoop.h"
#include "settings-core/CVSettings.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

bool allZero(const void *object, std::size_t size)
{
    const auto *bytes = static_cast<const unsigned char *>(object);
    for (std::size_t index = 0; index < size; ++index)
        if (bytes[index])
            return false;
    return true;
}

TEST(FreshProcess, EveryFieldIsZeroBeforeSettingsAreLoadedAndTheLaunchFlagIsUp)
{
    EXPECT_FALSE(gCVGlobal.enabled);
    EXPECT_EQ(gCVIcons.effect, 0);
    EXPECT_EQ(gCVIcons.iconImageAlpha, 0.0);
    EXPECT_EQ(gCVIcons.hiddenIcons, nullptr);
    EXPECT_EQ(gCVLockScreen.timeColor, (CVColor{0, 0, 0, 0}));
    EXPECT_TRUE(allZero(gCVStatusBar.items.index, sizeof(gCVStatusBar.items.index)));
    EXPECT_TRUE(allZero(gCVStatusBar.itemIsHidden, sizeof(gCVStatusBar.itemIsHidden)));
    EXPECT_EQ(gCVAnimations.changeCallback, nullptr);
    EXPECT_EQ(CVExtensionInitialized, 0);
    EXPECT_EQ(CVSpringBoardDidLaunch, 1) << "outside SpringBoard the flag is up at once";
}

TEST(FreshProcess, InsideSpringBoardTheLaunchFlagWaitsForTheLaunchNotification)
{
    sim::TemporaryDevice device;
    ASSERT_TRUE(device.ready());
    EXPECT_EQ(test::waitForChild(cvtest::startAsApplication("launch-flag")), 0);
}

// The SpringBoard process: the flag is down until SpringBoard says it has launched.
int springBoardChild()
{
    if (CVSpringBoardDidLaunch != 0)
        return 1;
    // Nothing else raises it.
    sim::RunLoop::main().runInMode(sim::kDefaultMode, 0.1, false);
    if (CVSpringBoardDidLaunch != 0)
        return 2;
    notify_post("SBSpringBoardDidLaunchNotification");
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!CVSpringBoardDidLaunch && std::chrono::steady_clock::now() < deadline)
        sim::RunLoop::main().runInMode(sim::kDefaultMode, 0.02, true);
    return CVSpringBoardDidLaunch == 1 ? 0 : 3;
}

} // namespace

int main(int argc, char **argv)
{
    if (cvtest::springBoardRole(argc, argv) == "launch-flag")
        return springBoardChild();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
