#pragma once
// Newsstand, on iOS 7 and 8: a folder of periodicals with an icon of its own kind
// (SBNewsstandIcon) that SpringBoard puts on the home screen after the system's
// applications. Whether it is there is settled as the home screen is built: on iOS 7.0 the
// icon model adds it (`_addNewsstandIcon`) whatever happens; from iOS 7.1 on SpringBoard
// adds it only when its icon controller says the phone supports it
// (`isNewsstandSupported`: YES on iOS 7 and 8; iOS 9 has no Newsstand).

#include "springboard/SBIcon.h"

struct SBNewsstandIcon : SBFolderIcon {
    static Class class_();
    // An empty Newsstand; the caller owns it.
    static SBNewsstandIcon *create();
};

namespace sim {

void registerNewsstandIconClass();

// Asks, as SpringBoard does while it builds the home screen, whether Newsstand belongs on
// it, and answers the model's Newsstand icon, or nil.
SBIcon *placeNewsstand(id iconController);

} // namespace sim
