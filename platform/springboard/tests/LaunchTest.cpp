// SpringBoard's start and end: the generation's classes, the extensions loaded before the
// interface exists, the launch announcements, and a fresh start after terminate.

#include "SpringBoardTest.h"

#include "springboard/SpringBoardState.h"
#include "springboard/backlight/Backlight.h"
#include "springboard/backlight/BacklightHost.h"

#include "foundation/NSBundle.h"
#include "foundation/NSLog.h"
#include "foundation/NSNotificationCenter.h"
#include "objc/RuntimeMemory.h"
#include "springboard/Generation.h"
#include "springboard/HostClass.h"
#include "springboard/SpringBoardFunctions.h"
#include "substrate/substrate.h"
#include "uikit/UIApplication.h"
#include "uikit/UIColor.h"
#include "uikit/UIScrollView.h"

#include <algorithm>

namespace {

using sim::DeviceProfile;
using sim::SpringBoardHost;
using test::phoneProfile;

bool hasClass(const char *name)
{
    return objc_getClass(name) != nil;
}

bool respondsTo(const char *className, const char *selector)
{
    return class_respondsToSelector(objc_getClass(className), sel_registerName(selector));
}

bool classRespondsTo(const char *className, const char *selector)
{
    return class_respondsToSelector(object_getClass(objc_getClass(className)),
                                    sel_registerName(selector));
}

std::size_t linesContaining(const sim::LogCapture &capture, const std::string &text)
{
    auto lines = capture.lines();
    return static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(), [&](const std::string &line) {
            return line.find(text) != std::string::npos;
        }));
}

TEST(Generations, FollowTheCoreFoundationNumberWhateverItIs)
{
    EXPECT_EQ(sim::generationOf(0), sim::iOS7);
    EXPECT_EQ(sim::generationOf(847.20), sim::iOS7);
    EXPECT_EQ(sim::generationOf(1140.09), sim::iOS7);
    EXPECT_EQ(sim::generationOf(1140.10), sim::iOS8);
    EXPECT_EQ(sim::generationOf(1240.09), sim::iOS8);
    EXPECT_EQ(sim::generationOf(1240.10), sim::iOS9);
    EXPECT_EQ(sim::generationOf(1348.0), sim::iOS9);
}

class Launch : public test::SpringBoardTest {};

TEST_F(Launch, RegistersTheClassesAndSelectorsOfiOS7Only)
{
    launch(phoneProfile(DeviceProfile::kIOS7CoreFoundation));

    EXPECT_TRUE(hasClass("SBIconController"));
    EXPECT_TRUE(hasClass("SBSearchViewController"));
    EXPECT_FALSE(hasClass("SPUISearchViewController"));
    EXPECT_TRUE(respondsTo("SBIconListPageControl", "_setIndicatorImage:toEnabled:"));
    EXPECT_FALSE(respondsTo("SBIconListPageControl", "_setIndicatorImage:toEnabled:index:"));
    EXPECT_FALSE(respondsTo("SBFolderView", "currentPageIndex"));
    EXPECT_FALSE(respondsTo("SBFolderView", "resetIconListViews"));
    EXPECT_TRUE(respondsTo("SBFolderView", "_scrollOffsetForFirstListView"));
    EXPECT_TRUE(classRespondsTo("SBIconViewMap", "homescreenMap"));
    EXPECT_FALSE(respondsTo("SBIconController", "homescreenIconViewMap"));
}

TEST_F(Launch, RegistersTheClassesAndSelectorsOfiOS9Only)
{
    launch(phoneProfile(DeviceProfile::kIOS9CoreFoundation));

    EXPECT_FALSE(hasClass("SBSearchViewController"));
    EXPECT_TRUE(hasClass("SPUISearchViewController"));
    EXPECT_FALSE(respondsTo("SBIconListPageControl", "_setIndicatorImage:toEnabled:"));
    EXPECT_TRUE(respondsTo("SBIconListPageControl", "_setIndicatorImage:toEnabled:index:"));
    EXPECT_TRUE(respondsTo("SBFolderView", "currentPageIndex"));
    EXPECT_TRUE(respondsTo("SBFolderView", "resetIconListViews"));
    EXPECT_FALSE(classRespondsTo("SBIconViewMap", "homescreenMap"));
    EXPECT_TRUE(respondsTo("SBIconController", "homescreenIconViewMap"));
}

TEST_F(Launch, AnUnsupportedNumberStillStartsTheGenerationItFallsIn)
{
    launch(phoneProfile(1348.0));
    EXPECT_TRUE(hasClass("SPUISearchViewController"));
    EXPECT_TRUE(SpringBoardHost::isRunning());
}

