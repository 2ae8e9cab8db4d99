#include "SystemUITest.h"

#include "springboard-extension/frame/Installers.h"
#include "springboard-extension/frame/tests/FrameTestSupport.h"

#include <string_view>

namespace test {

void SystemUITest::SetUp()
{
    SpringBoardTest::SetUp();
    for (CVInstaller &installer : CVFeatureInstallers()) {
        m_installers.push_back(installer.install);
        std::string_view name = installer.name;
        if (name != "StatusBarInit" && name != "LockScreenInit")
            installer.install = nullptr;
    }
}

void SystemUITest::TearDown()
{
    SpringBoardTest::TearDown();
    std::size_t row = 0;
    for (CVInstaller &installer : CVFeatureInstallers())
        installer.install = m_installers[row++];
}

void SystemUITest::launchWithExtension(const sim::DeviceProfile &profile, const char *settings)
{
    fake::writeSettingsFile(settings);
    installExtension("CorvaneBoard", filterFor("com.apple.springboard"));
    launch(profile);
    ASSERT_TRUE(CVExtensionInitialized);
}

void SystemUITest::setText(CFStringRef &option, const char *text)
{
    if (option)
        CFRelease(option);
    option = CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingUTF8);
}

std::string generationName(const testing::TestParamInfo<double> &info)
{
    if (info.param < sim::DeviceProfile::kIOS8CoreFoundation)
        return "iOS7";
    return info.param < sim::DeviceProfile::kIOS9CoreFoundation ? "iOS8" : "iOS9";
}

} // namespace test
