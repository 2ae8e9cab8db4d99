// Where a fresh phone puts its applications, and the icons SpringBoard draws for them.

#include "SpringBoardTest.h"

#include "springboard/Artwork.h"
#include "springboard/StockLayout.h"

#include <cmath>

namespace {

using sim::InstalledApplication;

std::vector<std::string> namesOf(NSArray *icons)
{
    std::vector<std::string> names;
    for (id icon : *icons)
        names.push_back(msg<NSString *>(icon, "displayName"_sel)->str());
    return names;
}

std::vector<InstalledApplication> systemApplications(int count)
{
    std::vector<InstalledApplication> applications;
    for (int i = 0; i < count; ++i)
        applications.push_back({"com.apple.app" + std::to_string(i), "App " + std::to_string(i)});
    return applications;
}

class StockLayout : public test::SpringBoardTest {
protected:
    void SetUp() override
    {
        test::SpringBoardTest::SetUp();
        launch(); // the icon classes
    }
};

TEST_F(StockLayout, TheDefaultPhoneHasADockAFirstPageWithAFolderAndASecondPage)
{
    auto layout = sim::makeStockLayout(sim::DeviceProfile::defaultApplications(), 24);

    EXPECT_EQ(namesOf(layout.dockIcons),
              (std::vector<std::string>{"Phone", "Mail", "Safari", "Music"}));
    ASSERT_EQ(layout.pages.size(), 2u);
    ASSERT_EQ(layout.pages[0]->count(), 18u);
    EXPECT_EQ(namesOf(layout.pages[0]).front(), "Calendar");
    id folderIcon = layout.pages[0]->lastObject();
    ASSERT_TRUE(msg<BOOL>(folderIcon, "isFolderIcon"_sel));
    EXPECT_EQ(msg<NSString *>(folderIcon, "displayName"_sel)->str(), "Extras");
    EXPECT_EQ(namesOf(msg<NSArray *>(msg<id>(folderIcon, "folder"_sel), "icons"_sel)),
              (std::vector<std::string>{"Wallet", "Files", "Books", "Voice Memos"}));
    EXPECT_EQ(namesOf(layout.pages[1]), std::vector<std::string>{"Corvane"});
}

TEST_F(StockLayout, FewApplicationsNeedNoFolderAndManyKeepItOnTheFirstPage)
{
    for (int count : {8, 0}) {
        auto layout = sim::makeStockLayout(systemApplications(count), 24);
        ASSERT_EQ(layout.pages.size(), 1u);
        EXPECT_EQ(layout.pages[0]->count(), NSUInteger(count));
        EXPECT_EQ(layout.dockIcons->count(), 0u);
    }

    // 30 system applications: 4 go into the folder, 26 remain for pages of 20 beside it.
    auto layout = sim::makeStockLayout(systemApplications(30), 20);
    ASSERT_EQ(layout.pages.size(), 2u);
    EXPECT_EQ(layout.pages[0]->count(), 20u);
    EXPECT_TRUE(msg<BOOL>(layout.pages[0]->lastObject(), "isFolderIcon"_sel));
    EXPECT_EQ(layout.pages[1]->count(), 7u);
    EXPECT_EQ(namesOf(layout.pages[1]).front(), "App 19");
}

TEST_F(StockLayout, AnApplicationIconIsARoundedSquareOfItsOwnColour)
{
    sim::RGBA color = sim::iconColorForIdentifier("com.apple.mobilenotes");
    UIImage *image = sim::applicationIconImage("com.apple.mobilenotes", "Notes", 60);
    ASSERT_NE(image, nil);
    CGImageRef pixels = image->CGImage();
    ASSERT_EQ(CGImageGetWidth(pixels), 120u); // two pixels a point
    const auto &bytes = sim::pixelsOf(pixels);
    auto pixel = [&](std::size_t x, std::size_t y) { return &bytes[(y * 120 + x) * 4]; };
    // The rounded corner leaves the corner clear; the top edge's middle is the opaque colour.
    EXPECT_EQ(pixel(0, 0)[3], 0);
    EXPECT_EQ(pixel(60, 2)[3], 255);
    EXPECT_EQ(pixel(60, 2)[0], std::lround(color.red * 255));
    EXPECT_EQ(pixel(60, 2)[1], std::lround(color.green * 255));
}

} // namespace
