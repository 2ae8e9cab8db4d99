// SpringBoard's start and end in this process.

#include "springboard/SpringBoardHost.h"

#include "darwin/notify.h"
#include "foundation/NSBundle.h"
#include "foundation/NSLog.h"
#include "foundation/NSNotificationCenter.h"
#include "objc/RuntimeMemory.h"
#include "springboard/HostClass.h"
#include "springboard/SBIconController.h"
#include "springboard/SBUIController.h"
#include "springboard/SpringBoardClasses.h"
#include "springboard/SpringBoardFunctions.h"
#include "springboard/SpringBoardWindows.h"
#include "springboard/SystemGestures.h"
#include "springboard/backlight/BacklightHost.h"
#include "springboard/control-center/ControlCenterHost.h"
#include "springboard/home-screen/SBIconModel.h"
#include "springboard/lock-screen/LockScreen.h"
#include "springboard/notification-center/NotificationCenterHost.h"
#include "springboard/status-bar/SBStatusBarStateAggregator.h"
#include "substrate/substrate.h"
#include "uikit/UIApplication.h"

#include <string>
#include <vector>

namespace sim {
namespace {

// UIKit methods that extensions replace and whose replacements would outlive the
// extension's code once it is unloaded: SpringBoard puts back what it found at its start.
struct KeptMethod {
    const char *className;
    const char *selector;
};
constexpr KeptMethod kKeptUIKitMethods[] = {
    {"UIScrollView", "_notifyDidScroll"},
};

struct SavedMethod {
    Class cls;
    SEL selector;
    IMP implementation;
    std::string types;
};

std::vector<SavedMethod> g_savedMethods;

void saveUIKitMethods()
{
    g_savedMethods.clear();
    for (const KeptMethod &kept : kKeptUIKitMethods) {
        Class cls = objc_getClass(kept.className);
        SEL selector = sel_registerName(kept.selector);
        if (Method method = class_getInstanceMethod(cls, selector))
            g_savedMethods.push_back(
                {cls, selector, method_getImplementation(method), method_getTypeEncoding(method)});
    }
}

void restoreUIKitMethods()
{
    for (const SavedMethod &saved : g_savedMethods)
        class_replaceMethod(saved.cls, saved.selector, saved.implementation, saved.types.c_str());
    g_savedMethods.clear();
}

// Registrations that keep the state of SpringBoard's Darwin notifications alive.
void registerStateTokens(SpringBoardState &state)
{
    if (notify_register_check("com.apple.iokit.hid.displayStatus", &state.displayStatusToken) !=
        NOTIFY_STATUS_OK)
        state.displayStatusToken = -1;
    if (notify_register_check("com.apple.springboard.lockstate", &state.lockStateToken) !=
        NOTIFY_STATUS_OK)
        state.lockStateToken = -1;
}

void cancelStateTokens(SpringBoardState &state)
{
    for (int token : {state.displayStatusToken, state.lockStateToken})
        if (token >= 0)
            notify_cancel(token);
}

void buildInterface(SpringBoardState &state)
{
    state.iconModel = StrongRef<NSObject>::adopt(SBIconModel::create());
    state.iconController = StrongRef<NSObject>::adopt(SBIconController::create());
    state.uiController = StrongRef<NSObject>::adopt(sim::create(SBUIController::class_()));
    state.statusBarStateAggregator =
        StrongRef<NSObject>::adopt(sim::create(SBStatusBarStateAggregator::class_()));
    state.lockScreenViewController =
        StrongRef<NSObject>::adopt(sim::create(SBLockScreenViewController::class_()));
    buildSpringBoardWindows(state);
    showSpringBoardWindows(state);
    buildControlCenter();
    buildNotificationCenter();
}

} // namespace

SpringBoardState &springBoardState()
{
    static SpringBoardState state;
    return state;
}

void publishLockState(SpringBoardState &state)
{
    if (state.lockStateToken >= 0)
        notify_set_state(state.lockStateToken, state.locked ? 1 : 0);
}

bool SpringBoardHost::launch()
{
    SpringBoardState &state = springBoardState();
    if (state.running) {
        NSLog("SpringBoard: already running; terminate it before launching it again");
        return false;
    }
    AutoreleasePool pool;
    setMainBundleIdentifier(kBundleIdentifier);
    registerSpringBoardClasses();
    saveUIKitMethods();
    installSpringBoardFunctions();
    // The extensions' entries run here: SpringBoard's classes exist, its interface does not.
    loadInjectedLibraries(kBundleIdentifier);

    state.running = true;
    state.locked = true;
    buildInterface(state);
    registerStateTokens(state);
    // The phone starts with its lock screen lit, until the idle dim.
    if (state.displayStatusToken >= 0)
        notify_set_state(state.displayStatusToken, 1);
    BacklightHost::scheduleIdleDim();
    publishLockState(state);
    notify_post("SBSpringBoardDidLaunchNotification");
    NSNotificationCenter::defaultCenter()->postNotificationNameObject(
        "UIApplicationDidFinishLaunchingNotification"_ns, UIApplication::sharedApplication());
    return true;
}

void SpringBoardHost::terminate()
{
    SpringBoardState &state = springBoardState();
    if (!state.running)
        return;
    {
        AutoreleasePool pool;
        static_cast<SBStatusBarStateAggregator *>(state.statusBarStateAggregator.get())
            ->m_timeItemTimer.stop();
        for (UIWindow *window : {state.wallpaperWindow.get(), state.homeScreenWindow.get(),
                                 state.lockScreenWindow.get(), state.statusBarWindow.get()})
            msg<void, BOOL>(window, "setHidden:"_sel, YES);
        cancelStateTokens(state);
        BacklightHost::stop();
        disposeControlCenter();
        disposeNotificationCenter();
        resetSystemGestures();
        state = SpringBoardState{};
    }
    unloadInjectedLibraries();
    removeSpringBoardFunctions();
    restoreUIKitMethods();
    disposeHostClasses();
    // What the ended launch replaced and disposed goes before the next launch makes anew.
    reclaimRuntimeMemory();
}

bool SpringBoardHost::isRunning()
{
    return springBoardState().running;
}

bool SpringBoardHost::isLocked()
{
    return springBoardState().locked;
}

} // namespace sim
