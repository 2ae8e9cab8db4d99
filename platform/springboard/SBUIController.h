#pragma once
// The UI controller handles the home button. A press closes an open folder, or else ends
// icon editing, or else returns the pages to the first page of icons; in every case it
// then runs the home screen's settling animation with an SBUIAnimationController, which
// it keeps until the controller reports the animation finished. While the device is
// locked a press changes nothing on the home screen beneath the lock screen, but the
// animation still runs.

#include "springboard/SBUIAnimationController.h"

struct SBUIController : NSObject {
    StrongRef<SBUIBaseAnimationController> m_animationController; // while it runs

    static Class class_();
};

namespace sim {
void registerUIControllerClass();
} // namespace sim
