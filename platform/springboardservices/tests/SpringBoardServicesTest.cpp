// What SpringBoard tells other processes about the installed applications, from the
// device profile.

#include "springboardservices/SpringBoardServices.h"
#include "foundation/DeviceProfile.h"
#include "uikit/UIImage.h"

#include <gtest/gtest.h>

namespace {

class SpringBoardServices : public testing::Test {
protected:
    void SetUp() override
    {
        sim::DeviceProfile profile;
        profile.screenScale = 2;
        profile.installedApplications = {{"com.example.notes", "Notes", true},
                                         {"com.example.maps", "Maps", false}};
        sim::DeviceProfile::setCurrent(profile);
    }

    AutoreleasePool pool;
};

TEST_F(SpringBoardServices, IdentifiersFollowTheProfile)
{
    StrongRef<NSArray> all =
        StrongRef<NSArray>::adopt(SBSCopyApplicationDisplayIdentifiers(false, false));
    ASSERT_EQ(all->count(), 2u);
    EXPECT_EQ(static_cast<NSString *>(all->objectAtIndex(1))->str(), "com.example.maps");
    EXPECT_EQ(objc_retainCount(all.get()), 1u) << "the caller owns the only reference";
    StrongRef<NSArray> running =
        StrongRef<NSArray>::adopt(SBSCopyApplicationDisplayIdentifiers(true, false));
    ASSERT_EQ(running->count(), 1u);
    EXPECT_EQ(static_cast<NSString *>(running->objectAtIndex(0))->str(), "com.example.notes");
}

TEST_F(SpringBoardServices, NamesAnswerKnownIdentifiersOnly)
{
    StrongRef<NSString> name = StrongRef<NSString>::adopt(
        SBSCopyLocalizedApplicationNameForDisplayIdentifier("com.example.maps"_ns));
    ASSERT_TRUE(name);
    EXPECT_EQ(name->str(), "Maps");
    EXPECT_EQ(SBSCopyLocalizedApplicationNameForDisplayIdentifier("com.example.gone"_ns), nullptr);
    EXPECT_EQ(SBSCopyLocalizedApplicationNameForDisplayIdentifier(nullptr), nullptr);
}

TEST_F(SpringBoardServices, IconsArePNGsOfSixtyPoints)
{
    StrongRef<NSData> png = StrongRef<NSData>::adopt(
        SBSCopyIconImagePNGDataForDisplayIdentifier("com.example.notes"_ns));
    ASSERT_TRUE(png);
    UIImage *icon = UIImage::imageWithData(png);
    ASSERT_NE(icon, nil);
    EXPECT_EQ(CGImageGetWidth(icon->CGImage()), 120u);
    EXPECT_EQ(CGImageGetHeight(icon->CGImage()), 120u);
    StrongRef<NSData> other = StrongRef<NSData>::adopt(
        SBSCopyIconImagePNGDataForDisplayIdentifier("com.example.maps"_ns));
    EXPECT_FALSE(msg<BOOL>(png, "isEqual:"_sel, other.get())) << "each application has its own";
    EXPECT_EQ(SBSCopyIconImagePNGDataForDisplayIdentifier("com.example.gone"_ns), nullptr);
}

} // namespace
