// The icon lists and Spotlight as installed into SpringBoard: the page dots, the pull-down
// Spotlight switch, and the Spotlight sections.

#include "springboard-extension/frame/tests/ExtensionTest.h"

#include "springboard/SBIconListPageControl.h"
#include "springboard/home-screen/HomeScreenHost.h"

#include <nlohmann/json.hpp>

namespace {

using nlohmann::json;
using sim::DeviceProfile;
using sim::SpringBoardHost;
using test::phoneProfile;

class IconListsInstallation : public test::ExtensionTest {};

class PageDots : public test::ExtensionTest, public testing::WithParamInterface<double> {
protected:
    static SBIconListPageControl *pageControl() { return rootFolderView()->m_pageControl; }

    static std::size_t dotsWithImages()
    {
        std::size_t shown = 0;
        for (UIImageView *dot : pageControl()->m_indicators)
            shown += dot->m_image ? 1 : 0;
        return shown;
    }
};

// Hidden dots change nothing of the pages: two of them, and swiping pages on. (iOS 8 has
// an indicator method of its own.)
TEST_P(PageDots, HiddenDotsLeaveThePagesAndPaging)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchWithExtension(phoneProfile(GetParam()),
                        "<key>CVIcons</key><dict><key>hidePageDots</key><true/></dict>");
    SpringBoardHost::unlock();
    EXPECT_EQ(msg<NSInteger>(pageControl(), "numberOfPages"_sel), 2);
    EXPECT_EQ(pageControl()->m_indicators.size(), 2u);
    EXPECT_EQ(dotsWithImages(), 0u);
    SpringBoardHost::swipePages(1, false);
    EXPECT_EQ(msg<NSInteger>(pageControl(), "currentPage"_sel), 1);
    EXPECT_DOUBLE_EQ(rootFolderView()->iconListPosition(), 1);
    EXPECT_EQ(dotsWithImages(), 0u);

    gCVIcons.hidePageDots = false;
    msg<void, NSInteger>(pageControl(), "setCurrentPage:"_sel, 0);
    EXPECT_EQ(dotsWithImages(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Generations, PageDots,
                         testing::Values(DeviceProfile::kIOS8CoreFoundation,
                                         DeviceProfile::kIOS9CoreFoundation),
                         test::generationName);

// The top values 2 and 3 and the switch block the pull-down Spotlight; otherwise
// SpringBoard decides, as while editing.
TEST_F(IconListsInstallation, PullDownSpotlightIsBlockedByTheTopValuesAndTheSwitch)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchWithExtension(phoneProfile(DeviceProfile::kIOS7CoreFoundation));
    SpringBoardHost::unlock();
    UIScrollView *search = rootFolderView()->m_searchScrollView;
    for (std::uint32_t value : {0u, 1u, 2u, 3u, 4u}) {
        gCVIcons.disableSpotlightValue = value;
        EXPECT_EQ(msg<BOOL>(search, "_canScrollY"_sel), value != 2 && value != 3) << value;
    }
    gCVIcons.disableSpotlightValue = 0;
    SpringBoardHost::setEditing(true);
    EXPECT_FALSE(msg<BOOL>(search, "_canScrollY"_sel));
    SpringBoardHost::setEditing(false);
    gCVIcons.disableSpotlight = true;
    EXPECT_FALSE(msg<BOOL>(search, "_canScrollY"_sel));
    msg<void, CGPoint>(search, "setContentOffset:"_sel, CGPointMake(0, -40));
    EXPECT_DOUBLE_EQ(search->contentOffset().y, 0);
}

// The Spotlight sections on iOS 9: each of the first three hidden by its own option,
// later sections never.
class SpotlightSections : public test::ExtensionTest {
protected:
    SpotlightSections() : ExtensionTest({"IconListsInit", "SpotlightInit"}) {}

    // Header title (null for an empty header) and rows of every section.
    static json sections() { return sim::HomeScreenHost::spotlightDump()["sections"]; }
};

TEST_F(SpotlightSections, EachOptionHidesItsOwnSectionOnly)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchWithExtension();
    json stock = sections();
    ASSERT_EQ(stock.size(), 4u);
    const json hidden = {{"header", nullptr}, {"rows", 0}};
    EXPECT_NE(stock[1], hidden);
    gCVIcons.hideNearby = true;
    EXPECT_EQ(sections(), json({stock[0], hidden, stock[2], stock[3]}));
    gCVIcons.hideSiriSuggestions = gCVIcons.hideNews = true;
    EXPECT_EQ(sections(), json({hidden, hidden, hidden, stock[3]})) << "later sections stay";

    // The empty header has no size, so the hidden section takes no room.
    id table = msg<id>(rootFolderView()->m_pullDownSearchController.get(), "view"_sel);
    auto *header = msg<UIView *, id, NSInteger>(rootFolderView()->m_pullDownSearchController.get(),
                                                "tableView:viewForHeaderInSection:"_sel, table, 1);
    EXPECT_RECT_NEAR(header->frame(), 0, 0, 0, 0);
}

} // namespace
