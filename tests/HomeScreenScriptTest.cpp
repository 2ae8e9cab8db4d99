// The home screen's scripts (tests/scripts/) on each generation they concern.

#include "DeviceTool.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

namespace {

using nlohmann::json;

std::vector<json> runScript(const char *name, const char *generation)
{
    return e2e::scriptDumps(e2e::fileBytes(std::string(CV_SCRIPTS_DIR) + "/" + name),
                            {"--ios", generation});
}

// The icon views of the dump by their labels' text.
std::map<std::string, json> iconViews(const json &dump)
{
    std::map<std::string, json> views;
    for (const json &icon : e2e::viewsIn(dump, [](const json &view) {
             return view.value("class", "") == "SBIconView" ||
                    view.value("class", "") == "SBFolderIconView";
         }))
        for (const json &child : icon.value("children", json::array()))
            if (child.value("class", "") == "UILabel")
                views[child.value("text", "")] = icon;
    return views;
}

class HomeScreenScript : public testing::TestWithParam<const char *> {};

TEST_P(HomeScreenScript, IconBadgesDraggingWigglingAndTheLabelFont)
{
    std::vector<json> dumps = runScript("icons.cvsim", GetParam());
    ASSERT_EQ(dumps.size(), 3u);
    auto editing = iconViews(dumps[0]);
    // Badges keep their disc but draw no digits.
    EXPECT_TRUE(editing["Messages"]["badge"]["textColor"].is_null());
    // Calendar was dragged from the first place to the fourth.
    EXPECT_EQ(editing["Calendar"]["frame"][0], 288);
    EXPECT_EQ(editing["Photos"]["jitter"], json({"SBIconPosition", "SBIconTransform"}));
    // Newsstand is SpringBoard's own on iOS 7 and 8; iOS 9 has none.
    EXPECT_EQ(editing.contains("Newsstand"), std::string(GetParam()) != "9");

    auto still = iconViews(dumps[1]);
    EXPECT_EQ(still["Photos"]["jitter"], json::array()) << "wiggling is off live";

    auto respring = iconViews(dumps[2]);
    EXPECT_EQ(respring["Messages"]["labelFont"]["name"], "DejaVuSans-Bold");
    EXPECT_EQ(dumps[2]["springboard"]["launches"], 2);
    EXPECT_FALSE(respring.contains("Newsstand"));
    EXPECT_TRUE(respring["Notes"]["hidden"]);
}

TEST_P(HomeScreenScript, DockBackgroundHiddenLiveThenNoDockAfterARespring)
{
    std::vector<json> dumps = runScript("dock.cvsim", GetParam());
    ASSERT_EQ(dumps.size(), 2u);
    EXPECT_EQ(e2e::firstViewIn(
                  dumps[0], e2e::ofClass("SBDockView"))["backgroundViewsHidden"]["backgroundView"],
              true);
    EXPECT_TRUE(e2e::firstViewIn(dumps[1], e2e::ofClass("SBDockView")).is_null());
    EXPECT_EQ(iconViews(dumps[1]).count("Phone"), 0u) << "the dock's icons went with it";
}

// iOS 7 here is 7.0, whose backdrop has no dark style.
TEST_P(HomeScreenScript, FolderTitleWhileEditingDarkBackdropAndPinchToClose)
{
    std::vector<json> dumps = runScript("folders.cvsim", GetParam());
    ASSERT_EQ(dumps.size(), 3u);
    EXPECT_EQ(dumps[0]["homeScreen"]["folderOpen"], true);
    EXPECT_EQ(e2e::firstViewIn(dumps[0], e2e::ofClass("UITextField"))["hidden"], true);
    EXPECT_EQ(e2e::firstViewIn(dumps[0], e2e::ofClass("SBFolderBackgroundView"))["backdrop"],
              std::string(GetParam()) == "7" ? "light" : "dark");
    EXPECT_EQ(e2e::firstViewIn(dumps[1], e2e::ofClass("UITextField"))["hidden"], false);
    EXPECT_EQ(dumps[2]["homeScreen"]["folderOpen"], false);
}

INSTANTIATE_TEST_SUITE_P(Generations, HomeScreenScript, testing::Values("7", "8", "9"));

// Spotlight's sections exist on iOS 9 only. The script's lines that are not documents (a
// blocked pull-down says so) are left out of the dumps.
TEST(SpotlightScript, NearbyHiddenLiveAndThePullDownBlocked)
{
    std::string path = std::string(CV_SCRIPTS_DIR) + "/spotlight.cvsim";
    e2e::Result result =
        e2e::cvsim(e2e::temporaryRoot("spotlight"), {"script", path, "--ios", "9"});
    ASSERT_EQ(result.status, 0) << result.err;
    std::vector<json> dumps;
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line[0] == '{')
            dumps.push_back(json::parse(line));
    ASSERT_EQ(dumps.size(), 3u);
    const json &open = dumps[0]["homeScreen"]["spotlight"];
    EXPECT_EQ(open["open"], true);
    EXPECT_EQ(open["sections"][1], json({{"header", nullptr}, {"rows", 0}}));
    EXPECT_EQ(open["sections"][0]["header"], "SIRI APP SUGGESTIONS");
    EXPECT_EQ(dumps[1]["homeScreen"]["spotlight"]["open"], false);
    EXPECT_NE(result.out.find("the pull-down Spotlight is disabled"), std::string::npos);
}

} // namespace
