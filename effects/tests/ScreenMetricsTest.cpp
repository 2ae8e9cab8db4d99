// CVScreenMetrics: the idiom, and the screen size, kept from the first call for the life of
// the process (so every test starts from one profile, read first in portrait).

#include "effects/CVScreenMetrics.h"

#include "foundation/DeviceProfile.h"
#include "uikit/UIApplication.h"
#include "uikit/UIDevice.h"

#include <gtest/gtest.h>

namespace {

class ScreenMetrics : public testing::Test {
protected:
    void SetUp() override
    {
        useProfile(sim::DeviceProfile::Pad, UIInterfaceOrientationPortrait);
        CVScreenMetrics::screenSize();
    }

    static void useProfile(sim::DeviceProfile::Idiom idiom, int orientation)
    {
        sim::DeviceProfile profile;
        profile.idiom = idiom;
        profile.screenWidth = 768;
        profile.screenHeight = 1024;
        profile.orientation = orientation;
        sim::DeviceProfile::setCurrent(profile);
    }

    static id metrics() { return reinterpret_cast<id>(CVScreenMetrics::class_()); }
    static CGFloat width() { return msg<CGFloat>(metrics(), "orientedScreenWidth"_sel); }
    static CGFloat height() { return msg<CGFloat>(metrics(), "orientedScreenHeight"_sel); }

    AutoreleasePool pool;
};

// A device object that knows nothing of idioms, as before idioms existed.
NSObject *deviceWithoutIdiom(id, SEL)
{
    static NSObject *const device = sim::create(NSObject::class_());
    return device;
}

TEST_F(ScreenMetrics, OnlyADeviceThatAnswersThePadIdiomIsAPad)
{
    EXPECT_TRUE(msg<BOOL>(metrics(), "isPad"_sel));
    Method currentDevice = class_getClassMethod(UIDevice::class_(), "currentDevice"_sel);
    IMP original =
        method_setImplementation(currentDevice, reinterpret_cast<IMP>(deviceWithoutIdiom));
    BOOL pad = CVScreenMetrics::isPad();
    method_setImplementation(currentDevice, original);
    EXPECT_FALSE(pad);
    EXPECT_TRUE(CVScreenMetrics::isPad());
    useProfile(sim::DeviceProfile::Phone, UIInterfaceOrientationPortrait);
    EXPECT_FALSE(msg<BOOL>(metrics(), "isPad"_sel));
}

// The size is read once and kept; only a pad in landscape swaps width and height.
TEST_F(ScreenMetrics, TheKeptSizeIsTurnedOnlyForAPadInLandscape)
{
    sim::DeviceProfile smaller;
    smaller.screenWidth = 320;
    smaller.screenHeight = 480;
    sim::DeviceProfile::setCurrent(smaller);
    CGSize size = msg<CGSize>(metrics(), "screenSize"_sel);
    EXPECT_EQ(size.width, 768);
    EXPECT_EQ(size.height, 1024);
    for (int landscape :
         {UIInterfaceOrientationLandscapeRight, UIInterfaceOrientationLandscapeLeft}) {
        useProfile(sim::DeviceProfile::Pad, landscape);
        EXPECT_EQ(width(), 1024) << "orientation " << landscape;
        EXPECT_EQ(height(), 768) << "orientation " << landscape;
    }
    useProfile(sim::DeviceProfile::Pad, UIInterfaceOrientationPortraitUpsideDown);
    EXPECT_EQ(width(), 768);
    EXPECT_EQ(height(), 1024);
    // A phone in landscape answers the size as it was read.
    useProfile(sim::DeviceProfile::Phone, UIInterfaceOrientationLandscapeLeft);
    EXPECT_EQ(width(), 768);
    EXPECT_EQ(height(), 1024);
}

} // namespace
