// The status bar on a scripted device of each generation: the network commands and live
// settings from `defaults write`, as the dump shows them.

#include "DeviceTool.h"

#include <gtest/gtest.h>

namespace {

using nlohmann::json;

class StatusBarScript : public testing::TestWithParam<const char *> {};

TEST_P(StatusBarScript, NetworksAndLiveSettingsShowInTheBar)
{
    std::vector<json> dumps =
        e2e::scriptDumps("unlock\n"
                         "network wifi 10.0.0.9 Cafe\n"
                         "defaults write CVStatusBar itemIsHidden.batteryImage true\n"
                         "defaults write CVStatusBar customCarrier true\n"
                         "defaults write CVStatusBar carrierString Kestrel\n"
                         "defaults write CVStatusBar timeStringOption 3\n"
                         "wait 1\ndump\n"
                         "network wifi none\nwait 1\ndump\n",
                         {"--ios", GetParam()});
    ASSERT_EQ(dumps.size(), 2u);
    const json &custom = dumps[0]["statusBar"];
    EXPECT_EQ(custom["carrier"], "Kestrel");
    EXPECT_EQ(custom["time"], "Cafe");
    EXPECT_EQ(custom["items"]["batteryImage"], false);
    EXPECT_EQ(custom["items"]["networkType"], true);
    EXPECT_EQ(custom["wifi"], (json{{"address", "10.0.0.9"}, {"network", "Cafe"}}));
    EXPECT_EQ(dumps[1]["statusBar"]["items"]["networkType"], false);
    EXPECT_EQ(dumps[1]["statusBar"]["wifi"]["address"], nullptr);
}

INSTANTIATE_TEST_SUITE_P(Generations, StatusBarScript, testing::Values("7", "8", "9"));

} // namespace
