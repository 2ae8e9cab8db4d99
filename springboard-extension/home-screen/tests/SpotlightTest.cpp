// The Spotlight sections group as installed into SpringBoard on iOS 9: each of the first
// three sections hidden by its own option, later sections never.

#include "HomeScreenTest.h"
#include "springboard-extension/frame/tests/OwnProcess.h"

#include "springboard/home-screen/HomeScreenHost.h"

#include <nlohmann/json.hpp>

namespace {

using nlohmann::json;

class SpotlightSections : public test::HomeScreenTest {
protected:
    SpotlightSections() : HomeScreenTest({"IconListsInit", "SpotlightInit"}) {}

    // Header title (null for an empty header) and rows of every section.
    static json sections() { return sim::HomeScreenHost::spotlightDump()["sections"]; }
};

TEST_F(SpotlightSections, EachOptionHidesItsOwnSectionOnly)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    json stock = sections();
    ASSERT_EQ(stock.size(), 4u);
    for (const json &section : stock)
        EXPECT_FALSE(section["header"].is_null());

    gCVIcons.hideNearby = true;
    json nearby = sections();
    EXPECT_EQ(nearby[1], json({{"header", nullptr}, {"rows", 0}}));
    EXPECT_EQ(nearby[0], stock[0]);
    EXPECT_EQ(nearby[2], stock[2]);

    gCVIcons.hideSiriSuggestions = gCVIcons.hideNews = true;
    json all = sections();
    for (int section = 0; section < 3; ++section)
        EXPECT_EQ(all[section], json({{"header", nullptr}, {"rows", 0}})) << section;
    EXPECT_EQ(all[3], stock[3]) << "later sections stay SpringBoard's";

    // The empty header has no size, so the hidden section takes no room.
    id table = msg<id>(rootFolderView()->m_pullDownSearchController.get(), "view"_sel);
    auto *header = msg<UIView *, id, NSInteger>(rootFolderView()->m_pullDownSearchController.get(),
                                                "tableView:viewForHeaderInSection:"_sel, table, 1);
    EXPECT_RECT_NEAR(header->frame(), 0, 0, 0, 0);
}

} // namespace
