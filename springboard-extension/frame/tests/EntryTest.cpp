// The entry inside the test's SpringBoard: the version gate, the class cache, the master
// switch and the installers in the order of each generation; and the exported hash.

#include "FrameTestSupport.h"
#include "darwin/TemporaryDevice.h"
#include "foundation/CoreFoundation.h"
#include "foundation/NSLog.h"
#include "objc/NSObject.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Extension.h"
#include "uikit/UIView.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

const std::string kMissingFolderIconView =
    "[Corvane][ERROR]: LoadCachedClasses: Error loading class 'SBFolderIconView'";

class Entry : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(device.ready());
        fake::registerSpringBoard();
        CVExtensionInitialized = 0;
    }

    void TearDown() override { kCFCoreFoundationVersionNumber = savedVersion; }

    // Runs the entry on the given system; answers the lines it logged.
    static Names enterOn(double version)
    {
        kCFCoreFoundationVersionNumber = version;
        sim::LogCapture log;
        ExtensionEntry();
        return log.lines();
    }

    static const Names &called() { return fake::RecordingInstallers::called(); }

    AutoreleasePool pool;
    sim::TemporaryDevice device;
    fake::RecordingInstallers installers;
    double savedVersion = kCFCoreFoundationVersionNumber;
};

// The class cache is filled afresh and the generation's installers run in table order.
TEST_F(Entry, OnASupportedSystemItGreetsAndInstallsItsGenerationsInstallers)
{
    struct System {
        double version;
        CVSystemGeneration generation;
    };
    for (const System &system :
         {System{1240.1, CVSystemGenerationIOS9}, System{1140.1, CVSystemGenerationIOS8},
          System{1140.0, CVSystemGenerationIOS7}}) {
        SCOPED_TRACE(system.version);
        CVExtensionInitialized = 0;
        fake::RecordingInstallers::called().clear();
        gCVClasses.SBFolderIconView = UIView::class_();
        // (The settings core may add lines of its own about the system.)
        Names lines = enterOn(system.version);
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[0], "Welcome to Corvane 3");
        EXPECT_EQ(lines[1], "Loading on " + std::to_string(system.version));
        EXPECT_EQ(lines[2], kMissingFolderIconView);
        EXPECT_EQ(called(), fake::namesOf(CVInstallersForGeneration(system.generation)));
        EXPECT_EQ(CVExtensionInitialized, 1);
        EXPECT_EQ(gCVClasses.SBDockIconListView, objc_getClass("SBDockIconListView"));
        EXPECT_EQ(gCVClasses.SBFolderIconView, Nil);
    }
}

TEST_F(Entry, AnUnsupportedSystemIsLoggedAndLeftUnchanged)
{
    for (double version : {847.19, 1240.2}) {
        SCOPED_TRACE(version);
        gCVGlobal.enabled = false;
        gCVClasses.SBIconListView = Nil;
        EXPECT_EQ(enterOn(version),
                  (Names{"Welcome to Corvane 3", std::to_string(version) + " not supported!"}));
        EXPECT_TRUE(called().empty());
        EXPECT_EQ(gCVClasses.SBIconListView, Nil);
        EXPECT_FALSE(gCVGlobal.enabled) << "settings loaded";
        EXPECT_EQ(CVExtensionInitialized, 0);
    }
}

TEST_F(Entry, WithTheMasterSwitchOffNothingIsInstalled)
{
    fake::writeSettingsFile("<key>CVGlobal</key><dict><key>enabled</key><false/></dict>");
    enterOn(1240.1);
    EXPECT_TRUE(called().empty());
    EXPECT_EQ(CVExtensionInitialized, 1);
}

TEST(Hash, EachByteCountsUnsignedAndIsMixedInBeforeTheMultiplication)
{
    EXPECT_EQ(fnv_32a_str(""), 0x811c9dc5u);
    // (0x811c9dc5 ^ 0xff) × 16777619 mod 2³²
    EXPECT_EQ(fnv_32a_str("\xff"), 0x7a0b824eu);
}

std::vector<std::string> g_exits;

TEST(FeatureExits, EachRunsOnceAtTheExitTheLastRegisteredFirst)
{
    g_exits.clear();
    CVFeatureExit lists = [] { g_exits.push_back("lists"); };
    CVFeatureExit clock = [] { g_exits.push_back("clock"); };
    CVRegisterFeatureExit(lists);
    CVRegisterFeatureExit(clock);
    CVRegisterFeatureExit(lists); // once is enough
    ExtensionExit();
    EXPECT_EQ(g_exits, (Names{"clock", "lists"}));
    ExtensionExit();
    EXPECT_EQ(g_exits.size(), 2u);
}

} // namespace