TEST_F(Launch, InstanceVariablesReadByNameAreTheRealFields)
{
    launch();
    SBRootFolderView *root = rootFolderView();
    Ivar scrollView = class_getInstanceVariable(object_getClass(root), "_scrollView");
    ASSERT_NE(scrollView, nullptr);
    EXPECT_STREQ(ivar_getTypeEncoding(scrollView), "@");
    EXPECT_EQ(object_getIvar(root, scrollView), root->m_scrollView.get());
    Ivar orientation = class_getInstanceVariable(SBIconListView::class_(), "_orientation");
    EXPECT_EQ(*reinterpret_cast<NSInteger *>(reinterpret_cast<char *>(page(0)) +
                                             ivar_getOffset(orientation)),
              1);
}

TEST_F(Launch, StartsLockedAsSpringBoardAndAnnouncesItself)
{
    int didLaunch = watch("SBSpringBoardDidLaunchNotification");
    int finished = 0;
    id observer = NSNotificationCenter::defaultCenter()->addObserverForNameObjectQueueUsingBlock(
        "UIApplicationDidFinishLaunchingNotification"_ns, nil, nil, [&](NSNotification *note) {
            EXPECT_EQ(note->object(), UIApplication::sharedApplication());
            ++finished;
        });

    launch();

    EXPECT_TRUE(posted(didLaunch));
    EXPECT_EQ(finished, 1);
    EXPECT_STREQ(NSBundle::mainBundle()->bundleIdentifier()->UTF8String(), "com.apple.springboard");
    EXPECT_TRUE(SpringBoardHost::isLocked());
    // The lock screen lights the display until the phone dims.
    EXPECT_EQ(stateOf("com.apple.iokit.hid.displayStatus"), 1u);
    sim::advanceVirtualClock(sim::kLockScreenIdleDelay + sim::kBacklightFadeDuration);
    EXPECT_EQ(stateOf("com.apple.iokit.hid.displayStatus"), 0u);
    std::vector<UIWindowLevel> levels;
    for (UIWindow *window : sim::visibleWindowsBottomUp())
        levels.push_back(window->m_windowLevel);
    // Wallpaper, lock screen, status bar: the home screen waits under the lock screen.
    EXPECT_EQ(levels,
              (std::vector<UIWindowLevel>{-2, UIWindowLevelStatusBar - 1, UIWindowLevelStatusBar}));
    NSNotificationCenter::defaultCenter()->removeObserver(observer);
    notify_cancel(didLaunch);
}

TEST_F(Launch, APhoneWithoutApplicationsStartsWithAnEmptyPageAndDock)
{
    DeviceProfile empty = phoneProfile();
    empty.installedApplications.clear();
    launch(empty);
    SpringBoardHost::unlock();
    SpringBoardHost::swipePages(1, false);
    SpringBoardHost::pressHome();
    sim::advanceVirtualClock(0.5);

    EXPECT_EQ(rootFolderView()->m_iconListViews->count(), 1u);
    EXPECT_EQ(page(0)->m_icons->count(), 0u);
    EXPECT_EQ(dockList()->m_icons->count(), 0u);
    EXPECT_DOUBLE_EQ(rootFolderView()->iconListPosition(), 0);
    EXPECT_FALSE(SpringBoardHost::openFolder(0));
}

TEST_F(Launch, ASecondLaunchWithoutTerminateIsRefused)
{
    launch();
    sim::LogCapture capture;
    EXPECT_FALSE(SpringBoardHost::launch());
    EXPECT_EQ(linesContaining(capture, "SpringBoard: already running"), 1u);
}

TEST_F(Launch, AMatchingExtensionRunsItsEntryBeforeTheInterfaceExists)
{
    installExtension("Matching", filterFor("com.apple.springboard"));
    installExtension("Elsewhere", filterFor("com.apple.Preferences"));
    installExtension("Malformed", "<plist version=\"1.0\"><dict><key>Filter</key>"
                                  "<string>com.apple.springboard</string></dict></plist>");
    sim::LogCapture capture;

    launch();

    EXPECT_EQ(linesContaining(capture, "test extension: SBIconController registered, 0 windows on "
                                       "screen"),
              1u);
    EXPECT_EQ(linesContaining(capture, "test extension"), 1u);
    EXPECT_EQ(
        linesContaining(capture, "substrate: Elsewhere.dylib is not for com.apple.springboard"),
        1u);
    EXPECT_EQ(
        linesContaining(capture, "substrate: Malformed.dylib skipped: its filter is malformed"),
        1u);
    EXPECT_EQ(sim::injectedLibraries(), std::vector<std::string>{"Matching.dylib"});
}

