// SpringBoard's start and end: its generation's classes, extensions, announcements, terminate.

#include "SpringBoardTest.h"

#include "springboard/SpringBoardState.h"
#include "springboard/backlight/Backlight.h"
#include "springboard/backlight/BacklightHost.h"

#include "foundation/NSBundle.h"
#include "foundation/NSLog.h"
#include "foundation/NSNotificationCenter.h"
#include "objc/RuntimeMemory.h"
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

class Launch : public test::SpringBoardTest {};

// Each generation registers its own classes and selectors; a number past the last supported
// still starts the generation it falls in.
TEST_F(Launch, RegistersTheClassesAndSelectorsOfItsGenerationOnly)
{
    for (double number : {DeviceProfile::kIOS7CoreFoundation, 1348.0}) {
        bool iOS7 = number == DeviceProfile::kIOS7CoreFoundation;
        launch(phoneProfile(number));
        EXPECT_TRUE(hasClass("SBIconController"));
        EXPECT_EQ(hasClass("SBSearchViewController"), iOS7);
        EXPECT_EQ(hasClass("SPUISearchViewController"), !iOS7);
        EXPECT_EQ(respondsTo("SBIconListPageControl", "_setIndicatorImage:toEnabled:"), iOS7);
        EXPECT_EQ(respondsTo("SBIconListPageControl", "_setIndicatorImage:toEnabled:index:"),
                  !iOS7);
        EXPECT_EQ(respondsTo("SBFolderView", "currentPageIndex"), !iOS7);
        EXPECT_EQ(respondsTo("SBFolderView", "resetIconListViews"), !iOS7);
        EXPECT_TRUE(respondsTo("SBFolderView", "_scrollOffsetForFirstListView"));
        EXPECT_EQ(classRespondsTo("SBIconViewMap", "homescreenMap"), iOS7);
        EXPECT_EQ(respondsTo("SBIconController", "homescreenIconViewMap"), !iOS7);
        SpringBoardHost::terminate();
    }
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

    // A second launch without terminate is refused.
    EXPECT_FALSE(SpringBoardHost::launch());
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
    EXPECT_EQ(sim::injectedLibraries(), std::vector<std::string>{"Matching.dylib"});
}

TEST_F(Launch, TerminateTearsDownPutsMethodsBackAndTheNextLaunchStartsFresh)
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

    // Terminate puts back the UIKit methods that extensions replace.
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

// A relaunch frees the ended launch's classes, the extension's among them, and replaced method
// tables: the runtime does not grow, and the extension registers its class afresh each time.
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

TEST_F(Launch, RelaunchingSpringBoardIsTheProcessHostsBusiness)
{
    launch();
    msg<void>(UIApplication::sharedApplication(), "_relaunchSpringBoardNow"_sel); // dropped
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

TEST_F(Launch, PrivateFunctionsAnswerForThemselvesUntilHookedAndReportChanges)
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

    // Control Center hears which setting changed.
    _SBControlCenterControlSettingsDidChangeForKey("airplane-mode"_ns);
    _SBControlCenterControlSettingsDidChangeForKey("wifi"_ns);
    EXPECT_EQ(sim::controlCenterSettingsChanges(),
              (std::vector<std::string>{"airplane-mode", "wifi"}));
}

} // namespace
