// `cvsim effect` end to end: an icon image effect applied to a PNG file.

#include "DeviceTool.h"

#include "uikit/UIImage.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using e2e::cvsim;

std::string temporaryFile(const std::string &name)
{
    return testing::TempDir() + "cvsim-effect-" + std::to_string(getpid()) + "-" + name;
}

// A 2 × 1 icon: opaque white, then opaque red.
std::string writeIcon()
{
    AutoreleasePool pool;
    auto pixels =
        StrongRef<CGImage>::adopt(sim::imageFromPixels(2, 1, {255, 255, 255, 255, 255, 0, 0, 255}));
    std::string path = temporaryFile("icon.png");
    EXPECT_TRUE(sim::writePNG(
        UIImage::imageWithCGImageScaleOrientation(pixels, 1, UIImageOrientationUp), path));
    return path;
}

TEST(CvsimEffect, ANumberAndItsTitleGiveTheSameBytesAndMistakesNone)
{
    std::string root = e2e::temporaryRoot("effect");
    std::string icon = writeIcon();
    std::string byNumber = temporaryFile("three.png");
    std::string byTitle = temporaryFile("sepia.png");
    std::string byFaded = temporaryFile("faded.png");
    e2e::Result result = cvsim(root, {"effect", "3", icon, byNumber});
    ASSERT_EQ(result.status, 0) << result.err;
    ASSERT_EQ(cvsim(root, {"effect", "Sepia", icon, byTitle}).status, 0);
    ASSERT_EQ(cvsim(root, {"effect", "Faded Colors", icon, byFaded}).status, 0);

    EXPECT_EQ(e2e::fileBytes(byNumber), e2e::fileBytes(byTitle));
    EXPECT_EQ(e2e::fileBytes(byNumber), e2e::fileBytes(byFaded));
    // Sepia of white is 255, 255, 238; of red 100, 88, 69.
    EXPECT_EQ(e2e::pixelsOfPNG(byNumber),
              (std::vector<std::uint8_t>{255, 255, 238, 255, 100, 88, 69, 255}));

    // Mistakes fail with a message and leave no file.
    std::string out = temporaryFile("never.png");
    std::string text = e2e::writeTemporaryFile("notes.txt", "not a picture");
    std::string directory = temporaryFile("directory");
    std::filesystem::create_directories(directory);
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string message;
    } cases[] = {
        {{"effect", "Blur", icon, out}, 2, "no icon image effect \"Blur\""},
        {{"effect", "8", icon, out}, 2, "no icon image effect \"8\""},
        {{"effect", "sepia", icon, out}, 2, "no icon image effect"},
        {{"effect", "3", icon}, 2, "usage: cvsim effect"},
        {{"effect", "3", temporaryFile("missing.png"), out}, 1, "cannot read"},
        {{"effect", "3", text, out}, 1, "is not a PNG image"},
        {{"effect", "3", icon, directory}, 1, "cannot write"},
    };
    for (const Case &c : cases) {
        e2e::Result result = cvsim(root, c.arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments.back();
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_FALSE(std::filesystem::exists(out));
        EXPECT_FALSE(std::filesystem::exists(out + ".partial"));
    }
    EXPECT_TRUE(std::filesystem::is_directory(directory));
    EXPECT_FALSE(std::filesystem::exists(directory + ".partial"));
}

} // namespace
