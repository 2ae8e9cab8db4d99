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

std::string generationName(const testing::TestParamInfo<double> &info)
{
    if (info.param < sim::DeviceProfile::kIOS8CoreFoundation)
        return "iOS7";
    return info.param < sim::DeviceProfile::kIOS9CoreFoundation ? "iOS8" : "iOS9";
}

} // namespace test
