// The boot options of `cvsim run` and `cvsim script`: the phone they choose, and the
// mistakes they refuse.

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

void expectRefused(const std::vector<std::string> &words, const std::string &fragment)
{
    sim::ParsedBootOptions parsed = parseBootOptions(words);
    EXPECT_FALSE(parsed.options);
    EXPECT_NE(parsed.error.find(fragment), std::string::npos) << parsed.error;
}

TEST(BootOptions, NoOptionsBootTheDefaultPhone)
{
    sim::ParsedBootOptions parsed = parseBootOptions({});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->profile, DeviceProfile{});
    EXPECT_FALSE(parsed.options->root);
    EXPECT_TRUE(parsed.options->operands.empty());
}

TEST(BootOptions, GenerationsChooseTheirCoreFoundationNumbers)
{
    EXPECT_EQ(profileOf({"--ios", "7"}).coreFoundationVersion, DeviceProfile::kIOS7CoreFoundation);
    EXPECT_EQ(profileOf({"--ios", "8"}).coreFoundationVersion, DeviceProfile::kIOS8CoreFoundation);
    EXPECT_EQ(profileOf({"--ios", "9"}).coreFoundationVersion, DeviceProfile::kIOS9CoreFoundation);
    EXPECT_EQ(profileOf({"--cf", "847.19"}).coreFoundationVersion, 847.19);
    EXPECT_EQ(profileOf({"--cf", "1240.2"}).coreFoundationVersion, 1240.2);
}

TEST(BootOptions, APadHasAPadScreenAndOrientationsAreKept)
{
    DeviceProfile pad = profileOf({"--idiom", "pad", "--orientation", "3"});
    EXPECT_EQ(pad.idiom, DeviceProfile::Pad);
    EXPECT_EQ(pad.screenWidth, 768);
    EXPECT_EQ(pad.screenHeight, 1024);
    EXPECT_EQ(pad.orientation, 3);
    DeviceProfile phone = profileOf({"--idiom", "phone"});
    EXPECT_EQ(phone.idiom, DeviceProfile::Phone);
    EXPECT_EQ(phone.screenWidth, DeviceProfile{}.screenWidth);
}

TEST(BootOptions, TheStatsURLRoutesTheUsageReport)
{
    EXPECT_TRUE(DeviceProfile{}.urlRoutes.empty()) << "without it no server is reached";
    DeviceProfile phone = profileOf({"--stats-url", "http://127.0.0.1:8080/stats/collect.php"});
    EXPECT_EQ(phone.urlRoutes, (std::map<std::string, std::string>{
                                   {"http://stats.kestrelworks.com/stats/collect.php",
                                    "http://127.0.0.1:8080/stats/collect.php"}}));
    expectRefused({"--stats-url", "127.0.0.1:8080"}, "--stats-url takes an http or https URL");
    expectRefused({"--stats-url", "http://"}, "--stats-url takes an http or https URL");
    expectRefused({"--stats-url", "http://a b"}, "--stats-url takes an http or https URL");
}

TEST(BootOptions, TheRootAndOperandsAreSetApart)
{
    sim::ParsedBootOptions parsed =
        parseBootOptions({"script.txt", "--root", "/tmp/phone", "--ios", "8", "-"});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->root, "/tmp/phone");
    EXPECT_EQ(parsed.options->operands, (std::vector<std::string>{"script.txt", "-"}));
    // A later --root wins, so `cvsim --root A run --root B` runs on B.
    EXPECT_EQ(parseBootOptions({"--root", "a", "--root", "b"}).options->root, "b");
}

TEST(BootOptions, MistakesAreRefusedWithTheirReason)
{
    expectRefused({"--ios", "10"}, "--ios takes 7, 8 or 9");
    expectRefused({"--cf", "fast"}, "--cf takes a positive number");
    expectRefused({"--cf", "-3"}, "--cf takes a positive number");
    expectRefused({"--cf", "1240.1x"}, "--cf takes a positive number");
    expectRefused({"--idiom", "watch"}, "--idiom takes phone or pad");
    expectRefused({"--orientation", "5"}, "--orientation takes 1 to 4");
    expectRefused({"--orientation", "1.5"}, "--orientation takes 1 to 4");
    expectRefused({"--ios", "9", "--cf", "1240.1"}, "give one");
    expectRefused({"--speed", "2"}, "unknown option --speed");
    expectRefused({"--idiom"}, "--idiom needs a value");
    expectRefused({"--root", ""}, "--root takes a directory");
}

TEST(BootOptions, NumbersAreWholeDecimalNumbers)
{
    EXPECT_EQ(sim::parseNumber("847.19"), 847.19);
    EXPECT_EQ(sim::parseNumber("2"), 2.0);
    EXPECT_EQ(sim::parseNumber("-0.5"), -0.5);
    EXPECT_FALSE(sim::parseNumber(""));
    EXPECT_FALSE(sim::parseNumber(" 2"));
    EXPECT_FALSE(sim::parseNumber("2 "));
    EXPECT_FALSE(sim::parseNumber("inf"));
    EXPECT_FALSE(sim::parseNumber("nan"));
}

} // namespace
