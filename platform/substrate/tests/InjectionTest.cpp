// Loading extension libraries: which ones a host gets (by their filters), in which order,
// what each reason to skip one logs, and unloading for a fresh start.

#include "substrate/substrate.h"

#include "foundation/DeviceRoot.h"
#include "foundation/NSLog.h"
#include "objc/message.h"
#include "objc/runtime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <tuple>

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

    std::string m_root;
    std::string m_directory;
};

// The lines of `capture` that hold `text`.
std::vector<std::string> linesWith(const sim::LogCapture &capture, const std::string &text)
{
    std::vector<std::string> found;
    for (const std::string &line : capture.lines())
        if (line.find(text) != std::string::npos)
            found.push_back(line);
    return found;
}

TEST_F(Injection, LoadsTheLibrariesForTheBundleInNameOrderOnceUntilUnloaded)
{
    // Installed in the opposite order of their names: loading follows the names. A library
    // that fails to load is logged and the others still load; files that are not
    // libraries are no candidates.
    installLibrary(CV_TEST_EXTENSION_BETA, "Beta");
    writeFile("Beta.plist", filterFor({"com.apple.Preferences", kSpringBoard}));
    installLibrary(CV_TEST_EXTENSION_ALPHA, "Alpha");
    writeFile("Alpha.plist", filterFor({kSpringBoard}));
    writeFile("Broken.dylib", "this is not a shared object");
    writeFile("Broken.plist", filterFor({kSpringBoard}));
    writeFile("Readme.txt", "not a library");
    writeFile("Readme.plist", filterFor({kSpringBoard}));
    std::filesystem::create_directory(m_directory + "/Folder.dylib");

    sim::LogCapture capture;
    EXPECT_EQ(sim::loadInjectedLibraries(kSpringBoard), 2u);
    EXPECT_EQ(sim::injectedLibraries(), (std::vector<std::string>{"Alpha.dylib", "Beta.dylib"}));
    EXPECT_EQ(sim::loadInjectedLibraries(kSpringBoard), 0u)
        << "an open library is not opened twice";
    EXPECT_EQ(
        linesWith(capture, "test extension"),
        (std::vector<std::string>{"test extension Alpha loaded", "test extension Beta loaded"}));
    EXPECT_EQ(linesWith(capture, "substrate: Broken.dylib failed to load").size(), 2u);
    EXPECT_EQ(capture.lines().size(), 4u) << "nothing about Readme.txt or Folder.dylib";

    Class first = objc_getClass("TestExtensionAlpha");
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(std::string(class_getImageName(first)).ends_with("/Alpha.dylib"));
    sim::unloadInjectedLibraries();
    EXPECT_TRUE(sim::injectedLibraries().empty());
    EXPECT_EQ(objc_getClass("TestExtensionAlpha"), nullptr) << "its code is gone";
    // The next start runs the entries again, and the classes are registered afresh.
    ASSERT_EQ(sim::loadInjectedLibraries(kSpringBoard), 2u);
    EXPECT_EQ(linesWith(capture, "test extension Alpha loaded").size(), 2u);
    Class again = objc_getClass("TestExtensionAlpha");
    ASSERT_NE(again, nullptr);
    EXPECT_STREQ(msg<const char *>(again, "extensionName"_sel), "Alpha");
}

TEST_F(Injection, SkipsEveryLibraryWhoseFilterDoesNotNameTheBundleWithALogLine)
{
    const std::tuple<const char *, std::string, const char *> skipped[] = {
        {"NoFilter", "", "NoFilter.dylib has no filter"},
        {"OtherBundle", filterFor({"com.apple.Preferences"}),
         "OtherBundle.dylib is not for com.apple.springboard"},
        {"NotAPlist", "<plist><dict><key>Filter</key>",
         "NotAPlist.plist is not a property-list dictionary"},
        {"BundlesNotArray",
         "<plist><dict><key>Filter</key><dict><key>Bundles</key>"
         "<string>com.apple.springboard</string></dict></dict></plist>",
         "BundlesNotArray.dylib skipped: its filter is malformed"},
        {"NumberInBundles",
         "<plist><dict><key>Filter</key><dict><key>Bundles</key>"
         "<array><integer>7</integer></array></dict></dict></plist>",
         "NumberInBundles.dylib skipped: its filter is malformed"},
        {"NoFilterKey", "<plist><dict/></plist>",
         "NoFilterKey.dylib skipped: its filter is malformed"},
    };
    for (const auto &[name, filter, reason] : skipped) {
        installLibrary(CV_TEST_EXTENSION_ALPHA, name);
        if (!filter.empty())
            writeFile(std::string(name) + ".plist", filter);
    }
    sim::LogCapture capture;
    EXPECT_EQ(sim::loadInjectedLibraries(kSpringBoard), 0u);
    EXPECT_TRUE(sim::injectedLibraries().empty());
    EXPECT_TRUE(linesWith(capture, "test extension").empty());
    for (const auto &[name, filter, reason] : skipped)
        EXPECT_EQ(linesWith(capture, std::string("substrate: ") + reason).size(), 1u) << reason;
}

TEST_F(Injection, WithoutTheDirectoryOrABundleIdentifierNothingLoads)
{
    std::filesystem::remove_all(m_directory);
    EXPECT_EQ(sim::loadInjectedLibraries(kSpringBoard), 0u);

    sim::LogCapture capture;
    EXPECT_EQ(sim::loadInjectedLibraries(""), 0u);
    EXPECT_EQ(sim::loadInjectedLibraries(nullptr), 0u);
    EXPECT_EQ(linesWith(capture, "substrate: no bundle identifier").size(), 2u);
}

} // namespace