TEST_F(Launch, TerminateTearsDownAndTheNextLaunchStartsFresh)
{
    installExtension("Matching", filterFor("com.apple.springboard"));
    sim::LogCapture capture;
    launch();
    // As an extension would: SpringBoard's inset replaced on its class.
    test::replaceMethod(
        objc_getClass("SBIconListView"), "sideIconInset",
        reinterpret_cast<IMP>(+[](SBIconListView *, SEL) -> CGFloat { return 99; }));

    SpringBoardHost::terminate();

    EXPECT_FALSE(SpringBoardHost::isRunning());
    EXPECT_FALSE(hasClass("SBIconListView"));
    EXPECT_TRUE(sim::hostClasses().empty());
    EXPECT_TRUE(sim::visibleWindowsBottomUp().empty());
    EXPECT_TRUE(sim::injectedLibraries().empty());

    launch();

    EXPECT_DOUBLE_EQ(msg<CGFloat>(page(0), "sideIconInset"_sel), 27);
    EXPECT_EQ(linesContaining(capture, "test extension: SBIconController registered"), 2u);
}

// A relaunch frees the ended launch's classes, the extension's among them, and the method
// tables it replaced: relaunching again and again does not grow the runtime, and the
// reloaded extension registers its class afresh each time.
TEST_F(Launch, RelaunchesLeaveNoClassesOrMethodTablesBehind)
{
    installExtension("Matching", filterFor("com.apple.springboard"));
    launch();
    sim::RuntimeMemory settled;
    for (int relaunch = 1; relaunch <= 6; ++relaunch) {
        {
            // As a relaunch comes: in a run-loop turn, after what the launch scheduled.
            AutoreleasePool pool;
            sim::advanceVirtualClock(1);
            SpringBoardHost::terminate();
            EXPECT_FALSE(hasClass("TestExtensionProbe"));
            launch();
        }
        ASSERT_TRUE(hasClass("TestExtensionProbe")) << "relaunch " << relaunch;
        EXPECT_TRUE(msg<BOOL>(objc_getClass("TestExtensionProbe"), "isExtensionProbe"_sel));
        if (relaunch == 1)
            settled = sim::runtimeMemory();
    }
    sim::RuntimeMemory later = sim::runtimeMemory();
    EXPECT_EQ(later.classObjects, settled.classObjects);
    EXPECT_LE(later.retiredMethodCaches, settled.retiredMethodCaches + 16);
}

TEST_F(Launch, TerminatePutsBackTheUIKitMethodsThatExtensionsReplace)
{
    launch();
    static int replacedCalls = 0;
    test::replaceMethod(UIScrollView::class_(), "_notifyDidScroll",
                        reinterpret_cast<IMP>(+[](UIScrollView *, SEL) { ++replacedCalls; }));
    SpringBoardHost::terminate();

    auto scroll = StrongRef<UIScrollView>::adopt(static_cast<UIScrollView *>(
        msg<id, CGRect>(msg<id>(UIScrollView::class_(), "alloc"_sel), "initWithFrame:"_sel,
                        CGRectMake(0, 0, 100, 100))));
    msg<void, CGPoint>(scroll, "setContentOffset:"_sel, CGPointMake(0, 10));
    EXPECT_EQ(replacedCalls, 0);
}

TEST_F(Launch, RelaunchingSpringBoardIsTheProcessHostsBusiness)
{
    launch();
    int relaunches = 0;
    sim::setRelaunchHandler([&] { ++relaunches; });
    msg<void>(UIApplication::sharedApplication(), "_relaunchSpringBoardNow"_sel);
    sim::setRelaunchHandler({});
    EXPECT_EQ(relaunches, 1);
}

// SpringBoard's private functions, hooked as an extension hooks them.
UIColor *(*g_previousColor)(int) = nullptr;

UIColor *redForSelected(int state)
{
    return state == 4 ? UIColor::colorWithRedGreenBlueAlpha(1, 0, 0, 1) : g_previousColor(state);
}

TEST_F(Launch, PrivateFunctionsAnswerForThemselvesUntilHooked)
{
    launch();
    EXPECT_TRUE(_SBUIControlCenterControlColorForState(4)->isEqualToColor(UIColor::whiteColor()));
    UIColor *normal = _SBUIControlCenterControlColorForState(0);

    MSHookFunction(reinterpret_cast<void *>(_SBUIControlCenterControlColorForState),
                   reinterpret_cast<void *>(redForSelected),
                   reinterpret_cast<void **>(&g_previousColor));

    EXPECT_DOUBLE_EQ(_SBUIControlCenterControlColorForState(4)->m_red, 1);
    EXPECT_DOUBLE_EQ(_SBUIControlCenterControlColorForState(4)->m_green, 0);
    EXPECT_TRUE(_SBUIControlCenterControlColorForState(0)->isEqualToColor(normal));

    SpringBoardHost::terminate();
    launch();
    EXPECT_TRUE(_SBUIControlCenterControlColorForState(4)->isEqualToColor(UIColor::whiteColor()));
}

TEST_F(Launch, ControlCenterHearsWhichSettingChanged)
{
    launch();
    _SBControlCenterControlSettingsDidChangeForKey("airplane-mode"_ns);
    _SBControlCenterControlSettingsDidChangeForKey("wifi"_ns);
    EXPECT_EQ(sim::controlCenterSettingsChanges(),
              (std::vector<std::string>{"airplane-mode", "wifi"}));
}

} // namespace
