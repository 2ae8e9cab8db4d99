// Recording in a script: every frame of a swipe as numbered PNGs beside one animated WebP.

#include "DeviceTool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace {

namespace fs = std::filesystem;

TEST(RecordScript, WritesEveryFrameOfASwipeAndAnAnimation)
{
    // The script's relative paths are the caller's: run it from a fresh directory.
    fs::path work = e2e::temporaryRoot("record-work");
    fs::create_directories(work);
    std::string script = e2e::fileBytes(std::string(CV_SCRIPTS_DIR) + "/record.cvsim");
    fs::path previous = fs::current_path();
    fs::current_path(work);
    e2e::Result result = e2e::cvsim(e2e::temporaryRoot("record"), {"script", "-"}, script);
    fs::current_path(previous);
    ASSERT_EQ(result.status, 0) << result.err;

    // `record stop` says what it wrote; then comes the dump.
    std::size_t said = result.out.find("\n{");
    ASSERT_NE(said, std::string::npos) << result.out;
    EXPECT_NE(result.out.find("frames, recording/recording.webp"), std::string::npos) << result.out;
    std::vector<nlohmann::json> dumps = e2e::jsonLines(result.out.substr(said + 1));
    ASSERT_EQ(dumps.size(), 1u);
    int frames = dumps[0]["recording"]["frames"];
    EXPECT_FALSE(dumps[0]["recording"]["active"]);
    ASSERT_GE(frames, 5);
    // Numbered from 1, and nothing else but the animation.
    std::set<std::string> pictures;
    for (int number = 1; number <= frames; ++number) {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%04d.png", number);
        pictures.insert(e2e::fileBytes(work / "recording" / name));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(work / "recording"), fs::directory_iterator()),
              frames + 1);
    // The pages move in every frame of the swipe but the last ones, where they rest.
    EXPECT_GE(pictures.size(), std::size_t(frames) - 3);
    EXPECT_EQ(e2e::fileBytes(work / "recording" / "frame-0001.png"),
              e2e::fileBytes(work / "home.png"));

    std::string animation = e2e::fileBytes(work / "recording" / "recording.webp");
    ASSERT_GT(animation.size(), 12u);
    EXPECT_EQ(animation.substr(0, 4), "RIFF");
    EXPECT_EQ(animation.substr(8, 4), "WEBP");
    EXPECT_NE(animation.find("ANMF"), std::string::npos);
}

} // namespace
