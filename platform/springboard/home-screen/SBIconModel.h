#pragma once
// The icon model decides which icons the home screen shows (the applications behind the
// icons are SBApplicationController's, apps/SBApplication.h).
//
// Every icon list asks the model, by message, whether each of its icons is visible
// (`isIconVisible:`); an icon that is not visible is not laid out, and the others close
// ranks. `visibleIconIdentifiers` answers the identifiers of every installed application,
// as an immutable array.

#include "foundation/NSArray.h"
#include "foundation/NSString.h"
#include "springboard/apps/SBApplication.h"

struct SBIconModel : NSObject {
    StrongRef<NSArray> m_identifiers;

    static Class class_();
    // The model of the current profile's applications; the caller owns it.
    static SBIconModel *create();
    // The shared model of the running SpringBoard (nil before it has one).
    static SBIconModel *shared();
};

namespace sim {
void registerIconModelClass();
} // namespace sim
