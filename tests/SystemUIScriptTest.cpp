// The status bar, lock screen and switcher on a scripted device of each generation.

#include "DeviceTool.h"

#include <gtest/gtest.h>

namespace {

using nlohmann::json;

class SystemUIScript : public testing::TestWithParam<const char *> {};

TEST_P(SystemUIScript, StatusBarNetworksAndLiveSettingsShowInTheBar)
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

TEST_P(SystemUIScript, LockScreenOptionsShowAtTheNextLock)
{
    std::vector<json> dumps = e2e::scriptDumps("music play Tune\ndump\nunlock\n"
                                               "defaults write CVLockScreen timeMode 2\n"
                                               "defaults write CVLockScreen timeText Hi\n"
                                               "defaults write CVLockScreen hideAlbumArtwork true\n"
                                               "lock\nwait 1\ndump\n",
                                               {"--ios", GetParam()});
    ASSERT_EQ(dumps.size(), 2u);
    EXPECT_EQ(dumps[0]["lockScreen"]["nowPlaying"], "Tune");
    EXPECT_EQ(dumps[0]["lockScreen"]["artwork"], true);

    const json &custom = dumps[1]["lockScreen"];
    EXPECT_EQ(custom["time"], "Hi");
    EXPECT_EQ(custom["artwork"], false);
}

// Safari and Messages ran before the device booted; Mail and Safari are used, and the
// system ends Messages.
TEST_P(SystemUIScript, SwitcherShowsTheAppsThatRanAndRelaunchesFromTheHomeCard)
{
    std::vector<json> dumps =
        e2e::scriptDumps("unlock\nlaunch com.apple.mobilesafari\npress-home\n"
                         "launch com.apple.mobilemail\npress-home\nquit com.apple.MobileSMS\n"
                         "defaults write CVAppSlider appsMode 2\nswitcher open\ndump\n"
                         "switcher tap 1\ndump\n"
                         "defaults write CVAppSlider homeAction 1\n"
                         "switcher open\nswitcher swipe-up 0\nwait 1\ndump\n",
                         {"--ios", GetParam()});
    ASSERT_EQ(dumps.size(), 3u);
    EXPECT_EQ(dumps[0]["switcher"]["pages"],
              json({"com.apple.springboard", "com.apple.mobilemail", "com.apple.mobilesafari",
                    "com.apple.MobileSMS"}));
    EXPECT_EQ(dumps[1]["switcher"]["open"], false);
    EXPECT_EQ(dumps[1]["applications"]["frontmost"], "com.apple.mobilemail");
    EXPECT_EQ(dumps[2]["springboard"]["launches"], 2);
}

INSTANTIATE_TEST_SUITE_P(Generations, SystemUIScript, testing::Values("7", "8", "9"));

} // namespace
