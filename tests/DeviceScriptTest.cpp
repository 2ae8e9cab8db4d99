// `cvsim script` end to end.

#include "DeviceTool.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

using e2e::containsLine;
using nlohmann::json;

constexpr const char *kApply = "post com.kestrelworks.corvane3.applySettings";

json unsupportedAlert(const std::string &version)
{
    return {{"title", "Corvane"},
            {"message", "Corvane 3 does not support this iOS version (" + version + ")."},
            {"buttons", {"Cancel"}}};
}

// The farewell and the relaunch are the extension's; the device keeps its process and
// hands each dump only the log written since the last.
TEST(ScriptedApply, TheApplyNotificationRelaunchesSpringBoardAfterTheFarewell)
{
    std::vector<json> dumps =
        e2e::scriptDumps(std::string("dump\n") + kApply + "\nwait 2\ndump\nwait 1\ndump\n");
    ASSERT_EQ(dumps.size(), 3u);
    // Still playing the farewell: 0.1 s after the home press, then 2.3 s of animation.
    EXPECT_EQ(dumps[1]["springboard"]["launches"], 1);
    EXPECT_FALSE(containsLine(dumps[1]["log"], "Welcome to Corvane 3")) << "a dump's log starts "
                                                                           "where the last ended";
    EXPECT_EQ(dumps[2]["springboard"]["launches"], 2);
    EXPECT_EQ(dumps[2]["springboard"]["pid"], dumps[0]["springboard"]["pid"]);
    EXPECT_TRUE(containsLine(dumps[2]["log"], "Loading on 1240.100000")) << dumps[2]["log"];
}

// The device starts locked, so the first lock-state change is an unlock.
TEST(UnsupportedSystem, TheAlertWaitsForTheFirstLockOrUnlockAndShowsOnce)
{
    std::vector<json> dumps = e2e::scriptDumps(
        "dump\nwait 5\ndump\nunlock\ndump\nlock\nunlock\ndump\n", {"--cf", "847.19"});
    ASSERT_EQ(dumps.size(), 4u);
    EXPECT_TRUE(containsLine(dumps[0]["log"], "847.190000 not supported!")) << dumps[0]["log"];
    EXPECT_FALSE(containsLine(dumps[0]["log"], "Loading on 847.190000"));
    EXPECT_EQ(dumps[0]["alerts"], json::array());
    EXPECT_EQ(dumps[1]["alerts"], json::array()) << "time alone shows nothing";
    EXPECT_EQ(dumps[2]["alerts"], json::array({unsupportedAlert("847.190")}));
    EXPECT_EQ(dumps[3]["alerts"], dumps[2]["alerts"]) << "shown once";
}

TEST(ScriptMistakes, AMistakeStopsTheScriptNamingItsLine)
{
    std::string root = e2e::temporaryRoot("mistakes");
    e2e::Result unknown = e2e::cvsim(root, {"script", "-"}, "dump\n\nfly away\n");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("line 3: unknown command \"fly\""), std::string::npos)
        << unknown.err;
    EXPECT_EQ(unknown.out, "") << "nothing runs before the script is known to be whole";

    e2e::Result failing =
        e2e::cvsim(root, {"script", "-"}, "dump\ndefaults write CVNothing x 1\ndump\n");
    EXPECT_EQ(failing.status, 1);
    EXPECT_NE(failing.err.find("line 2"), std::string::npos) << failing.err;
    EXPECT_NE(failing.err.find("no section named \"CVNothing\""), std::string::npos) << failing.err;
    EXPECT_EQ(e2e::jsonLines(failing.out).size(), 1u);

    EXPECT_EQ(e2e::cvsim(root, {"script", root + "/no-such-script"}).status, 1);
    EXPECT_EQ(e2e::cvsim(root, {"script", "a.txt", "b.txt"}).status, 2);
}

// The feature commands: a line they cannot take stops the script before anything runs
// (naming its line or usage); what the device cannot do stops it there, saying why.
TEST(ScriptMistakes, FeatureCommandsRefuseWhatTheyCannotTakeOrDo)
{
    std::string directory = e2e::temporaryRoot("refused-recording");
    const std::pair<std::string, const char *> refused[] = {
        {"network wifi 300.1.1.1 Cafe\n", "line 1"},
        {"finger press 1 2\n", "line 1"},
        {"tap 1 99999\n", "line 1"},
        {"record start x --fps 90\n", "line 1"},
        {"switcher swipe-up\n", "usage: switcher"},
        {"screenshot-after 1 later.jpg\n", "usage: screenshot-after SECONDS PATH.png"},
        {"unlock\nswitcher tap 0\n", "the switcher is not open"},
        {"unlock\nlaunch com.example.none\n", "com.example.none cannot be launched"},
        {"record stop\n", "no recording runs"},
        {"record start " + directory + "/a\nrecord start " + directory + "/b\n", "runs already"},
        {"unlock\ndefaults write CVNotificationCenter disableNC true\nnotification-center open\n",
         "Notification Center did not open"},
    };
    for (const auto &[script, reason] : refused) {
        e2e::Result result = e2e::cvsim(e2e::temporaryRoot("refused"), {"script", "-"}, script);
        EXPECT_EQ(result.status, 1) << script;
        EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
        if (reason[0] == 'l' || reason[0] == 'u') {
            EXPECT_EQ(result.out, "") << script;
        }
    }
}

// A script file runs on the given root and leaves no temporary root behind.
TEST(ScriptFiles, AScriptFileWithCommentsRunsOnItsRootAndTakesScreenshots)
{
    std::string temporary = e2e::temporaryRoot("tmpdir");
    std::string root = e2e::temporaryRoot("file");
    std::string picture = root + "/home.png";
    std::string script = e2e::writeTemporaryFile(
        "home.script", "# the home screen, unlocked\nunlock\nrotate 3\nswipe-pages 1\n"
                       "edit on\nedit off\nscreenshot \"" +
                           picture + "\"\n");
    std::filesystem::create_directories(temporary);
    setenv("TMPDIR", temporary.c_str(), 1);
    e2e::Result result = e2e::cvsim(root, {"script", script, "--idiom", "pad"});
    unsetenv("TMPDIR");
    EXPECT_EQ(result.status, 0) << result.err;
    std::remove(script.c_str());
    EXPECT_GT(std::filesystem::file_size(picture), 100u);
    EXPECT_TRUE(std::filesystem::is_empty(temporary));
}

} // namespace
