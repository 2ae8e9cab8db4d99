#pragma once
// What the SpringBoard tests share: one simulated device for the binary, a phone of the
// generation asked for, the virtual clock, a watchdog, SpringBoard ended after each test, and
// helpers that find SpringBoard's objects and replace methods as an extension would.

#include "darwin/notify.h"
#include "foundation/Clock.h"
#include "foundation/DeviceProfile.h"
#include "foundation/tests/Watchdog.h"
#include "springboard/IconListKinds.h"
#include "springboard/SBIconController.h"
#include "springboard/SpringBoardHost.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace test {

// A phone of the generation with the default screen (375 × 667) and applications.
sim::DeviceProfile
phoneProfile(double coreFoundationVersion = sim::DeviceProfile::kIOS9CoreFoundation);

class SpringBoardTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the profile current and launches SpringBoard with it.
    static void launch(const sim::DeviceProfile &profile = phoneProfile());
    // Installs the test extension as "<name>.dylib" beside the filter text "<name>.plist".
    static void installExtension(const std::string &name, const std::string &filter);
    static std::string filterFor(const char *bundle);

    static SBIconController *iconController();
    static SBRootFolderView *rootFolderView();
    // The icon lists of the home screen's pages, and the dock's list.
    static SBIconListView *page(std::size_t index);
    static SBIconListView *dockList();
    // The origin of the frame of the view that shows the index-th icon of the list.
    static CGPoint iconOrigin(SBIconListView *list, std::size_t index);
    static SBIconView *iconView(SBIconListView *list, std::size_t index);

    // A registration already checked once: the next check says whether the name was posted.
    static int watch(const char *name);
    static bool posted(int token);
    static uint64_t stateOf(const char *name);

    Watchdog m_watchdog{"springboard test", std::chrono::seconds(60)};
    AutoreleasePool m_pool;
};

// Replaces (or adds) an instance method; answers the implementation replaced (or inherited).
IMP replaceMethod(Class cls, const char *selector, IMP implementation);

} // namespace test

#define EXPECT_POINT_NEAR(actual, x_, y_)                                                          \
    do {                                                                                           \
        CGPoint point_ = (actual);                                                                 \
        EXPECT_NEAR(point_.x, (x_), 1e-6);                                                         \
        EXPECT_NEAR(point_.y, (y_), 1e-6);                                                         \
    } while (0)

#define EXPECT_RECT_NEAR(actual, x_, y_, w_, h_)                                                   \
    do {                                                                                           \
        CGRect rect_ = (actual);                                                                   \
        EXPECT_NEAR(rect_.origin.x, (x_), 1e-6);                                                   \
        EXPECT_NEAR(rect_.origin.y, (y_), 1e-6);                                                   \
        EXPECT_NEAR(rect_.size.width, (w_), 1e-6);                                                 \
        EXPECT_NEAR(rect_.size.height, (h_), 1e-6);                                                \
    } while (0)
