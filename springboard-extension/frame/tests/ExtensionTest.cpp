#include "ExtensionTest.h"

#include "FrameTestSupport.h"
#include "springboard-extension/frame/Installers.h"

#include <algorithm>

namespace test {

void ExtensionTest::SetUp()
{
    SpringBoardTest::SetUp();
    for (CVInstaller &installer : CVFeatureInstallers()) {
        m_installers.push_back(installer.install);
        if (std::find(m_kept.begin(), m_kept.end(), installer.name) == m_kept.end())
            installer.install = nullptr;
    }
}

void ExtensionTest::TearDown()
{
    SpringBoardTest::TearDown();
    std::size_t row = 0;
    for (CVInstaller &installer : CVFeatureInstallers())
        installer.install = m_installers[row++];
}

void ExtensionTest::launchWithExtension(const sim::DeviceProfile &profile, const char *settings)
{
    fake::writeSettingsFile(settings);
    installExtension("CorvaneBoard", filterFor("com.apple.springboard"));
    launch(profile);
    ASSERT_TRUE(CVExtensionInitialized);
}

void ExtensionTest::relayout()
{
    msg<void>(iconController(), "relayout"_sel);
}

CATransform3D ExtensionTest::sublayerTransformOf(UIView *view)
{
    return msg<CATransform3D>(view->layer(), "sublayerTransform"_sel);
}

void ExtensionTest::setSublayerTransform(UIView *view, const CATransform3D &transform)
{
    msg<void, CATransform3D>(view->layer(), "setSublayerTransform:"_sel, transform);
}

void expectScale(const CATransform3D &transform, double scale)
{
    CATransform3D expected = CATransform3DIdentity;
    expected.m11 = expected.m22 = scale;
    const CGFloat *actual = &transform.m11;
    const CGFloat *wanted = &expected.m11;
    for (int element = 0; element < 16; ++element)
        EXPECT_NEAR(actual[element], wanted[element], 1e-6) << "element " << element;
}

std::string generationName(const testing::TestParamInfo<double> &info)
{
    if (info.param < sim::DeviceProfile::kIOS8CoreFoundation)
        return "iOS7";
    return info.param < sim::DeviceProfile::kIOS9CoreFoundation ? "iOS8" : "iOS9";
}

} // namespace test
