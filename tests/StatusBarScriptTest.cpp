// The status bar on a scripted device of each generation: the network commands, live
// settings from `defaults write`, and the seconds clock on the virtual clock, as the dump
// shows them.

#include "DeviceTool.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

using nlohmann::json;

class StatusBarScript : public testing::TestWithParam<const char *> {
protected:
    std::vector<json> dumpsOf(const std::string &script)
    {
        e2e::Result result = e2e::cvsim(e2e::temporaryRoot("statusbar"),
                                        {"script", "-", "--ios", GetParam()}, script);
        EXPECT_EQ(result.status, 0) << result.err;
        return e2e::jsonLines(result.out);
    }
};

bool matches(const json &text, const char *pattern)
{
    return text.is_string() && std::regex_match(text.get<std::string>(), std::regex(pattern));
}

TEST_P(StatusBarScript, NetworksAndLiveSettingsShowInTheBarAndTheSecondsTick)
{
    std::vector<json> dumps = dumpsOf("unlock\n"
                                      "dump\n"
                                      "carrier Roaming\n"
                                      "network wifi 10.0.0.9 Cafe\n"
                                      "defaults write CVStatusBar itemIsHidden.batteryImage true\n"
                                      "defaults write CVStatusBar customCarrier true\n"
                                      "defaults write CVStatusBar carrierString Kestrel\n"
                                      "defaults write CVStatusBar timeStringOption 3\n"
                                      "wait 1\n"
                                      "dump\n"
                                      "defaults write CVStatusBar timeStringOption 5\n"
                                      "wait 2\n"
                                      "dump\n"
                                      "wait 1\n"
                                      "dump\n"
                                      "network wifi none\n"
                                      "defaults write CVStatusBar itemIsHidden.batteryImage false\n"
                                      "wait 1\n"
                                      "dump\n");
    ASSERT_EQ(dumps.size(), 5u);
    const json &stock = dumps[0]["statusBar"];
    EXPECT_EQ(stock["carrier"], "Carrier");
    EXPECT_TRUE(matches(stock["time"], "10:0\\d AM")) << stock["time"];
    EXPECT_EQ(stock["items"]["batteryImage"], true);

    const json &custom = dumps[1]["statusBar"];
    EXPECT_EQ(custom["carrier"], "Kestrel");
    EXPECT_EQ(custom["time"], "Cafe");
    EXPECT_EQ(custom["items"]["batteryImage"], false);
    EXPECT_EQ(custom["items"]["networkType"], true);
    EXPECT_EQ(custom["wifi"], (json{{"address", "10.0.0.9"}, {"network", "Cafe"}}));

    const json &seconds = dumps[2]["statusBar"]["time"];
    EXPECT_TRUE(matches(seconds, "10:0\\d:\\d\\d AM")) << seconds;
    EXPECT_NE(dumps[3]["statusBar"]["time"], seconds) << "a second later";

    const json &offline = dumps[4]["statusBar"];
    EXPECT_EQ(offline["items"]["networkType"], false);
    EXPECT_EQ(offline["items"]["batteryImage"], true);
    EXPECT_EQ(offline["wifi"]["address"], nullptr);
}

TEST_P(StatusBarScript, BadNetworkCommandsAreRefusedBeforeAnythingRuns)
{
    std::string root = e2e::temporaryRoot("statusbar-mistakes");
    for (const char *line : {"network wifi 300.1.1.1 Cafe\n", "network wifi\n", "carrier\n"}) {
        e2e::Result result = e2e::cvsim(root, {"script", "-", "--ios", GetParam()}, line);
        EXPECT_NE(result.status, 0) << line;
        EXPECT_EQ(result.out, "") << line;
    }
}

INSTANTIATE_TEST_SUITE_P(Generations, StatusBarScript, testing::Values("7", "8", "9"));

} // namespace
