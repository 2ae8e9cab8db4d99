// A finger at points of the screen (`finger`, `tap`) in a script on each generation.

#include "DeviceTool.h"

#include <gtest/gtest.h>

namespace {

using nlohmann::json;

// The home screen's page offset (the content offset of its page scroll view), in points.
double pageOffset(const json &dump)
{
    json scroll = e2e::firstViewIn(dump, [](const json &view) {
        return view.value("class", "") == "UIScrollView" ||
               view.value("class", "") == "SBIconScrollView";
    });
    EXPECT_FALSE(scroll.is_null()) << "no page scroll view in the dump";
    return scroll.is_null() ? -1 : scroll["bounds"].at(0).get<double>();
}

class FingerScript : public testing::TestWithParam<const char *> {};

TEST_P(FingerScript, DragsThePagesAndTapsIcons)
{
    std::vector<json> dumps = e2e::scriptDumps(
        e2e::fileBytes(std::string(CV_SCRIPTS_DIR) + "/fingers.cvsim"), {"--ios", GetParam()});
    ASSERT_EQ(dumps.size(), 4u);
    // iOS 9 has Spotlight's page before the first page of icons.
    double firstPage = std::string(GetParam()) == "9" ? 375 : 0;
    // Held: the pages sit where the finger holds them, 180 points along.
    EXPECT_DOUBLE_EQ(pageOffset(dumps[0]), firstPage + 180);
    // Lifted: they settle on the next page.
    EXPECT_DOUBLE_EQ(pageOffset(dumps[1]), firstPage + 375);
    EXPECT_TRUE(dumps[2]["homeScreen"]["folderOpen"]);
    EXPECT_EQ(dumps[3]["applications"]["frontmost"], "com.apple.mobilecal");
}

INSTANTIATE_TEST_SUITE_P(Generations, FingerScript, testing::Values("7", "8", "9"));

} // namespace
