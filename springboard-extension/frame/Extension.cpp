// The load-time entry, the version gate, the class cache and the apply notification.

#include "springboard-extension/frame/Extension.h"

#include "darwin/notify.h"
#include "foundation/CoreFoundation.h"
#include "foundation/NSLog.h"
#include "objc/NSObject.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Installers.h"

#include <algorithm>
#include <vector>

CVClassCache gCVClasses;

namespace {

constexpr const char *kApplySettingsNotification = "com.kestrelworks.corvane3.applySettings";

// Armed until the image goes.
int g_applySettingsToken;
bool g_applySettingsArmed;

// The feature groups' exits, in the order they were registered (main thread only).
std::vector<CVFeatureExit> g_featureExits;

struct CachedClass {
    const char *name;
    Class CVClassCache::*entry;
};

constexpr CachedClass kCachedClasses[] = {
    {"SBIconListView", &CVClassCache::SBIconListView},
    {"SBDockIconListView", &CVClassCache::SBDockIconListView},
    {"SBFolderIconListView", &CVClassCache::SBFolderIconListView},
    {"SBFolderIconView", &CVClassCache::SBFolderIconView},
    {"SBIconView", &CVClassCache::SBIconView},
    {"UICTFont", &CVClassCache::UICTFont},
};

constexpr std::uint32_t kFNVOffsetBasis = 0x811c9dc5;
constexpr std::uint32_t kFNVPrime = 16777619;

} // namespace

void ExtensionEntry()
{
    AutoreleasePool pool;
    NSLog("Welcome to Corvane 3");
    if (!CVIsSupportedSystem()) {
        NSLog("%f not supported!", kCFCoreFoundationVersionNumber);
        ScheduleUnsupportedAlert();
        return;
    }
    NSLog("Loading on %f", kCFCoreFoundationVersionNumber);
    LoadCachedClasses();
    // Clears every change callback, so it must come before the installers set theirs.
    CVLoadSettings();
    if (gCVGlobal.enabled)
        CVRunInstallers(CVRunningSystemGeneration());
    // Armed with the master switch off too: applying is how the user turns it back on.
    g_applySettingsArmed = notify_register_dispatch(
                               kApplySettingsNotification, &g_applySettingsToken,
                               dispatch_get_main_queue(), HandleApplySettings) == NOTIFY_STATUS_OK;
    CVExtensionInitialized = 1;
}

void CVRegisterFeatureExit(CVFeatureExit exit)
{
    if (exit &&
        std::find(g_featureExits.begin(), g_featureExits.end(), exit) == g_featureExits.end())
        g_featureExits.push_back(exit);
}

void ExtensionExit()
{
    std::vector<CVFeatureExit> exits = std::move(g_featureExits);
    g_featureExits.clear();
    for (auto exit = exits.rbegin(); exit != exits.rend(); ++exit)
        (*exit)();
    if (g_applySettingsArmed)
        notify_cancel(g_applySettingsToken);
    g_applySettingsArmed = false;
    CancelUnsupportedAlert();
}

void LoadCachedClasses()
{
    for (const CachedClass &cached : kCachedClasses) {
        Class &entry = gCVClasses.*cached.entry;
        entry = objc_getClass(cached.name);
        if (!entry)
            NSLog("[Corvane][ERROR]: %s: Error loading class '%s'", __func__, cached.name);
    }
}

void HandleApplySettings(int)
{
    InstallFarewell();
    // Pressing the home button starts an interface animation, whose end plays the farewell.
    id controller = msg<id>(objc_getClass("SBUIController"), "sharedInstance"_sel);
    msg<void>(controller, "clickedMenuButton"_sel);
}

std::uint32_t fnv_32a_str(const char *text)
{
    std::uint32_t hash = kFNVOffsetBasis;
    for (const unsigned char *byte = reinterpret_cast<const unsigned char *>(text); *byte; ++byte) {
        hash ^= *byte;
        hash *= kFNVPrime;
    }
    return hash;
}
