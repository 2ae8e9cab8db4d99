// Loading extension libraries: which ones a host gets (by their filters), in which order,
// what each reason to skip one logs, and unloading for a fresh start.

#include "substrate/substrate.h"

#include "foundation/DeviceRoot.h"
#include "foundation/NSLog.h"
#include "objc/message.h"
#include "objc/runtime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

constexpr const char *kSpringBoard = "com.apple.springboard";

std::string filterFor(std::initializer_list<const char *> bundles)
{
    std::string plist = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n"
                        "<dict><key>Filter</key><dict><key>Bundles</key><array>";
    for (const char *bundle : bundles)
        plist += std::string("<string>") + bundle + "</string>";
    return plist + "</array></dict></dict></plist>\n";
}

class Injection : public testing::Test {
protected:
    void SetUp() override
    {
        std::string root = testing::TempDir() + "substrate-test-XXXXXX";
        ASSERT_NE(mkdtemp(root.data()), nullptr);
        m_root = root;
        sim::setDeviceRoot(root);
        m_directory = sim::hostPath(sim::kInjectionDirectory);
        ASSERT_TRUE(sim::makeDirectories(m_directory));
    }

    void TearDown() override
    {
        sim::unloadInjectedLibraries();
        std::filesystem::remove_all(m_root);
    }

    // Installs a built test extension as "<name>.dylib".
    void installLibrary(const char *builtPath, const std::string &name)
    {
        std::filesystem::copy_file(builtPath, m_directory + "/" + name + ".dylib");
    }

    void writeFile(const std::string &fileName, const std::string &contents)
    {
        std::ofstream(m_directory + "/" + fileName) << contents;
    }

    static bool logged(const sim::LogCapture &capture, const std::string &text)
    {
        auto lines = capture.lines();
        return std::any_of(lines.begin(), lines.end(), [&](const std::string &line) {
            return line.find(text) != std::string::npos;
        });
    }

    std::string m_root;
    std::string m_directory;
};

TEST_F(Injection, LoadsTheLibrariesForTheBundleInNameOrder)
{
    // Installed in the opposite order of their names: loading follows the names.
    installLibrary(CV_TEST_EXTENSION_BETA, "Beta");
    writeFile("Beta.plist", filterFor({"com.apple.Preferences", kSpringBoard}));
    installLibrary(CV_TEST_EXTENSION_ALPHA, "Alpha");
    writeFile("Alpha.plist", filterFor({kSpringBoard}));

    sim::LogCapture capture;
    EXPECT_EQ(sim::loadInjectedLibraries(kSpringBoard), 2u);

    EXPECT_EQ(capture.lines(), (std::vector<std::string>{"test extension Alpha loaded",
                                                         "test extension Beta loaded"}));
    EXPECT_EQ(sim::injectedLibraries(), (std::vector<std::string>{"Alpha.dylib", "Beta.dylib"}));
}

TEST_F(Injection, SkipsEveryLibraryWhoseFilterDoesNotNameTheBundleWithALogLine)
{
    installLibrary(CV_TEST_EXTENSION_ALPHA, "NoFilter");
    installLibrary(CV_TEST_EXTENSION_ALPHA, "OtherBundle");
    writeFile("OtherBundle.plist", filterFor({"com.apple.Preferences"}));
    installLibrary(CV_TEST_EXTENSION_ALPHA, "NotAPlist");
    writeFile("NotAPlist.plist", "<plist><dict><key>Filter</key>");
    installLibrary(CV_TEST_EXTENSION_ALPHA, "BundlesNotArray");
    writeFile("BundlesNotArray.plist",
              "<plist version=\"1.0\"><dict><key>Filter</key><dict><key>Bundles</key>"
              "<string>com.apple.springboard</string></dict></dict></plist>");
    installLibrary(CV_TEST_EXTENSION_ALPHA, "NumberInBundles");
    writeFile("NumberInBundles.plist",
              "<plist version=\"1.0\"><dict><key>Filter</key><dict><key>Bundles</key>"
              "<array><integer>7</integer></array></dict></dict></plist>");
    installLibrary(CV_TEST_EXTENSION_ALPHA, "NoFilterKey");
    writeFile("NoFilterKey.plist", "<plist version=\"1.0\"><dict/></plist>");

    sim::LogCapture capture;
    EXPECT_EQ(sim::loadInjectedLibraries(kSpringBoard), 0u);

    EXPECT_FALSE(logged(capture, "test extension"));
    EXPECT_TRUE(logged(capture, "substrate: NoFilter.dylib has no filter"));
    EXPECT_TRUE(logged(capture, "substrate: OtherBundle.dylib is not for com.apple.springboard"));
    EXPECT_TRUE(logged(capture, "substrate: NotAPlist.plist is not a property-list dictionary"));
    EXPECT_TRUE(
        logged(capture, "substrate: BundlesNotArray.dylib skipped: its filter is malformed"));
    EXPECT_TRUE(
        logged(capture, "substrate: NumberInBundles.dylib skipped: its filter is malformed"));
    EXPECT_TRUE(logged(capture, "substrate: NoFilterKey.dylib skipped: its filter is malformed"));
    EXPECT_TRUE(sim::injectedLibraries().empty());
}

