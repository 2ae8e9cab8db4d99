// The device commands as ctl and scripts parse them.

#include "DeviceCommand.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Kind = sim::DeviceCommand::Kind;

sim::DeviceCommand parsed(const std::vector<std::string> &words)
{
    sim::ParsedCommand result = sim::parseDeviceCommand(words);
    EXPECT_TRUE(result.command) << result.error;
    return result.command.value_or(sim::DeviceCommand{Kind::Dump, {}, -1, false, nullptr});
}

std::string refusal(const std::vector<std::string> &words)
{
    sim::ParsedCommand result = sim::parseDeviceCommand(words);
    EXPECT_FALSE(result.command);
    return result.error;
}

TEST(DeviceCommands, ButtonsAndDumpTakeNoArgumentsAndOthersCarryThemParsed)
{
    EXPECT_EQ(parsed({"press-home"}).kind, Kind::PressHome);
    EXPECT_EQ(refusal({"lock", "now"}), "lock takes no arguments");

    // Arguments are carried parsed.
    sim::DeviceCommand write = parsed({"defaults", "write", "CVIcons", "pages.iconColumns", "5"});
    EXPECT_EQ(write.kind, Kind::DefaultsWrite);
    EXPECT_EQ(write.text, (std::vector<std::string>{"CVIcons", "pages.iconColumns", "5"}));

    EXPECT_EQ(parsed({"post", "com.kestrelworks.corvane3.applySettings"}).kind, Kind::Post);

    EXPECT_EQ(parsed({"rotate", "4"}).number, 4);
    EXPECT_EQ(parsed({"wait", "0"}).number, 0);

    sim::DeviceCommand swipe = parsed({"swipe-pages", "1.5"});
    EXPECT_EQ(swipe.number, 1.5);
    EXPECT_FALSE(swipe.flag);
    EXPECT_TRUE(parsed({"swipe-pages", "2", "--hold"}).flag);

    EXPECT_EQ(parsed({"screenshot", "out/home.png"}).text.at(0), "out/home.png");
}

TEST(DeviceCommands, BadArgumentsAreRefusedWithUsageAndUnknownCommandsNamed)
{
    EXPECT_EQ(refusal({"defaults", "write", "CVIcons", "x"}),
              "usage: defaults write SECTION KEY VALUE");
    EXPECT_EQ(refusal({"post", ""}), "usage: post NAME");
    for (const char *orientation : {"0", "5", "2.5", "up"})
        EXPECT_NE(refusal({"rotate", orientation}).find("usage: rotate 1-4"), std::string::npos);
    EXPECT_NE(refusal({"wait", "-1"}).find("usage: wait"), std::string::npos);
    EXPECT_NE(refusal({"swipe-pages", "2", "--slowly"}).find("usage: swipe-pages"),
              std::string::npos);
    // -1 is the page before the first page of icons (iOS 9's Spotlight); nothing lies further.
    EXPECT_NE(refusal({"swipe-pages", "-1.5"}).find("usage: swipe-pages"), std::string::npos);
    EXPECT_TRUE(sim::parseDeviceCommand({"swipe-pages", "-1"}).command);
    EXPECT_EQ(refusal({"screenshot", "home.jpg"}), "usage: screenshot PATH.png");
    EXPECT_EQ(refusal({"screenshot", ".png"}), "usage: screenshot PATH.png");
    EXPECT_EQ(refusal({"reboot"}), "unknown command \"reboot\"");
    EXPECT_EQ(refusal({}), "no command");
}

// Feature commands keep their words for SpringBoard and are refused with their own usage.
TEST(FeatureCommands, ArgumentsAreCheckedAndKeptUnderUniqueNames)
{
    sim::DeviceCommand edit = parsed({"edit", "on"});
    EXPECT_EQ(edit.kind, Kind::Feature);
    EXPECT_EQ(edit.text, (std::vector<std::string>{"on"}));
    EXPECT_EQ(parsed({"open-folder", "2"}).text, (std::vector<std::string>{"2"}));
    EXPECT_TRUE(parsed({"close-folder"}).text.empty());

    EXPECT_EQ(refusal({"edit", "yes"}), "usage: edit on|off");
    EXPECT_NE(refusal({"open-folder", "1.5"}).find("usage: open-folder"), std::string::npos);
    EXPECT_EQ(refusal({"close-folder", "now"}), "close-folder takes no arguments");

    // Two features may not claim one name, nor shadow a core command: the second would never
    // run.
    std::set<std::string> names;
    std::string usage = sim::deviceCommandsUsage();
    for (const sim::FeatureCommand &command : sim::featureCommands()) {
        EXPECT_TRUE(names.insert(command.name).second) << command.name;
        if (command.usage) {
            EXPECT_NE(usage.find(command.usage), std::string::npos) << command.name;
        }
        EXPECT_NE(usage.find(command.name), std::string::npos) << command.name;
    }
    for (const char *core : {"defaults", "post", "press-home", "lock", "unlock", "rotate", "wait",
                             "swipe-pages", "dump", "screenshot"})
        EXPECT_FALSE(names.contains(core)) << core;
}

} // namespace
