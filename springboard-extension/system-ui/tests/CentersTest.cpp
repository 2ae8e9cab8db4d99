#include "CentersTest.h"

#include "foundation/NSArray.h"
#include "springboard-extension/frame/Installers.h"
#include "springboard-extension/frame/tests/FrameTestSupport.h"
#include "springboard/control-center/ControlCenterHost.h"

#include <string_view>

namespace test {

void CentersTest::SetUp()
{
    SpringBoardTest::SetUp();
    for (CVInstaller &installer : CVFeatureInstallers()) {
        m_installers.push_back(installer.install);
        std::string_view name = installer.name;
        if (name != "ControlCenterInit" && name != "NotificationCenterInit")
            installer.install = nullptr;
    }
}

void CentersTest::TearDown()
{
    SpringBoardTest::TearDown();
    std::size_t row = 0;
    for (CVInstaller &installer : CVFeatureInstallers())
        installer.install = m_installers[row++];
}

void CentersTest::launchWithExtension(double coreFoundationVersion, const char *settings)
{
    fake::writeSettingsFile(settings);
    installExtension("CorvaneBoard", filterFor("com.apple.springboard"));
    launch(phoneProfile(coreFoundationVersion));
    ASSERT_TRUE(CVExtensionInitialized);
}

SBControlCenterController *CentersTest::controlCenter()
{
    return msg<SBControlCenterController *>(SBControlCenterController::class_(),
                                            "sharedInstance"_sel);
}

SBControlCenterContentView *CentersTest::controlCenterContent()
{
    SBControlCenterController *controller = controlCenter();
    msg<UIView *>(controller->m_viewController, "view"_sel);
    return controller->m_viewController->m_containerView->m_contentContainerView->m_contentView;
}

id CentersTest::section(const char *className)
{
    auto *sections = static_cast<NSArray *>(controlCenterContent()->m_allSections.get());
    for (const auto &item : *sections)
        if (object_getClass(item.get()) == objc_getClass(className))
            return item.get();
    return nil;
}

UIView *CentersTest::sectionView(const char *className)
{
    return msg<UIView *>(section(className), "view"_sel);
}

bool CentersTest::separatorShown(std::size_t index)
{
    auto *separators = static_cast<NSArray *>(controlCenterContent()->m_separatorViews.get());
    return !static_cast<UIView *>(separators->objectAtIndex(index))->isHidden();
}

_UIBackdropViewSettings *CentersTest::controlCenterBackdrop()
{
    return controlCenter()
        ->m_viewController->m_containerView->m_contentContainerView->m_backdropView
        ->m_inputSettings;
}

} // namespace test
