#pragma once
// What the Control Center and Notification Center tests share: SpringBoard with the
// extension whose entry runs the two centers' installers alone (ExtensionTest.h), and the
// centers' objects as the host made them.

#include "springboard-extension/frame/tests/ExtensionTest.h"
#include "springboard/control-center/ControlCenter.h"

namespace test {

class CentersTest : public ExtensionTest {
protected:
    CentersTest() : ExtensionTest({"ControlCenterInit", "NotificationCenterInit"}) {}

    static SBControlCenterController *controlCenter();
    static SBControlCenterContentView *controlCenterContent();
    // The section controller of that class on the panel.
    static id section(const char *className);
    static UIView *sectionView(const char *className);
    // Whether the panel shows the separator below the index-th section.
    static bool separatorShown(std::size_t index);
    static _UIBackdropViewSettings *controlCenterBackdrop();
};

} // namespace test
