// Bundles: loading by phone path, principal classes, which bundle a class came from,
// resources and localised strings; and the strings-file format on its own.

#include "foundation/NSBundle.h"

#include "foundation/DeviceProfile.h"
#include "foundation/DeviceRoot.h"
#include "foundation/NSLog.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

constexpr const char *kNamedPath = "/Library/PreferenceBundles/Named.bundle";
constexpr const char *kUnnamedPath = "/Library/PreferenceBundles/Unnamed.bundle";

// The bytes of a literal that holds NULs, without its terminator.
template <size_t N> std::string bytes(const char (&literal)[N])
{
    return std::string(literal, N - 1);
}

void writePhoneFile(const std::string &phonePath, std::string_view bytes)
{
    std::string host = sim::hostPath(phonePath);
    ASSERT_TRUE(sim::makeDirectories(host.substr(0, host.rfind('/'))));
    std::ofstream(host, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

std::string readHostFile(const std::string &path)
{
    std::ifstream stream(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

std::string infoPlist(const std::string &identifier, const std::string &executable,
                      const std::string &principalClass)
{
    std::string plist = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n"
                        "<dict>\n<key>CFBundleIdentifier</key><string>" +
                        identifier + "</string>\n";
    if (!executable.empty())
        plist += "<key>CFBundleExecutable</key><string>" + executable + "</string>\n";
    if (!principalClass.empty())
        plist += "<key>NSPrincipalClass</key><string>" + principalClass + "</string>\n";
    return plist + "</dict>\n</plist>\n";
}

class Bundles : public testing::Test {
protected:
    // One device for the whole suite: a process loads each bundle executable once.
    static void SetUpTestSuite()
    {
        std::string root = testing::TempDir() + "bundle-test-XXXXXX";
        ASSERT_NE(mkdtemp(root.data()), nullptr);
        sim::setDeviceRoot(root);
        sim::DeviceProfile::setCurrent(sim::DeviceProfile{});

        std::string named = kNamedPath;
        writePhoneFile(named + "/Info.plist",
                       infoPlist("com.kestrelworks.test.named", "Named", "NamedPrincipal"));
        writePhoneFile(named + "/Named", readHostFile(CV_TEST_BUNDLE_NAMED));
        writePhoneFile(named + "/en.lproj/Settings.strings",
                       "/* The panel's title */\n\"TITLE\" = \"Corvane\";\n"
                       "\"RESPRING\" = \"Respring now?\"; // asked before relaunching\n");
        writePhoneFile(named + "/de.lproj/Greetings.strings", "\"HELLO\" = \"Hallo\";\n");
        writePhoneFile(named + "/en.lproj/Greetings.strings", "\"HELLO\" = \"Hello\";\n");
        writePhoneFile(named + "/Top.strings", "\"WHERE\" = \"at the top\";\n");
        writePhoneFile(named + "/Broken.strings", "\"UNFINISHED\" = \"no closing quote;\n");
        writePhoneFile(named + "/Localizable.strings", "\"DEFAULT\" = \"from Localizable\";\n");
        writePhoneFile(named + "/icons/Pages.png", "png");
        writePhoneFile(named + "/Pages.png", "png");
        writePhoneFile(named + "/en.lproj/Legal.txt", "text");

        std::string unnamed = kUnnamedPath;
        writePhoneFile(unnamed + "/Info.plist",
                       infoPlist("com.kestrelworks.test.unnamed", "Unnamed", ""));
        writePhoneFile(unnamed + "/Unnamed", readHostFile(CV_TEST_BUNDLE_UNNAMED));
    }

    static NSBundle *named()
    {
        return NSBundle::bundleWithPath(NSString::stringWithUTF8String(kNamedPath));
    }

    void TearDown() override { sim::DeviceProfile::setCurrent(sim::DeviceProfile{}); }

    AutoreleasePool m_pool;
};

TEST_F(Bundles, InfoPlistNamesTheBundleAndOnePathIsOneBundle)
{
    NSBundle *bundle = named();
    ASSERT_NE(bundle, nil);
    EXPECT_EQ(bundle->bundleIdentifier()->str(), "com.kestrelworks.test.named");
    EXPECT_EQ(bundle->bundlePath()->str(), kNamedPath);
    EXPECT_EQ(bundle->resourcePath()->str(), kNamedPath);
    EXPECT_EQ(bundle->executablePath()->str(), std::string(kNamedPath) + "/Named");
    EXPECT_EQ(NSBundle::bundleWithPath("/Library/PreferenceBundles/Named.bundle/"_ns), bundle);
    EXPECT_EQ(NSBundle::bundleWithPath("/Library/PreferenceBundles/Absent.bundle"_ns), nil);
    EXPECT_EQ(NSBundle::bundleWithPath(nil), nil);
}

TEST_F(Bundles, LoadingRegistersTheClassesOfTheExecutableWhichKnowTheirBundle)
{
    NSBundle *bundle = named();
    ASSERT_EQ(objc_getClass("NamedPrincipal"), Nil) << "the bundle was loaded before the test";
    EXPECT_FALSE(bundle->isLoaded());
    ASSERT_TRUE(msg<BOOL>(bundle, "load"_sel));
    EXPECT_TRUE(bundle->isLoaded());
    EXPECT_TRUE(bundle->load()); // a second load is no load
    Class principal = objc_getClass("NamedPrincipal");
    ASSERT_NE(principal, Nil);
    EXPECT_EQ(bundle->principalClass(), principal);
    EXPECT_STREQ(msg<const char *>(reinterpret_cast<id>(principal), "greeting"_sel),
                 "hello from Named");
    EXPECT_EQ(NSBundle::bundleForClass(objc_getClass("NamedHelper")), bundle);
    EXPECT_EQ(
        msg<NSBundle *>(reinterpret_cast<id>(NSBundle::class_()), "bundleForClass:"_sel, principal),
        bundle);
    EXPECT_EQ(NSBundle::bundleForClass(NSString::class_()), NSBundle::mainBundle());
    EXPECT_EQ(NSBundle::bundleForClass(Nil), NSBundle::mainBundle());
}

TEST_F(Bundles, WithoutANamedPrincipalClassTheFirstClassRegisteredIsIt)
{
    NSBundle *bundle = NSBundle::bundleWithPath(NSString::stringWithUTF8String(kUnnamedPath));
    ASSERT_NE(bundle, nil);
    Class principal = msg<Class>(bundle, "principalClass"_sel);
    ASSERT_NE(principal, Nil);
    EXPECT_STREQ(class_getName(principal), "UnnamedPrincipal");
    EXPECT_EQ(NSBundle::bundleForClass(objc_getClass("UnnamedHelper")), bundle);
}

TEST_F(Bundles, ABundleThatCannotLoadSaysWhy)
{
    writePhoneFile("/Library/PreferenceBundles/Hollow.bundle/Info.plist",
                   infoPlist("com.kestrelworks.test.hollow", "", ""));
    writePhoneFile("/Library/PreferenceBundles/Bogus.bundle/Info.plist",
                   infoPlist("com.kestrelworks.test.bogus", "Bogus", "BogusPrincipal"));
    writePhoneFile("/Library/PreferenceBundles/Bogus.bundle/Bogus", "not a shared object");
    NSBundle *hollow = NSBundle::bundleWithPath("/Library/PreferenceBundles/Hollow.bundle"_ns);
    NSBundle *bogus = NSBundle::bundleWithPath("/Library/PreferenceBundles/Bogus.bundle"_ns);
    ASSERT_NE(hollow, nil);
    ASSERT_NE(bogus, nil);

    sim::LogCapture log;
    EXPECT_FALSE(hollow->load());
    EXPECT_EQ(hollow->principalClass(), Nil);
    EXPECT_FALSE(bogus->load());
    EXPECT_FALSE(bogus->isLoaded());
    std::vector<std::string> lines = log.lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find("Hollow.bundle names no executable"), std::string::npos) << lines[0];
    EXPECT_NE(lines[2].find("cannot load /Library/PreferenceBundles/Bogus.bundle/Bogus"),
              std::string::npos)
        << lines[2];
}

TEST_F(Bundles, ResourcesAreFoundAtTheTopOrInTheLanguageFolder)
{
    NSBundle *bundle = named();
    std::string top = std::string(kNamedPath) + "/Pages.png";
    EXPECT_EQ(bundle->pathForResourceOfType("Pages"_ns, "png"_ns)->str(), top);
    EXPECT_EQ(bundle->pathForResourceOfType("Pages.png"_ns, nil)->str(), top);
    EXPECT_EQ(bundle->pathForResourceOfType("icons/Pages"_ns, "png"_ns)->str(),
              std::string(kNamedPath) + "/icons/Pages.png");
    EXPECT_EQ(bundle->pathForResourceOfType("Legal"_ns, "txt"_ns)->str(),
              std::string(kNamedPath) + "/en.lproj/Legal.txt");
    EXPECT_EQ(bundle->pathForResourceOfType("Missing"_ns, "png"_ns), nil);
}

TEST_F(Bundles, LocalizedStringsComeInTheDevicesLanguageOrFallBackToTheValueThenTheKey)
{
    NSBundle *bundle = named();
    auto localized = [&](NSString *key, NSString *value, NSString *table) {
        return bundle->localizedStringForKeyValueTable(key, value, table)->str();
    };
    EXPECT_EQ(localized("TITLE"_ns, nil, "Settings"_ns), "Corvane");
    EXPECT_EQ(localized("RESPRING"_ns, "x"_ns, "Settings"_ns), "Respring now?");
    EXPECT_EQ(localized("ABSENT"_ns, "Fallback"_ns, "Settings"_ns), "Fallback");
    EXPECT_EQ(localized("ABSENT"_ns, ""_ns, "Settings"_ns), "ABSENT");
    EXPECT_EQ(localized("TITLE"_ns, nil, "NoSuchTable"_ns), "TITLE");
    EXPECT_EQ(localized("DEFAULT"_ns, nil, nil), "from Localizable");
    EXPECT_EQ(localized("WHERE"_ns, nil, "Top"_ns), "at the top");
    NSString *byMessage = msg<NSString *>(bundle, "localizedStringForKey:value:table:"_sel,
                                          "TITLE"_ns, nil, "Settings"_ns);
    EXPECT_EQ(byMessage->str(), "Corvane");
    // A malformed table is logged once, and falls back.
    sim::LogCapture log;
    for (int lookup = 0; lookup < 2; ++lookup) {
        EXPECT_EQ(localized("UNFINISHED"_ns, "Fallback"_ns, "Broken"_ns), "Fallback");
        EXPECT_EQ(localized("UNFINISHED"_ns, nil, "Broken"_ns), "UNFINISHED");
    }
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find("Broken.strings is not a strings table"), std::string::npos);

    sim::DeviceProfile german;
    german.locale = "de_DE";
    sim::DeviceProfile::setCurrent(german);
    EXPECT_EQ(localized("HELLO"_ns, nil, "Greetings"_ns), "Hallo");
}

TEST_F(Bundles, TheMainBundleCarriesTheProcessIdentity)
{
    sim::setMainBundleIdentifier("com.apple.springboard");
    id main = msg<id>(reinterpret_cast<id>(NSBundle::class_()), "mainBundle"_sel);
    EXPECT_EQ(main, NSBundle::mainBundle());
    EXPECT_EQ(msg<NSString *>(main, "bundleIdentifier"_sel)->str(), "com.apple.springboard");
    EXPECT_TRUE(NSBundle::mainBundle()->isLoaded());
}

// The strings-file format itself.

std::optional<sim::StringsTable> parse(std::string_view text)
{
    return sim::parseStringsFile(text);
}

TEST(StringsFiles, EntriesCommentsBareWordsEscapesAndEncodings)
{
    const std::pair<std::string, sim::StringsTable> tables[] = {
        {"// line comment\n/* block\n comment */ \"A\" = \"1\";\nB=two ; \"SAME\";\n"
         "\"A\" /* between */ = \"replaced\";",
         {{"A", "replaced"}, {"B", "two"}, {"SAME", "SAME"}}},
        {"", {}},
        {"  /* only a comment */ \n", {}},
        {R"("k" = "a\nb\t\"q\" \\ \'s\' \U00e9 \101 \UD83D\UDE00";)",
         {{"k", "a\nb\t\"q\" \\ 's' \xC3\xA9 A \xF0\x9F\x98\x80"}}},
        // By byte-order mark: UTF-16 big-endian, little-endian, UTF-8.
        {bytes("\xFE\xFF\0\"\0k\0\"\0=\0\"\x00\xe9\0\"\0;"), {{"k", "\xC3\xA9"}}},
        {bytes("\xFF\xFE\"\0k\0\"\0=\0\"\0\x3D\xD8\x00\xDE\"\0;\0"), {{"k", "\xF0\x9F\x98\x80"}}},
        {"\xEF\xBB\xBF\"k\" = \"v\";", {{"k", "v"}}},
    };
    for (const auto &[text, table] : tables)
        EXPECT_EQ(parse(text), table) << testing::PrintToString(text);
}

TEST(StringsFiles, MalformedFilesAreRejectedWhole)
{
    EXPECT_FALSE(parse("\"a\" = \"1\";\n\"b\" = \"2\""));   // no semicolon
    EXPECT_FALSE(parse("\"a\" = \"1;"));                    // no closing quote
    EXPECT_FALSE(parse("\"a\" = \"1\"; /* open"));          // comment left open
    EXPECT_FALSE(parse("\"a\" \"1\";"));                    // no equals sign
    EXPECT_FALSE(parse("= \"1\";"));                        // no key
    EXPECT_FALSE(parse("\"a\" = \"\xC3\";"));               // not UTF-8
    EXPECT_FALSE(parse("\"a\" = \"\\UD83D\";"));            // half a surrogate pair
    EXPECT_FALSE(parse(bytes("\xFF\xFE\"\0\x00\xDC\"\0"))); // lone low surrogate
    EXPECT_FALSE(parse(bytes("\xFF\xFE\"")));               // odd length
}

} // namespace
