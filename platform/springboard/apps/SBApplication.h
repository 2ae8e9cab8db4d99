#pragma once
// The installed applications as SpringBoard knows them. SBApplicationController (shared)
// holds one SBApplication per application of the device profile, in the profile's order,
// and finds them by bundle identifier (and on iOS 7, the system that still spoke of
// display identifiers, by display identifier: the same text). An application is running
// from its launch until the system ends it; the profile's applications marked running
// were running when SpringBoard started, and SpringBoard remembers them as recently used.
//
// The controller also keeps the recently used applications, most recent first: what the
// app switcher shows. Quitting an application in the background keeps it there; only the
// switcher takes it out.

#include "foundation/DeviceProfile.h"
#include "foundation/NSArray.h"
#include "foundation/NSString.h"
#include "uikit/UIWindow.h"

struct SBApplication : NSObject {
    StrongRef<NSString> m_bundleIdentifier;
    StrongRef<NSString> m_displayName;
    bool m_running = false;
    // Applications the user installed came from the store after the phone was set up,
    // so they count as recently updated (the blue dot before the icon's name).
    bool m_recentlyUpdated = false;

    static Class class_();
    // The caller owns the answer.
    static SBApplication *create(const sim::InstalledApplication &installed);

    const std::string &bundleIdentifier() const { return m_bundleIdentifier->str(); }
    const std::string &displayName() const { return m_displayName->str(); }
};

struct SBApplicationController : NSObject {
    StrongRef<NSMutableArray> m_applications;
    StrongRef<NSMutableArray> m_recentApplications; // most recent first
    // The application on screen, in a window of its own over the home screen.
    StrongRef<SBApplication> m_frontmostApplication;
    StrongRef<UIWindow> m_applicationWindow;

    static Class class_();
    // The shared controller (made on first use while SpringBoard runs), or nil.
    static SBApplicationController *shared();

    SBApplication *applicationWithBundleIdentifier(const std::string &bundleIdentifier) const;
    // The recently used applications, most recent first.
    std::vector<SBApplication *> recentApplications() const;
    void noteUsed(SBApplication *application);
    void forget(SBApplication *application);
};

namespace sim {
void registerApplicationModelClasses();
} // namespace sim
