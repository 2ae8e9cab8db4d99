// The settings file: what CVLoadSettings makes of missing, partial and bad files and the
// earlier name of the animations section, the file CVSaveSettings writes, a failed write.

#include "SettingsTestSupport.h"

#include "ChildProcess.h"

#include <algorithm>
#include <csignal>
#include <regex>
#include <sys/resource.h>

namespace {

using namespace cvtest;

constexpr const char *kApplier = "_CVParseSettingsApplierFunction";

// A log line of the applier, which names itself where the format has %s.
std::string applierLine(const char *format)
{
    char line[256];
    std::snprintf(line, sizeof(line), format, kApplier);
    return line;
}

using SettingsFile = SettingsTest;

// No file, or one that is not a dictionary: every section keeps its defaults, quietly.
TEST_F(SettingsFile, WithoutAFileOrWithOneThatIsNotADictionaryTheDefaultsStayQuietly)
{
    StrongRef<NSDictionary> defaults = everySection();
    for (const char *contents :
         {static_cast<const char *>(nullptr),
          "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>CVGlobal</string>"
          "</array></plist>",
          "not a property list at all", ""}) {
        SCOPED_TRACE(contents ? contents : "no file");
        if (contents)
            writeSettingsFileBytes(contents);
        gCVGlobal.enabled = false;
        gCVFolders.fastOpen = true;
        sim::LogCapture log;
        CVLoadSettings();
        EXPECT_TRUE(log.lines().empty());
        EXPECT_TRUE(sim::objectsEqual(defaults, everySection()));
    }
}

// The sections a file holds are read, the animations also under their earlier name; the
// others keep their defaults.
TEST_F(SettingsFile, APartialFileLeavesTheOtherSectionsAtTheirDefaults)
{
    StrongRef<NSDictionary> defaults = everySection();
    writeSettingsFile(dict({{"CVGlobal", dict({{"enabled", boolean(false)}})},
                            {"CVUSettings", dict({{"animationSpeed", real(2.0)},
                                                  {"customSpeed", boolean(true)},
                                                  {"scrollAnimationType", integer(17)}})}}));
    CVLoadSettings();
    EXPECT_FALSE(gCVGlobal.enabled);
    EXPECT_EQ(gCVAnimations.animationSpeed, 2.0);
    EXPECT_TRUE(gCVAnimations.customSpeed);
    EXPECT_EQ(gCVAnimations.scrollAnimationType, 17u);
    for (const NamedSection &section : allSections())
        if (section.entity != &gCVGlobal && section.entity != &gCVAnimations) {
            EXPECT_TRUE(sim::objectsEqual(defaults->objectForKey(text(section.name)),
                                          section.entity->getDictionary()))
                << section.name;
        }
}

TEST_F(SettingsFile, EachBadTopLevelEntryIsLoggedOnceAndTheOthersStillApply)
{
    NSMutableDictionary *file = NSMutableDictionary::dictionary();
    file->setObjectForKey(dict({{"hideDock", boolean(true)}}), integer(7));
    file->setObjectForKey(text("yes"), text("CVFolders"));
    file->setObjectForKey(dict({{"enabled", boolean(false)}}), text("CVGlobals"));
    file->setObjectForKey(dict({{"darkBackground", boolean(true)}}), text("cvfolders"));
    file->setObjectForKey(dict({{"hideMissed", boolean(true)}}), text("CVNotificationCenter"));

    sim::LogCapture log;
    CFDictionaryApplyFunction(file, _CVParseSettingsApplierFunction, nullptr);
    // A missing key is refused, a missing value skipped quietly.
    _CVParseSettingsApplierFunction(nullptr, dict({}), nullptr);
    _CVParseSettingsApplierFunction(text("CVDock"), nullptr, nullptr);
    std::vector<std::string> lines = log.lines();
    std::sort(lines.begin(), lines.end());
    std::vector<std::string> expected{
        applierLine("[Corvane][ERROR]: %s: Key '7' is not a string (!?)"),
        applierLine("[Corvane][ERROR]: %s: Value 'yes' is not a dictionary (first level entries "
                    "must be dictionaries) (!?)"),
        "[Corvane][ERROR]: Unhandled key: CVGlobals",
        "[Corvane][ERROR]: Unhandled key: cvfolders",
        applierLine("[Corvane][ERROR]: %s: key must not be NULL"),
    };
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(gCVNotificationCenter.hideMissed);
    EXPECT_TRUE(gCVGlobal.enabled);
    EXPECT_FALSE(gCVFolders.darkBackground);
    EXPECT_FALSE(gCVDock.hideDock);
}

// An XML property list of the ten sections whose values keep the types the file has always
// held: booleans, integers for counts and enumerations, reals, absent texts as "".
TEST_F(SettingsFile, TheFileHoldsTheTenSectionsWithTheirValuesTyped)
{
    CVSaveSettings();
    std::string bytes = readSettingsFileBytes();
    EXPECT_EQ(bytes.rfind("<?xml", 0), 0u);
    for (const char *entry :
         {"hideBadges</key>\\s*<false/>", "effect</key>\\s*<integer>-1</integer>",
          "iconImageAlpha</key>\\s*<real>1</real>", "iconColumns</key>\\s*<integer>0</integer>",
          "sliderTimeStyle</key>\\s*<integer>2</integer>", "carrierString</key>\\s*<string/?>",
          "timeColor</key>\\s*<array>\\s*<integer>255</integer>"})
        EXPECT_TRUE(std::regex_search(bytes, std::regex(std::string("<key>") + entry))) << entry;
    NSDictionary *file = NSDictionary::dictionaryWithContentsOfFile(
        text("/var/mobile/Library/Preferences/com.kestrelworks.corvane3.plist"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->count(), 10u);
    for (const NamedSection &section : allSections())
        EXPECT_NE(file->objectForKey(text(section.name)), nil) << section.name;
}

// The write is made to fail by a file size limit, which binds root too: the temporary
// file cannot grow, so the rename that would replace the old file never happens.
TEST_F(SettingsFile, AFailedWriteIsLoggedAndLeavesTheOldFileWhole)
{
    CVSaveSettings();
    const std::string before = readSettingsFileBytes();
    ASSERT_GT(before.size(), 1000u);

    pid_t writer = test::forkChild([] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{512, 512};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 2;
        AutoreleasePool pool;
        gCVDock.hideDock = true;
        sim::LogCapture log;
        CVSaveSettings();
        std::vector<std::string> expected{"[Corvane][ERROR]: Couldn't write the settings file "
                                          "/var/mobile/Library/Preferences/"
                                          "com.kestrelworks.corvane3.plist"};
        return log.lines() == expected ? 0 : 1;
    });
    EXPECT_EQ(test::waitForChild(writer), 0);
    EXPECT_EQ(readSettingsFileBytes(), before);
}

} // namespace
