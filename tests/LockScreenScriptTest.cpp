// The lock screen on a scripted device of each generation: options written while unlocked
// show at the next lock, and music brings the artwork unless it is refused.

#include "DeviceTool.h"

#include <gtest/gtest.h>

namespace {

using nlohmann::json;

class LockScreenScript : public testing::TestWithParam<const char *> {};

TEST_P(LockScreenScript, OptionsShowAtTheNextLock)
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

INSTANTIATE_TEST_SUITE_P(Generations, LockScreenScript, testing::Values("7", "8", "9"));

} // namespace