TEST_F(Injection, ALibraryThatFailsToLoadIsLoggedAndTheOthersStillLoad)
{
    writeFile("Broken.dylib", "this is not a shared object");
    writeFile("Broken.plist", filterFor({kSpringBoard}));
    installLibrary(CV_TEST_EXTENSION_BETA, "Working");
    writeFile("Working.plist", filterFor({kSpringBoard}));

    sim::LogCapture capture;
    EXPECT_EQ(sim::loadInjectedLibraries(kSpringBoard), 1u);

    EXPECT_TRUE(logged(capture, "substrate: Broken.dylib failed to load"));
    EXPECT_TRUE(logged(capture, "test extension Beta loaded"));
    EXPECT_EQ(sim::injectedLibraries(), std::vector<std::string>{"Working.dylib"});
}

TEST_F(Injection, FilesThatAreNotLibrariesAreNotCandidates)
{
    writeFile("Readme.txt", "not a library");
    writeFile("Readme.plist", filterFor({kSpringBoard}));
    std::filesystem::create_directory(m_directory + "/Folder.dylib");

    sim::LogCapture capture;
    EXPECT_EQ(sim::loadInjectedLibraries(kSpringBoard), 0u);
    EXPECT_TRUE(capture.lines().empty());
}

TEST_F(Injection, WithoutTheDirectoryOrABundleIdentifierNothingLoads)
{
    std::filesystem::remove_all(m_directory);
    EXPECT_EQ(sim::loadInjectedLibraries(kSpringBoard), 0u);

    sim::LogCapture capture;
    EXPECT_EQ(sim::loadInjectedLibraries(""), 0u);
    EXPECT_EQ(sim::loadInjectedLibraries(nullptr), 0u);
    EXPECT_TRUE(logged(capture, "substrate: no bundle identifier"));
}

TEST_F(Injection, AnOpenLibraryIsNotOpenedTwice)
{
    installLibrary(CV_TEST_EXTENSION_ALPHA, "Alpha");
    writeFile("Alpha.plist", filterFor({kSpringBoard}));
    sim::LogCapture capture;

    EXPECT_EQ(sim::loadInjectedLibraries(kSpringBoard), 1u);
    EXPECT_EQ(sim::loadInjectedLibraries(kSpringBoard), 0u);

    EXPECT_EQ(capture.lines(), std::vector<std::string>{"test extension Alpha loaded"});
}

TEST_F(Injection, UnloadingLetsTheNextStartRunTheEntriesAgain)
{
    installLibrary(CV_TEST_EXTENSION_ALPHA, "Alpha");
    writeFile("Alpha.plist", filterFor({kSpringBoard}));
    sim::LogCapture capture;

    ASSERT_EQ(sim::loadInjectedLibraries(kSpringBoard), 1u);
    Class first = objc_getClass("TestExtensionAlpha");
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(std::string(class_getImageName(first)).ends_with("/Alpha.dylib"));
    sim::unloadInjectedLibraries();
    EXPECT_TRUE(sim::injectedLibraries().empty());
    EXPECT_EQ(objc_getClass("TestExtensionAlpha"), nullptr) << "its code is gone";
    ASSERT_EQ(sim::loadInjectedLibraries(kSpringBoard), 1u);

    EXPECT_EQ(capture.lines(), (std::vector<std::string>{"test extension Alpha loaded",
                                                         "test extension Alpha loaded"}));
    Class again = objc_getClass("TestExtensionAlpha");
    ASSERT_NE(again, nullptr) << "the reloaded library registers its class afresh";
    EXPECT_STREQ(msg<const char *>(again, "extensionName"_sel), "Alpha");
}

} // namespace
