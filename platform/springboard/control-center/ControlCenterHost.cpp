#include "springboard/control-center/ControlCenterHost.h"

#include "foundation/NSArray.h"
#include "springboard/ViewDumpAttributes.h"
#include "springboard/control-center/ControlCenter.h"
#include "uikit/UIApplication.h"
#include "uikit/UIScreen.h"

#include <nlohmann/json.hpp>

namespace sim {

namespace {

SBControlCenterController *controller()
{
    return msg<SBControlCenterController *>(SBControlCenterController::class_(),
                                            "sharedInstance"_sel);
}

SBControlCenterContentView *contentView()
{
    SBControlCenterController *shared = controller();
    if (!shared)
        return nil;
    msg<UIView *>(shared->m_viewController, "view"_sel);
    return shared->m_viewController->m_containerView->m_contentContainerView->m_contentView;
}

nlohmann::json sectionsJson(SBControlCenterContentView *content)
{
    nlohmann::json sections = nlohmann::json::array();
    for (const auto &section : *static_cast<NSArray *>(content->m_allSections.get())) {
        auto *view = msg<UIView *>(section.get(), "view"_sel);
        sections.push_back({{"name", object_getClassName(section.get())},
                            {"frame", rectJson(view->frame())},
                            {"shown", !view->isHidden()}});
    }
    return sections;
}

} // namespace

void buildControlCenter()
{
    auto shared = StrongRef<SBControlCenterController>::adopt(
        create<SBControlCenterController>(SBControlCenterController::class_()));
    if (!shared)
        return;
    addEdgeGestureRecognizer(shared->m_controlCenterGestureRecognizer);
    setControlCenterController(shared);
}

bool openControlCenter()
{
    SBControlCenterController *shared = controller();
    if (!shared)
        return false;
    swipeFromEdge(kSwipeUp, UIScreen::mainScreen()->bounds().size.height * 0.8);
    return shared->m_visible;
}

bool closeControlCenter()
{
    SBControlCenterController *shared = controller();
    if (!shared || !shared->m_visible)
        return false;
    msg<void, BOOL>(shared, "dismissAnimated:"_sel, YES);
    return true;
}

std::vector<SBCCButtonLikeSectionView *> controlCenterToggles()
{
    std::vector<SBCCButtonLikeSectionView *> toggles;
    SBControlCenterContentView *content = contentView();
    if (!content)
        return toggles;
    std::vector<UIView *> views;
    for (const auto &section : *static_cast<NSArray *>(content->m_allSections.get())) {
        auto *view = msg<UIView *>(section.get(), "view"_sel);
        for (const auto &subview : view->m_subviews)
            if (msg<BOOL, Class>(subview.get(), "isKindOfClass:"_sel,
                                 SBCCButtonLikeSectionView::class_()))
                toggles.push_back(static_cast<SBCCButtonLikeSectionView *>(subview.get()));
    }
    return toggles;
}

bool tapControlCenterToggle(int index)
{
    SBControlCenterController *shared = controller();
    std::vector<SBCCButtonLikeSectionView *> toggles = controlCenterToggles();
    if (!shared || !shared->m_visible || index < 0 || index >= int(toggles.size()))
        return false;
    SBCCButtonLikeSectionView *toggle = toggles[index];
    if (toggle->isHidden() || toggle->m_superview->isHidden())
        return false;
    for (SBCCButtonLikeSectionView *other : toggles)
        msg<void, BOOL>(other, "setHighlighted:"_sel, other == toggle);
    return true;
}

nlohmann::json dumpControlCenter()
{
    SBControlCenterController *shared = controller();
    SBControlCenterContentView *content = contentView();
    if (!shared || !content)
        return nullptr;
    SBControlCenterContainerView *container = shared->m_viewController->m_containerView;
    _UIBackdropViewSettings *settings =
        container->m_contentContainerView->m_backdropView->m_inputSettings;
    nlohmann::json separators = nlohmann::json::array();
    for (const auto &separator : *static_cast<NSArray *>(content->m_separatorViews.get()))
        separators.push_back(!static_cast<UIView *>(separator.get())->isHidden());
    nlohmann::json toggles = nlohmann::json::array();
    for (SBCCButtonLikeSectionView *toggle : controlCenterToggles())
        toggles.push_back(
            {{"controlState", toggle->controlState()},
             {"hidden", toggle->isHidden()},
             {"color", colorJson(msg<UIColor *>(toggle->m_glyphView, "backgroundColor"_sel))}});
    return {{"open", shared->m_visible},
            {"revealed", container->m_revealedFraction},
            {"gestureRegistered",
             displayHearsGestureRecognizer(shared->m_controlCenterGestureRecognizer)},
            {"sections", sectionsJson(content)},
            {"separators", separators},
            {"backdrop", backdropSettingsJson(settings)},
            {"toggles", toggles}};
}

} // namespace sim
