#pragma once
// What the home-screen tests share: SpringBoard with the extension whose entry runs the
// icon-list installer alone (ExtensionTest.h), and probes of what the icon views show.

#include "springboard-extension/frame/tests/ExtensionTest.h"

#include "quartzcore/CATransform3D.h"

namespace test {

class HomeScreenTest : public ExtensionTest {
protected:
    explicit HomeScreenTest(std::vector<std::string> installers = {"IconListsInit"})
        : ExtensionTest(std::move(installers))
    {
    }

    static void relayout();
    static CATransform3D sublayerTransformOf(UIView *view);
    static void setSublayerTransform(UIView *view, const CATransform3D &transform);
};

// The transform expected of a cover-flow icon: a scale by `scale` in x and y after a turn
// by `angle` about the vertical axis, with `perspective` as m34 and `depth` as m43
// before the turn. The turn follows the platform's convention (a positive angle about y
// turns z towards x), so the angle's sign shows in m31 = sin(angle).
void expectCoverFlow(const CATransform3D &transform, double angle, double scale, double depth,
                     double perspective);
void expectScale(const CATransform3D &transform, double scale);

} // namespace test
