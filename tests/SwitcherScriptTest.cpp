// The app switcher of each generation on a scripted device: applications used and ended,
// the switcher opened by a double press, every option of the App Switcher page changing
// what it shows, and swiping the home card away relaunching SpringBoard when asked.

#include "DeviceTool.h"

#include <gtest/gtest.h>

namespace {

using nlohmann::json;

// Safari and Messages ran before the device booted; Mail and Safari are used, and the
// system ends Messages.
constexpr const char *kUseApplications = "unlock\n"
                                         "launch com.apple.mobilesafari\n"
                                         "press-home\n"
                                         "launch com.apple.mobilemail\n"
                                         "press-home\n"
                                         "quit com.apple.MobileSMS\n";

std::vector<json> run(const std::string &script, const char *generation)
{
    e2e::Result result =
        e2e::cvsim(e2e::temporaryRoot("switcher"), {"script", "-", "--ios", generation}, script);
    EXPECT_EQ(result.status, 0) << result.err;
    return e2e::jsonLines(result.out);
}

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

TEST_P(SwitcherScript, ShowsTheAppsThatRanAndEachOptionChangesIt)
{
    std::vector<json> dumps =
        run(std::string(kUseApplications) + "defaults write CVAppSlider appsMode 2\n"
                                            "switcher open\ndump\nswitcher close\n"
                                            "defaults write CVAppSlider appsMode 3\n"
                                            "switcher open\ndump\nswitcher close\n"
                                            "defaults write CVAppSlider appsMode 1\n"
                                            "switcher open\ndump\n"
                                            "switcher tap 1\ndump\n",
            GetParam());
    ASSERT_EQ(dumps.size(), 4u);
    const std::vector<std::string> all = {"com.apple.springboard", "com.apple.mobilemail",
                                          "com.apple.mobilesafari", "com.apple.MobileSMS"};
    EXPECT_EQ(pagesOf(dumps[0]), all);
    json blurred = snapshotIn(dumps[0], "com.apple.MobileSMS");
    EXPECT_EQ(blurred["snapshotFilters"],
              json::parse(R"([{"name":"gaussianBlur","inputRadius":8.0}])"));
    EXPECT_EQ(blurred["rasterized"], true);
    EXPECT_EQ(snapshotIn(dumps[0], "com.apple.mobilemail")["snapshotFilters"], json::array());

    EXPECT_EQ(snapshotIn(dumps[1], "com.apple.MobileSMS")["containerAlpha"], 0.5);
    EXPECT_EQ(snapshotIn(dumps[1], "com.apple.mobilesafari")["containerAlpha"], 1.0);

    EXPECT_EQ(pagesOf(dumps[2]), std::vector<std::string>(all.begin(), all.end() - 1));
    EXPECT_EQ(dumps[3]["switcher"]["open"], false);
    EXPECT_EQ(dumps[3]["applications"]["frontmost"], "com.apple.mobilemail");
}

TEST_P(SwitcherScript, HomeCardRelaunchesSpringBoardOnlyWhenAsked)
{
    std::vector<json> dumps =
        run(std::string(kUseApplications) + "switcher open\ndump\n"
                                            "defaults write CVAppSlider homeAction 1\n"
                                            "switcher open\nswitcher swipe-up 0\nwait 1\ndump\n",
            GetParam());
    ASSERT_EQ(dumps.size(), 2u);
    EXPECT_EQ(dumps[0]["springboard"]["launches"], 1);
    EXPECT_EQ(dumps[1]["springboard"]["launches"], 2);
}

TEST_P(SwitcherScript, HiddenIconsAndScaledPages)
{
    std::vector<json> dumps =
        run(std::string(kUseApplications) + "defaults write CVAppSlider hideIcons true\n"
                                            "defaults write CVAppSlider pageScaleFactor 1.21\n"
                                            "switcher open\ndump\n",
            GetParam());
    ASSERT_EQ(dumps.size(), 1u);
    const json &switcher = dumps[0]["switcher"];
    if (std::string(GetParam()) == "9") {
        std::vector<json> cards = e2e::viewsIn(dumps[0], [](const json &view) {
            return view.value("displayIdentifier", "") == "com.apple.mobilemail";
        });
        ASSERT_FALSE(cards.empty());
        EXPECT_NEAR(cards[0]["scale"].get<double>(), 0.9, 1e-6);
        EXPECT_EQ(cards[0]["titleAndIconOpacity"], 0.0);
    } else {
        EXPECT_NEAR(switcher["pageScale"].get<double>(), 0.55 * 1.21, 1e-9);
        EXPECT_EQ(switcher["visibleIcons"], json::array());
    }
}

INSTANTIATE_TEST_SUITE_P(EachGeneration, SwitcherScript, testing::Values("7", "8", "9"));

TEST(SwitcherScriptErrors, BadGesturesAreRefusedWithTheirReason)
{
    e2e::Result closed =
        e2e::cvsim(e2e::temporaryRoot("switcher"), {"script", "-"}, "unlock\nswitcher tap 0\n");
    EXPECT_EQ(closed.status, 1);
    EXPECT_NE(closed.err.find("the switcher is not open"), std::string::npos) << closed.err;
    e2e::Result usage =
        e2e::cvsim(e2e::temporaryRoot("switcher"), {"script", "-"}, "switcher swipe-up\n");
    EXPECT_EQ(usage.status, 1);
    EXPECT_NE(usage.err.find("usage: switcher"), std::string::npos) << usage.err;
    e2e::Result unknown = e2e::cvsim(e2e::temporaryRoot("switcher"), {"script", "-"},
                                     "unlock\nlaunch com.example.none\n");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("com.example.none cannot be launched"), std::string::npos);
}

} // namespace
