// `cvsim defaults` and `cvsim listen` end to end.

#include "DeviceTool.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <tuple>

namespace {

using e2e::cvsim;
using nlohmann::json;

json readJson(const std::string &root, const std::vector<std::string> &arguments)
{
    e2e::Result result = cvsim(root, arguments);
    EXPECT_EQ(result.status, 0) << result.err;
    return json::parse(result.out, nullptr, false);
}

// A fresh device shows every section with its defaults; writes land in the file, read back
// and leave the other keys at their defaults until the section is reset.
TEST(CvsimDefaults, WritesLandInTheFileAndReadBackOverTheDefaults)
{
    std::string root = e2e::temporaryRoot("write");
    json all = readJson(root, {"defaults", "read"});
    ASSERT_TRUE(all.is_object());
    EXPECT_NEAR(all["CVIcons"]["pages"]["coverflow"]["flowFactor"].get<double>(), 1.45, 1e-6);
    EXPECT_EQ(readJson(root, {"defaults", "read", "CVStatusBar", "carrierString"}), nullptr);

    for (const auto &[section, key, value, stored] :
         std::vector<std::tuple<std::string, std::string, std::string, json>>{
             {"CVIcons", "pages.iconColumns", "5", 5},
             {"CVStatusBar", "carrierString", "Kestrel", "Kestrel"},
             {"CVIcons", "badgeTextColor", "[255,0,0,1]", json({255, 0, 0, 1})}}) {
        EXPECT_EQ(cvsim(root, {"defaults", "write", section, key, value}).status, 0) << key;
        EXPECT_EQ(readJson(root, {"defaults", "read", section, key}), stored);
    }
    EXPECT_EQ(readJson(root, {"defaults", "read", "CVIcons", "dock.iconColumns"}), 0);
    EXPECT_EQ(cvsim(root, {"defaults", "reset", "CVIcons"}).status, 0);
    EXPECT_EQ(readJson(root, {"defaults", "read", "CVIcons", "pages.iconColumns"}), 0);
}

// A write the model would not store (an unknown section or key, a value of the wrong kind,
// a path that only names a group of keys) exits 1 naming the key and what it takes, and
// leaves the settings file as it was; a command that is none exits 2.
TEST(CvsimDefaults, AWriteTheModelWouldIgnoreIsRefusedAndTheFileKept)
{
    std::string root = e2e::temporaryRoot("refused");
    ASSERT_EQ(cvsim(root, {"defaults", "write", "CVDock", "hideDock", "true"}).status, 0);
    const std::string file =
        root + "/var/mobile/Library/Preferences/com.kestrelworks.corvane3.plist";
    const std::string before = e2e::fileBytes(file);
    ASSERT_FALSE(before.empty());

    const struct {
        std::vector<std::string> write;
        const char *message;
    } refused[] = {
        {{"CVNothing", "x", "1"}, "no section named \"CVNothing\""},
        {{"CVDock", "hideDock", "yes"}, "\"hideDock\" of CVDock takes a boolean"},
        {{"CVDock", "hideDcok", "true"}, "\"hideDcok\" is not a key of CVDock"},
        {{"CVIcons", "pages.", "1"}, "\"pages.\" is not a key of CVIcons"},
        {{"CVIcons", "pages", "1"}, "takes one of its keys after \"pages.\""},
        {{"CVIcons", "badgeTextColor", "[255,0,0]"}, "takes a colour"},
        {{"CVLockScreen", "timeText", "twenty characters!!!"}, "takes a text of at most 11"},
        {{"CVStatusBar", "itemIsHidden.vpn", "\"on\""}, "takes a boolean"},
    };
    for (const auto &[write, message] : refused) {
        std::vector<std::string> arguments{"defaults", "write"};
        arguments.insert(arguments.end(), write.begin(), write.end());
        e2e::Result result = cvsim(root, arguments);
        EXPECT_EQ(result.status, 1) << write[1];
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
    }
    EXPECT_EQ(e2e::fileBytes(file), before);
    EXPECT_EQ(cvsim(root, {"defaults", "write", "CVStatusBar", "itemIsHidden.vpn", "true"}).status,
              0);
    EXPECT_EQ(readJson(root, {"defaults", "read", "CVStatusBar", "vpn"}), true);
    EXPECT_EQ(cvsim(root, {"defaults", "frobnicate"}).status, 2);
    EXPECT_EQ(cvsim(root, {"nothing"}).status, 2);
}

TEST(CvsimListen, LiveUpdatesReachTheListenerWithTheSectionAfterwards)
{
    std::string root = e2e::temporaryRoot("listen");
    e2e::Background listener(root, {"listen"});
    // The listener registers its service shortly after it starts: write until it hears.
    json first;
    for (int attempt = 0; attempt < 50 && first.is_null(); ++attempt) {
        ASSERT_EQ(cvsim(root, {"defaults", "write", "CVDock", "hideDock", "true"}).status, 0);
        std::string line = listener.readLine(200);
        if (!line.empty())
            first = json::parse(line);
    }
    ASSERT_FALSE(first.is_null()) << "the listener never heard an update";
    EXPECT_EQ(first["section"], "CVDock");
    EXPECT_EQ(first["id"], 2);
    EXPECT_EQ(first["changes"], json({{"hideDock", true}}));
    while (!listener.readLine(300).empty()) {
    }

    // The master switch has no live path: only the next section change is heard.
    ASSERT_EQ(cvsim(root, {"defaults", "write", "CVGlobal", "enabled", "false"}).status, 0);
    ASSERT_EQ(
        cvsim(root, {"defaults", "write", "CVIcons", "pages.coverflow.enabled", "true"}).status, 0);
    json update = json::parse(listener.readLine(), nullptr, false);
    EXPECT_EQ(update["section"], "CVIcons");
    EXPECT_EQ(update["changes"], json({{"pages", {{"coverflow", {{"enabled", true}}}}}}));
    EXPECT_EQ(update["after"]["pages"]["coverflow"]["enabled"], true);
    EXPECT_EQ(update["after"]["pages"]["coverflow"]["perspective"].get<double>(), 0.9f);

    // A refused write sends nothing: the next update heard is the reset's.
    ASSERT_EQ(cvsim(root, {"defaults", "write", "CVDock", "hideDock", "yes"}).status, 1);
    ASSERT_EQ(cvsim(root, {"defaults", "reset", "CVDock"}).status, 0);
    json reset = json::parse(listener.readLine(), nullptr, false);
    EXPECT_EQ(reset["changes"], json({{"hideBackground", false}, {"hideDock", false}}));
    EXPECT_EQ(listener.stop(), 0);
}

} // namespace
