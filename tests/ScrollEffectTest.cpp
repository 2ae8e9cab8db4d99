// Page-scroll effects on the simulated device, end to end: an effect chosen as the panel
// chooses it shows in the dump's layer transforms while a finger holds the pages, and is
// gone once they rest; `cvsim gallery` shows every effect mid-swipe and swiping, and every
// lock animation.

#include "DeviceTool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <set>

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

// The home screen's icon pages in a dump, in order.
std::vector<json> iconPages(const json &dump)
{
    json scroll = e2e::firstViewIn(dump, [](const json &view) {
        return view["class"] == "UIScrollView" && view.contains("children") &&
               view["children"].back()["class"] == "SBRootIconListView";
    });
    std::vector<json> pages;
    for (const json &child : scroll.value("children", json::array()))
        if (child["class"] == "SBRootIconListView")
            pages.push_back(child);
    return pages;
}

TEST(ScrollEffects, ACubeHeldMidSwipeShowsInTheDumpAndIsGoneAtRest)
{
    std::string root = e2e::temporaryRoot("cube");
    std::string screenshot = root + "-held.png";
    e2e::Result result = e2e::cvsim(root, {"script", "-"},
                                    "unlock\ndefaults write CVAnimations scrollAnimationType 17\n"
                                    "swipe-pages 0.35 --hold\ndump\nscreenshot \"" +
                                        screenshot + "\"\nswipe-pages 1\ndump\n");
    ASSERT_EQ(result.status, 0) << result.err;
    std::vector<json> dumps = e2e::jsonLines(result.out);
    ASSERT_EQ(dumps.size(), 2u);
    // The leaving page is the left one (tag 1), the coming one the right one (tag 2); the
    // cube's own geometry is the effects library's to check.
    std::vector<json> held = iconPages(dumps[0]);
    ASSERT_EQ(held.size(), 2u);
    EXPECT_EQ(held[0]["tag"], 1);
    EXPECT_EQ(held[1]["tag"], 2);
    ASSERT_TRUE(held[0].contains("transform") && held[1].contains("transform"));
    EXPECT_NE(held[0]["transform"], held[1]["transform"]);
    EXPECT_TRUE(fs::file_size(screenshot) > 0);

    ASSERT_EQ(iconPages(dumps[1]).size(), 2u);
    for (const json &page : iconPages(dumps[1])) {
        EXPECT_FALSE(page.contains("transform")) << page["transform"];
        EXPECT_EQ(page["alpha"], 1);
    }
}

bool isPNG(const std::string &bytes)
{
    return bytes.rfind("\x89PNG\r\n\x1a\n", 0) == 0;
}

// An animated WebP: a RIFF file of WebP whose extended header says it is animated.
bool isAnimatedWebP(const std::string &bytes)
{
    return bytes.size() > 30 && bytes.compare(0, 4, "RIFF") == 0 &&
           bytes.compare(8, 8, "WEBPVP8X") == 0 && (bytes[20] & 0x02) &&
           bytes.find("ANMF") != std::string::npos;
}

std::string animatedName(const std::string &imageName)
{
    return fs::path(imageName).replace_extension(".webp").string();
}

const std::array<const char *, 4> kLockStrips = {
    "lock-1-Blur.png",
    "lock-2-Old-TV.png",
    "lock-3-Zoom-Out.png",
    "lock-4-Slide-Away.png",
};

TEST(Gallery, EveryEffectAndLockAnimationInADirectoryThatCanBeMade)
{
    std::string root = e2e::temporaryRoot("gallery");
    fs::path directory = root + "-images";
    fs::remove_all(directory);
    // About half a minute of one core, two with the sanitizers; more on a busy machine.
    e2e::Result result = e2e::cvsim(root, {"gallery", directory}, "", 300);
    ASSERT_EQ(result.status, 0) << result.err;

    // The effects are numbered from 01, each a PNG with its animation beside it; the cube
    // keeps the number the panel stores for it.
    std::vector<std::string> effects;
    for (const fs::directory_entry &entry : fs::directory_iterator(directory))
        if (std::isdigit(entry.path().filename().string()[0]) && entry.path().extension() == ".png")
            effects.push_back(entry.path().filename().string());
    std::sort(effects.begin(), effects.end());
    ASSERT_EQ(effects.size(), 38u);
    for (std::size_t index = 0; index < effects.size(); ++index)
        EXPECT_EQ(std::stoul(effects[index].substr(0, 2)), index + 1) << effects[index];
    EXPECT_EQ(effects[16], "17-Cube-Inside.png");
    std::set<std::string> expected = {"gallery.png"};
    for (const std::string &name : effects)
        expected.insert({name, animatedName(name)});
    for (const char *name : kLockStrips)
        expected.insert({name, animatedName(name)});
    std::set<std::string> found;
    for (const fs::directory_entry &entry : fs::directory_iterator(directory))
        found.insert(entry.path().filename().string());
    EXPECT_EQ(found, expected);

    // Every effect looks different from every other.
    std::set<std::string> images;
    for (const std::string &name : effects) {
        std::string bytes = e2e::fileBytes(directory / name);
        EXPECT_TRUE(isPNG(bytes)) << name;
        EXPECT_TRUE(images.insert(bytes).second) << name << " looks like an earlier effect";
        EXPECT_TRUE(isAnimatedWebP(e2e::fileBytes(directory / animatedName(name)))) << name;
    }
    EXPECT_TRUE(isPNG(e2e::fileBytes(directory / "gallery.png")));

    // The lock animations' strips; how each one plays is seen on the device by the
    // animations script.
    for (const char *name : kLockStrips) {
        EXPECT_TRUE(isPNG(e2e::fileBytes(directory / name))) << name;
        EXPECT_TRUE(isAnimatedWebP(e2e::fileBytes(directory / animatedName(name)))) << name;
    }

    // A directory that cannot be made is a failure with nothing written.
    fs::path blocker = e2e::writeTemporaryFile("gallery-blocker", "not a directory");
    e2e::Result blocked =
        e2e::cvsim(e2e::temporaryRoot("blocked"), {"gallery", (blocker / "images").string()});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_NE(blocked.err.find("cannot make the directory"), std::string::npos) << blocked.err;
    EXPECT_EQ(e2e::fileBytes(blocker), "not a directory");

    EXPECT_EQ(e2e::cvsim(e2e::temporaryRoot("blocked"), {"gallery"}).status, 2);
}

} // namespace
