#pragma once
// The feature groups' tests on the platform's SpringBoard: the extension loaded as it
// starts, running only the installers a test names, in a process of its own per case.

#include "OwnProcess.h"
#include "SpringBoardTest.h"

#include "quartzcore/CATransform3D.h"
#include "settings-core/CVSettings.h"

#include <string>
#include <vector>

namespace test {

class ExtensionTest : public SpringBoardTest {
protected:
    // The feature installers the entry runs, by name; the others are left out.
    explicit ExtensionTest(std::vector<std::string> installers = {"IconListsInit"})
        : m_kept(std::move(installers))
    {
    }

    void SetUp() override;
    void TearDown() override;

    // Launches SpringBoard with the extension; `settings` is the body of the settings
    // file's top-level dictionary, read by the extension's entry.
    static void launchWithExtension(const sim::DeviceProfile &profile = phoneProfile(),
                                    const char *settings = "");

    // Lays the home screen's icon lists out again; what an icon view's layer shows.
    static void relayout();
    static CATransform3D sublayerTransformOf(UIView *view);
    static void setSublayerTransform(UIView *view, const CATransform3D &transform);

private:
    std::vector<std::string> m_kept;
    std::vector<void (*)()> m_installers;
};

// The generations a case runs on, by Core Foundation version, with readable names.
inline constexpr double kGenerations[] = {sim::DeviceProfile::kIOS7CoreFoundation,
                                          sim::DeviceProfile::kIOS8CoreFoundation,
                                          sim::DeviceProfile::kIOS9CoreFoundation};
std::string generationName(const testing::TestParamInfo<double> &info);

// A transform that scales by `scale` in x and y and does nothing else.
void expectScale(const CATransform3D &transform, double scale);

} // namespace test
