// The boot options of `cvsim run` and `cvsim script`.

#include "BootOptions.h"

#include <gtest/gtest.h>

namespace {

using sim::DeviceProfile;
using sim::parseBootOptions;

DeviceProfile profileOf(const std::vector<std::string> &words)
{
    sim::ParsedBootOptions parsed = parseBootOptions(words);
    EXPECT_TRUE(parsed.options) << parsed.error;
    return parsed.options ? parsed.options->profile : DeviceProfile{};
}

TEST(BootOptions, TheOptionsChooseThePhoneAndSetTheRootAndOperandsApart)
{
    sim::ParsedBootOptions none = parseBootOptions({});
    ASSERT_TRUE(none.options);
    EXPECT_EQ(none.options->profile, DeviceProfile{});
    EXPECT_FALSE(none.options->root);
    EXPECT_TRUE(none.options->operands.empty());

    for (auto [words, version] : {std::pair<std::vector<std::string>, double>{
                                      {"--ios", "7"}, DeviceProfile::kIOS7CoreFoundation},
                                  {{"--ios", "8"}, DeviceProfile::kIOS8CoreFoundation},
                                  {{"--ios", "9"}, DeviceProfile::kIOS9CoreFoundation},
                                  {{"--cf", "847.19"}, 847.19}})
        EXPECT_EQ(profileOf(words).coreFoundationVersion, version) << words[1];
    DeviceProfile pad = profileOf({"--idiom", "pad", "--orientation", "3"});
    EXPECT_EQ(pad.idiom, DeviceProfile::Pad);
    EXPECT_EQ(pad.orientation, 3);
    EXPECT_EQ(
        profileOf({"--stats-url", "http://127.0.0.1:8080/stats/collect.php"}).urlRoutes,
        (std::map<std::string, std::string>{{"http://stats.kestrelworks.com/stats/collect.php",
                                             "http://127.0.0.1:8080/stats/collect.php"}}));

    sim::ParsedBootOptions parsed =
        parseBootOptions({"script.txt", "--root", "/tmp/phone", "--ios", "8", "-"});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->root, "/tmp/phone");
    EXPECT_EQ(parsed.options->operands, (std::vector<std::string>{"script.txt", "-"}));
    // A later --root wins, so `cvsim --root A run --root B` runs on B.
    EXPECT_EQ(parseBootOptions({"--root", "a", "--root", "b"}).options->root, "b");
}

TEST(BootOptions, MistakesAreRefusedWithTheirReasonAndNumbersAreWholeDecimals)
{
    const std::pair<std::vector<std::string>, const char *> refused[] = {
        {{"--ios", "10"}, "--ios takes 7, 8 or 9"},
        {{"--cf", "fast"}, "--cf takes a positive number"},
        {{"--cf", "1240.1x"}, "--cf takes a positive number"},
        {{"--idiom", "watch"}, "--idiom takes phone or pad"},
        {{"--orientation", "5"}, "--orientation takes 1 to 4"},
        {{"--orientation", "1.5"}, "--orientation takes 1 to 4"},
        {{"--ios", "9", "--cf", "1240.1"}, "give one"},
        {{"--speed", "2"}, "unknown option --speed"},
        {{"--idiom"}, "--idiom needs a value"},
        {{"--root", ""}, "--root takes a directory"},
        {{"--stats-url", "127.0.0.1:8080"}, "--stats-url takes an http or https URL"},
        {{"--stats-url", "http://a b"}, "--stats-url takes an http or https URL"},
    };
    for (const auto &[words, reason] : refused) {
        sim::ParsedBootOptions parsed = parseBootOptions(words);
        EXPECT_FALSE(parsed.options) << words[0];
        EXPECT_NE(parsed.error.find(reason), std::string::npos) << parsed.error;
    }

    // Numbers are whole decimal numbers.
    EXPECT_EQ(sim::parseNumber("-0.5"), -0.5);
    for (const char *text : {"", " 2", "2 ", "inf", "nan"})
        EXPECT_FALSE(sim::parseNumber(text)) << text;
}

} // namespace
