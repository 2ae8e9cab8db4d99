// Control Center and Notification Center on a scripted device of each generation: opened
// and closed by their edge swipes, changed live by the panel's settings, refused when
// switched off, and shown in the dump.

#include "DeviceTool.h"

#include <gtest/gtest.h>

namespace {

using nlohmann::json;

struct ScriptRun {
    int status;
    std::string err;
    std::vector<json> dumps;
};

ScriptRun runScript(const std::string &script, const std::string &generation)
{
    e2e::Result result =
        e2e::cvsim(e2e::temporaryRoot("centers"), {"script", "-", "--ios", generation}, script);
    return {result.status, result.err, e2e::jsonLines(result.out)};
}

int shownSeparators(const json &controlCenter)
{
    int shown = 0;
    for (const json &separator : controlCenter["separators"])
        shown += separator.get<bool>();
    return shown;
}

class Centers : public testing::TestWithParam<std::string> {};

TEST_P(Centers, ControlCenterOpensByItsSwipeAndFollowsTheSettingsLive)
{
    ScriptRun run =
        runScript("unlock\ncontrol-center open\ntap-toggle 2\ndump\ncontrol-center close\n"
                  "defaults write CVControlCenter hideSectionBrightness true\n"
                  "defaults write CVControlCenter blurRadius 12\n"
                  "control-center open\ndump\n",
                  GetParam());
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.dumps.size(), 2u);
    const json &before = run.dumps[0]["controlCenter"];
    EXPECT_EQ(before["open"], true);
    EXPECT_EQ(shownSeparators(before), 4);
    EXPECT_EQ(before["toggles"][2]["controlState"], 1);
    EXPECT_EQ(before["backdrop"]["blurRadius"], 30.0);
    EXPECT_EQ(before["backdrop"]["colorTint"][3], 0.0) << "no tint: the clear colour";

    const json &after = run.dumps[1]["controlCenter"];
    EXPECT_EQ(after["sections"][1]["name"], "SBCCBrightnessSectionController");
    EXPECT_EQ(after["sections"][1]["shown"], false);
    EXPECT_EQ(shownSeparators(after), 3);
    EXPECT_EQ(after["backdrop"]["blurRadius"], 12.0);
}

TEST_P(Centers, ADisabledControlCenterDoesNotOpenOnIOS9)
{
    ScriptRun run = runScript("unlock\ndefaults write CVControlCenter disableCC true\n"
                              "control-center open\ndump\n",
                              GetParam());
    if (GetParam() == "9") {
        EXPECT_NE(run.status, 0);
        EXPECT_NE(run.err.find("Control Center did not open"), std::string::npos) << run.err;
    } else {
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.dumps.at(0)["controlCenter"]["open"], true);
    }
}

TEST_P(Centers, NotificationCenterListsNotificationsAndLeavesTodayOut)
{
    ScriptRun run = runScript("unlock\nnotification-center open\ndump\nnotification-center close\n"
                              "notify com.apple.mobilemail You have mail\n"
                              "defaults write CVNotificationCenter hideToday true\n"
                              "notification-center open\ndump\n",
                              GetParam());
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.dumps.size(), 2u);
    const json &before = run.dumps[0]["notificationCenter"];
    EXPECT_EQ(before["open"], true);
    EXPECT_EQ(before["modes"][0], "SBTodayViewController");
    EXPECT_EQ(before["notifications"], json::array({"No Notifications"}));
    EXPECT_EQ(before["backdrop"]["blurRadius"], 20.0);

    const json &after = run.dumps[1]["notificationCenter"];
    EXPECT_NE(after["modes"][0], "SBTodayViewController");
    EXPECT_EQ(after["modes"].size(), before["modes"].size() - 1);
    EXPECT_EQ(after["notifications"], json::array({"com.apple.mobilemail: You have mail"}));
}

TEST_P(Centers, ADisabledNotificationCenterDoesNotOpen)
{
    ScriptRun run = runScript("unlock\ndefaults write CVNotificationCenter disableNC true\n"
                              "notification-center open\n",
                              GetParam());
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("Notification Center did not open"), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(Generations, Centers, testing::Values("7", "8", "9"),
                         [](const testing::TestParamInfo<std::string> &info) {
                             return "iOS" + info.param;
                         });

} // namespace
