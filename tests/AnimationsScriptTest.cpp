// Lock animations and animation speed on a scripted device of each generation.

#include "DeviceTool.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using nlohmann::json;

bool isBlack(const std::vector<std::uint8_t> &pixels)
{
    for (std::size_t i = 0; i < pixels.size(); i += 4)
        if (pixels[i] || pixels[i + 1] || pixels[i + 2] || pixels[i + 3] != 255)
            return false;
    return !pixels.empty();
}

class AnimationsScript : public testing::TestWithParam<const char *> {
protected:
    std::string m_folder = e2e::temporaryRoot(std::string("shots-") + GetParam());
    std::string shot(const std::string &name) const { return m_folder + "/" + name + ".png"; }
};

TEST_P(AnimationsScript, EachLockAnimationPlaysAndTheScreenEndsBlack)
{
    std::filesystem::create_directories(m_folder);
    std::string script = "unlock\nscreenshot " + shot("home") + "\n";
    for (int type = 1; type <= 4; ++type) {
        std::string n = std::to_string(type);
        script += "defaults write CVAnimations lockAnimationType " + n + "\nscreenshot-after 0.5 " +
                  shot("mid-" + n) + "\nlock\nwait 2\nscreenshot " + shot("end-" + n) +
                  "\nunlock\n";
    }
    e2e::Result result = e2e::cvsim(e2e::temporaryRoot(std::string("lock-") + GetParam()),
                                    {"script", "-", "--ios", GetParam()}, script);
    ASSERT_EQ(result.status, 0) << result.err;
    std::vector<std::uint8_t> home = e2e::pixelsOfPNG(shot("home"));
    ASSERT_FALSE(home.empty());
    for (int type = 1; type <= 4; ++type) {
        SCOPED_TRACE(type);
        std::vector<std::uint8_t> mid = e2e::pixelsOfPNG(shot("mid-" + std::to_string(type)));
        ASSERT_EQ(mid.size(), home.size());
        EXPECT_NE(mid, home);
        EXPECT_FALSE(isBlack(mid));
        EXPECT_TRUE(isBlack(e2e::pixelsOfPNG(shot("end-" + std::to_string(type)))));
    }
}

// A folder takes 0.3 seconds to open at the stock speed.
TEST_P(AnimationsScript, CustomSpeedSlowsSpringBoardsOwnAnimations)
{
    std::vector<json> dumps =
        e2e::scriptDumps("unlock\ndefaults write CVAnimations animationSpeed 3\n"
                         "defaults write CVAnimations customSpeed true\n"
                         "open-folder 0\nwait 0.85\ndump\nwait 0.1\ndump\n",
                         {"--ios", GetParam()});
    ASSERT_EQ(dumps.size(), 2u);
    EXPECT_EQ(dumps[0]["animations"]["settings"]["slowDownFactor"], 3.0);
    EXPECT_EQ(e2e::viewsIn(dumps[0], e2e::ofClass("SBZoomableCrossfadeView")).size(), 1u)
        << "still opening";
    EXPECT_EQ(e2e::viewsIn(dumps[1], e2e::ofClass("SBZoomableCrossfadeView")).size(), 0u);
    EXPECT_EQ(dumps[1]["homeScreen"]["folderOpen"], true);
}

INSTANTIATE_TEST_SUITE_P(Generations, AnimationsScript, testing::Values("7", "8", "9"));

} // namespace
