// Page-scroll effects on the simulated device, and `cvsim gallery`.

#include "DeviceTool.h"

#include <gtest/gtest.h>

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
    std::vector<json> dumps =
        e2e::scriptDumps("unlock\ndefaults write CVAnimations scrollAnimationType 17\n"
                         "swipe-pages 0.35 --hold\ndump\nswipe-pages 1\ndump\n");
    ASSERT_EQ(dumps.size(), 2u);
    // The leaving page is the left one (tag 1), the coming one the right one (tag 2); the
    // cube's own geometry is the effects library's to check.
    std::vector<json> held = iconPages(dumps[0]);
    ASSERT_EQ(held.size(), 2u);
    EXPECT_EQ(held[0]["tag"], 1);
    EXPECT_EQ(held[1]["tag"], 2);
    ASSERT_TRUE(held[0].contains("transform") && held[1].contains("transform"));
    EXPECT_NE(held[0]["transform"], held[1]["transform"]);

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

    // The effects are numbered from 01; the cube keeps the number the panel stores for it.
    std::set<std::string> found;
    for (const fs::directory_entry &entry : fs::directory_iterator(directory))
        found.insert(entry.path().filename().string());
    std::vector<std::string> pictures;
    for (const std::string &name : found)
        if (std::isdigit(name[0]) && name.ends_with(".png"))
            pictures.push_back(name);
    ASSERT_EQ(pictures.size(), 38u);
    for (std::size_t index = 0; index < pictures.size(); ++index)
        EXPECT_EQ(std::stoul(pictures[index].substr(0, 2)), index + 1) << pictures[index];
    EXPECT_EQ(pictures[16], "17-Cube-Inside.png");

    // Every effect and lock animation is a PNG unlike every other, its animation beside it.
    pictures.insert(pictures.end(), kLockStrips.begin(), kLockStrips.end());
    std::set<std::string> expected = {"gallery.png"};
    std::set<std::string> images;
    for (const std::string &name : pictures) {
        expected.insert({name, animatedName(name)});
        std::string bytes = e2e::fileBytes(directory / name);
        EXPECT_TRUE(isPNG(bytes)) << name;
        EXPECT_TRUE(images.insert(bytes).second) << name << " looks like an earlier picture";
        EXPECT_TRUE(isAnimatedWebP(e2e::fileBytes(directory / animatedName(name)))) << name;
    }
    EXPECT_EQ(found, expected);
    EXPECT_TRUE(isPNG(e2e::fileBytes(directory / "gallery.png")));

    // A directory that cannot be made is a failure with nothing written.
    fs::path blocker = e2e::writeTemporaryFile("gallery-blocker", "not a directory");
    EXPECT_EQ(e2e::cvsim(e2e::temporaryRoot("blocked"), {"gallery", (blocker / "images").string()})
                  .status,
              1);
    EXPECT_EQ(e2e::fileBytes(blocker), "not a directory");
}

} // namespace
