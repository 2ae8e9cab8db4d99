// The entry inside the test's SpringBoard: the version gate, the class cache, the
// settings and the installers in the order of each generation; and the exported hash.

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

// The order on every generation, with the generation's own installers after the lists.
Names orderWith(const Names &generationsOwn)
{
    Names order{"StatusBarInit", "IconsInit", "IconListsInit"};
    order.insert(order.end(), generationsOwn.begin(), generationsOwn.end());
    for (const char *name :
         {"FoldersInit", "LockScreenInit", "ControlCenterInit", "DockInit", "LockAnimationInit",
          "IconsAnimationInit", "SpringBoardAnimationsInit", "NotificationCenterInit"})
        order.push_back(name);
    return order;
}

const Names kIOS9Order = orderWith({"DeckSwitcherInit", "SpotlightInit"});
const Names kIOS8Order = orderWith({"AppSwitcherInit"});
const Names kIOS7Order = orderWith({"AppSliderInit"});

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

    static Names called() { return fake::RecordingInstallers::called(); }

    static CVInstaller &installerNamed(const std::string &name)
    {
        for (CVInstaller &installer : CVFeatureInstallers())
            if (installer.name == name)
                return installer;
        ADD_FAILURE() << "no installer " << name;
        return CVFeatureInstallers().front();
    }

    AutoreleasePool pool;
    sim::TemporaryDevice device;
    fake::RecordingInstallers installers;
    double savedVersion = kCFCoreFoundationVersionNumber;
};

TEST_F(Entry, OnASupportedSystemItGreetsAndInstallsItsGenerationsOrder)
{
    struct System {
        double version;
        const char *loadingLine;
        CVSystemGeneration generation;
        const Names &order;
    };
    for (const System &system :
         {System{1240.1, "Loading on 1240.100000", CVSystemGenerationIOS9, kIOS9Order},
          System{1140.1, "Loading on 1140.100000", CVSystemGenerationIOS8, kIOS8Order},
          System{1100.0, "Loading on 1100.000000", CVSystemGenerationIOS7, kIOS7Order}}) {
        SCOPED_TRACE(system.version);
        CVExtensionInitialized = 0;
        fake::RecordingInstallers::called().clear();
        // (The settings core may add lines of its own about the system.)
        Names lines = enterOn(system.version);
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[0], "Welcome to Corvane 3");
        EXPECT_EQ(lines[1], system.loadingLine);
        EXPECT_EQ(lines[2], kMissingFolderIconView);
        EXPECT_EQ(called(), system.order);
        EXPECT_EQ(fake::namesOf(CVInstallersForGeneration(system.generation)), system.order);
        EXPECT_EQ(CVExtensionInitialized, 1);
    }
}

TEST_F(Entry, AnUnsupportedSystemIsLoggedAndLeftUnchanged)
{
    struct System {
        double version;
        const char *refusal;
    };
    for (const System &system : {System{847.19, "847.190000 not supported!"},
                                 System{1240.2, "1240.200000 not supported!"}}) {
        SCOPED_TRACE(system.version);
        gCVGlobal.enabled = false;
        gCVClasses.SBIconListView = Nil;
        EXPECT_EQ(enterOn(system.version), (Names{"Welcome to Corvane 3", system.refusal}));
        EXPECT_TRUE(called().empty());
        EXPECT_EQ(gCVClasses.SBIconListView, Nil);
        EXPECT_FALSE(gCVGlobal.enabled) << "settings loaded";
        EXPECT_EQ(CVExtensionInitialized, 0);
    }
}

TEST_F(Entry, TheClassCacheHoldsTheClassesOfTheRunningSystem)
{
    gCVClasses.SBFolderIconView = UIView::class_(); // left from an earlier fill
    enterOn(1240.1);
    EXPECT_EQ(gCVClasses.SBIconListView, objc_getClass("SBIconListView"));
    EXPECT_EQ(gCVClasses.SBDockIconListView, objc_getClass("SBDockIconListView"));
    EXPECT_EQ(gCVClasses.SBFolderIconListView, objc_getClass("SBFolderIconListView"));
    EXPECT_EQ(gCVClasses.SBFolderIconView, Nil);
    EXPECT_EQ(gCVClasses.SBIconView, objc_getClass("SBIconView"));
    EXPECT_NE(gCVClasses.UICTFont, Nil);
    EXPECT_EQ(gCVClasses.UICTFont, objc_getClass("UICTFont"));
}

TEST_F(Entry, WithTheMasterSwitchOffNothingIsInstalled)
{
    fake::writeSettingsFile("<key>CVGlobal</key><dict><key>enabled</key><false/></dict>");
    enterOn(1240.1);
    EXPECT_TRUE(called().empty());
    EXPECT_EQ(CVExtensionInitialized, 1);
}

// What DockInit finds and leaves behind.
bool g_hideDockSeenByInstaller;
void dockChanged() {}

void installDock()
{
    g_hideDockSeenByInstaller = gCVDock.hideDock;
    gCVDock.changeCallback = dockChanged;
}

TEST_F(Entry, InstallersFindTheSettingsLoadedAndKeepTheirChangeCallbacks)
{
    fake::writeSettingsFile("<key>CVDock</key><dict><key>hideDock</key><true/></dict>");
    installerNamed("DockInit").install = installDock;
    g_hideDockSeenByInstaller = false;
    enterOn(1240.1);
    EXPECT_TRUE(g_hideDockSeenByInstaller);
    EXPECT_EQ(gCVDock.changeCallback, dockChanged);
}

TEST_F(Entry, AbsentInstallersAreSkipped)
{
    installerNamed("SpotlightInit").install = nullptr;
    enterOn(1240.1);
    Names expected = kIOS9Order;
    std::erase(expected, "SpotlightInit");
    EXPECT_EQ(called(), expected);
}

TEST(Hash, EachByteCountsUnsignedAndIsMixedInBeforeTheMultiplication)
{
    EXPECT_EQ(fnv_32a_str(""), 0x811c9dc5u);
    // (0x811c9dc5 ^ 0x61) × 16777619 mod 2³²
    EXPECT_EQ(fnv_32a_str("a"), 0xe40c292cu);
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
