#pragma once
// The applications behind the icons, and the icon model that decides which icons the home
// screen shows. An application knows whether it was updated recently (the blue dot before
// its icon's name); applications the user installed came from the store after the phone
// was set up, so they count as recently updated until SpringBoard is told otherwise.
//
// Every icon list asks the model, by message, whether each of its icons is visible
// (`isIconVisible:`); an icon that is not visible is not laid out, and the others close
// ranks. `visibleIconIdentifiers` answers the identifiers of every installed application,
// as an immutable array.

#include "foundation/NSArray.h"
#include "foundation/NSString.h"

struct SBApplication : NSObject {
    StrongRef<NSString> m_bundleIdentifier;
    bool m_recentlyUpdated = false;

    static Class class_();
    // The caller owns the answer.
    static SBApplication *create(const std::string &bundleIdentifier);
};

struct SBIconModel : NSObject {
    StrongRef<NSArray> m_identifiers;

    static Class class_();
    // The model of the current profile's applications; the caller owns it.
    static SBIconModel *create();
    // The shared model of the running SpringBoard (nil before it has one).
    static SBIconModel *shared();
};

namespace sim {
void registerIconModelAndApplicationClasses();
} // namespace sim
