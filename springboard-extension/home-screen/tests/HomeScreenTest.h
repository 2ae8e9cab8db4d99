#pragma once
// What the home-screen tests share: SpringBoard launched with the extension loaded as it
// starts (its entry runs the icon-list installer alone, so that other feature groups do
// not blur what a case sees), in a process of its own per case, and probes of what the
// icon views show.

#include "SpringBoardTest.h"

#include "quartzcore/CATransform3D.h"
#include "settings-core/CVSettings.h"

namespace test {

class HomeScreenTest : public SpringBoardTest {
protected:
    // The feature installers the entry runs, by name; the others are left out.
    explicit HomeScreenTest(std::vector<std::string> installers = {"IconListsInit"})
        : m_kept(std::move(installers))
    {
    }

    void SetUp() override;
    void TearDown() override;

    // Launches SpringBoard with the extension; `settings` is the body of the settings
    // file's top-level dictionary, read by the extension's entry.
    static void launchWithExtension(const sim::DeviceProfile &profile = phoneProfile(),
                                    const char *settings = "");
    static void relayout();
    static CATransform3D sublayerTransformOf(UIView *view);
    static void setSublayerTransform(UIView *view, const CATransform3D &transform);

private:
    std::vector<std::string> m_kept;
    std::vector<void (*)()> m_installers;
};

// The transform expected of a cover-flow icon: a scale by `scale` in x and y after a turn
// by `angle` about the vertical axis, with `perspective` as m34 and `depth` as m43
// before the turn. The turn follows the platform's convention (a positive angle about y
// turns z towards x), so the angle's sign shows in m31 = sin(angle).
void expectCoverFlow(const CATransform3D &transform, double angle, double scale, double depth,
                     double perspective);
void expectScale(const CATransform3D &transform, double scale);

} // namespace test
