#pragma once
// The icon model decides which icons the home screen shows (the applications behind the
// icons are SBApplicationController's, apps/SBApplication.h).
//
// Every icon list asks the model, by message, whether each of its icons is visible
// (`isIconVisible:`); an icon that is not visible is not laid out, and the others close
// ranks. `visibleIconIdentifiers` answers the identifiers of every installed application,
// as an immutable array. On iOS 7 and 8 the model also keeps the Newsstand icon once
// `_addNewsstandIcon` has added it (Newsstand.h).

#include "foundation/NSArray.h"
#include "foundation/NSString.h"
#include "springboard/SBIcon.h"
#include "springboard/apps/SBApplication.h"

struct SBIconModel : NSObject {
    StrongRef<NSArray> m_identifiers;
    StrongRef<SBIcon> m_newsstandIcon;

    static Class class_();
    // The model of the current profile's applications; the caller owns it.
    static SBIconModel *create();
    // The shared model of the running SpringBoard (nil before it has one).
    static SBIconModel *shared();
};

namespace sim {
void registerIconModelClass();
} // namespace sim
