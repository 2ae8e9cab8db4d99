// Reading device scripts.

#include "ScriptReader.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using Words = std::vector<std::string>;

sim::ParsedScript read(const std::string &text)
{
    std::istringstream input(text);
    return sim::readScript(input);
}

TEST(ScriptWords, BlanksSeparateAndQuotesGroup)
{
    EXPECT_EQ(sim::splitWords("  rotate\t3  "), (Words{"rotate", "3"}));
    EXPECT_EQ(sim::splitWords("defaults write CVStatusBar carrierString \"Kestrel Mobile\""),
              (Words{"defaults", "write", "CVStatusBar", "carrierString", "Kestrel Mobile"}));
    EXPECT_EQ(sim::splitWords(R"(post "a\"b\\c")"), (Words{"post", R"(a"b\c)"}));
    EXPECT_EQ(sim::splitWords(R"(x "" y)"), (Words{"x", "", "y"}));
    EXPECT_EQ(sim::splitWords(R"(pre"fix and"post)"), (Words{"prefix andpost"}));
    EXPECT_EQ(sim::splitWords(""), Words{});
    EXPECT_FALSE(sim::splitWords("post \"open"));
}

TEST(ScriptReading, CommentsAndBlanksAreSkippedAndLinesKeepTheirNumbersForMistakes)
{
    sim::ParsedScript script = read("# boot and look\n"
                                    "\n"
                                    "dump\n"
                                    "   # indented comment with a \" quote\n"
                                    "wait 3\r\n"
                                    "post com.kestrelworks.corvane3.applySettings\n");
    ASSERT_EQ(script.error, "");
    ASSERT_EQ(script.lines.size(), 3u);
    EXPECT_EQ(script.lines[0].number, 3);
    EXPECT_EQ(script.lines[0].command.kind, sim::DeviceCommand::Kind::Dump);
    EXPECT_EQ(script.lines[1].number, 5);
    EXPECT_EQ(script.lines[1].command.number, 3);
    EXPECT_EQ(script.lines[2].number, 6);
    EXPECT_EQ(script.lines[2].words.at(1), "com.kestrelworks.corvane3.applySettings");

    // The first mistake is reported with its line.
    EXPECT_EQ(read("dump\nlock\nfly away\nrotate 9\n").error, "line 3: unknown command \"fly\"");
    EXPECT_EQ(read("post \"unfinished\n").error, "line 1: a quote is not closed");
    sim::ParsedScript empty = read("# nothing to do\n\n");
    EXPECT_EQ(empty.error, "");
    EXPECT_TRUE(empty.lines.empty());
}

} // namespace
