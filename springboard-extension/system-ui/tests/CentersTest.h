#pragma once
// What the Control Center and Notification Center tests share: SpringBoard launched with
// the extension loaded as it starts, its entry running the two centers' installers alone,
// in a process of its own per case, and the centers' objects as the host made them.

#include "SpringBoardTest.h"

#include "settings-core/CVSettings.h"
#include "springboard/control-center/ControlCenter.h"

namespace test {

class CentersTest : public SpringBoardTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Launches SpringBoard of the generation with the extension; `settings` is the body
    // of the settings file's top-level dictionary, read by the extension's entry.
    static void launchWithExtension(double coreFoundationVersion, const char *settings = "");

    static SBControlCenterController *controlCenter();
    static SBControlCenterContentView *controlCenterContent();
    // The section controller of that class on the panel.
    static id section(const char *className);
    static UIView *sectionView(const char *className);
    // Whether the panel shows the separator below the index-th section.
    static bool separatorShown(std::size_t index);
    static _UIBackdropViewSettings *controlCenterBackdrop();

private:
    std::vector<void (*)()> m_installers;
};

inline constexpr double kGenerations[] = {sim::DeviceProfile::kIOS7CoreFoundation,
                                          sim::DeviceProfile::kIOS8CoreFoundation,
                                          sim::DeviceProfile::kIOS9CoreFoundation};

} // namespace test
