#include "CentersTest.h"

#include "foundation/NSArray.h"
#include "springboard/control-center/ControlCenterHost.h"

namespace test {

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
