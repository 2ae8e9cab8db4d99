// The app switcher of each generation on a scripted device: applications used and ended,
// the switcher opened by a double press, the App Switcher page's options changing what it
// shows, and swiping the home card away relaunching SpringBoard when asked.

#include "DeviceTool.h"

#include <gtest/gtest.h>

namespace {

using nlohmann::json;

// The snapshot view of the application's page (the node that carries its filters).
json snapshotIn(const json &dump, const std::string &identifier)
{
    return e2e::firstViewIn(dump, [&](const json &view) {
        return view.value("displayIdentifier", "") == identifier &&
               view.contains("snapshotFilters");
    });
}

std::vector<std::string> pagesOf(const json &dump)
{
    return dump["switcher"].value("pages", std::vector<std::string>{});
}

class SwitcherScript : public testing::TestWithParam<const char *> {};

// Safari and Messages ran before the device booted; Mail and Safari are used, and the
// system ends Messages.
TEST_P(SwitcherScript, ShowsTheAppsThatRanFollowsItsOptionsAndRelaunchesFromTheHomeCard)
{
    std::vector<json> dumps = e2e::scriptDumps(
        "unlock\nlaunch com.apple.mobilesafari\npress-home\n"
        "launch com.apple.mobilemail\npress-home\nquit com.apple.MobileSMS\n"
        "defaults write CVAppSlider appsMode 2\nswitcher open\ndump\nswitcher close\n"
        "defaults write CVAppSlider appsMode 1\nswitcher open\ndump\n"
        "switcher tap 1\ndump\n"
        "defaults write CVAppSlider homeAction 1\n"
        "switcher open\nswitcher swipe-up 0\nwait 1\ndump\n",
        {"--ios", GetParam()});
    ASSERT_EQ(dumps.size(), 4u);
    const std::vector<std::string> all = {"com.apple.springboard", "com.apple.mobilemail",
                                          "com.apple.mobilesafari", "com.apple.MobileSMS"};
    EXPECT_EQ(pagesOf(dumps[0]), all);
    EXPECT_EQ(snapshotIn(dumps[0], "com.apple.MobileSMS")["snapshotFilters"],
              json::parse(R"([{"name":"gaussianBlur","inputRadius":8.0}])"));
    EXPECT_EQ(snapshotIn(dumps[0], "com.apple.mobilemail")["snapshotFilters"], json::array());

    EXPECT_EQ(pagesOf(dumps[1]), std::vector<std::string>(all.begin(), all.end() - 1));
    EXPECT_EQ(dumps[2]["switcher"]["open"], false);
    EXPECT_EQ(dumps[2]["applications"]["frontmost"], "com.apple.mobilemail");
    EXPECT_EQ(dumps[2]["springboard"]["launches"], 1);
    EXPECT_EQ(dumps[3]["springboard"]["launches"], 2);
}

INSTANTIATE_TEST_SUITE_P(EachGeneration, SwitcherScript, testing::Values("7", "8", "9"));

} // namespace
