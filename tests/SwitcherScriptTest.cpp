// The app switcher of each generation on a scripted device: applications used and ended,
// the switcher opened by a double press, the App Switcher page's options changing what it
// shows, and swiping the home card away relaunching SpringBoard when asked.

#include "DeviceTool.h"

#include <gtest/gtest.h>

namespace {

using nlohmann::json;

class SwitcherScript : public testing::TestWithParam<const char *> {};

// Safari and Messages ran before the device booted; Mail and Safari are used, and the
// system ends Messages.
TEST_P(SwitcherScript, ShowsTheAppsThatRanFollowsItsOptionsAndRelaunchesFromTheHomeCard)
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

INSTANTIATE_TEST_SUITE_P(EachGeneration, SwitcherScript, testing::Values("7", "8", "9"));

} // namespace
