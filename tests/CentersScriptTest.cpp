// Control Center and Notification Center on a scripted device of each generation.

#include "DeviceTool.h"

#include <gtest/gtest.h>

namespace {

using nlohmann::json;

class Centers : public testing::TestWithParam<std::string> {};

TEST_P(Centers, BothCentersOpenByTheirSwipesAndFollowTheSettingsLive)
{
    std::vector<json> dumps =
        e2e::scriptDumps("unlock\ncontrol-center open\ntap-toggle 2\ndump\ncontrol-center close\n"
                         "defaults write CVControlCenter hideSectionBrightness true\n"
                         "control-center open\ndump\ncontrol-center close\n"
                         "notify com.apple.mobilemail You have mail\n"
                         "defaults write CVNotificationCenter hideToday true\n"
                         "notification-center open\ndump\n",
                         {"--ios", GetParam()});
    ASSERT_EQ(dumps.size(), 3u);
    const json &before = dumps[0]["controlCenter"];
    EXPECT_EQ(before["open"], true);
    EXPECT_EQ(before["toggles"][2]["controlState"], 1);

    const json &after = dumps[1]["controlCenter"];
    EXPECT_EQ(after["sections"][1]["name"], "SBCCBrightnessSectionController");
    EXPECT_EQ(after["sections"][1]["shown"], false);

    const json &notifications = dumps[2]["notificationCenter"];
    EXPECT_EQ(notifications["open"], true);
    EXPECT_NE(notifications["modes"][0], "SBTodayViewController");
    EXPECT_EQ(notifications["notifications"], json::array({"com.apple.mobilemail: You have mail"}));
}

INSTANTIATE_TEST_SUITE_P(Generations, Centers, testing::Values("7", "8", "9"),
                         [](const testing::TestParamInfo<std::string> &info) {
                             return "iOS" + info.param;
                         });

} // namespace
