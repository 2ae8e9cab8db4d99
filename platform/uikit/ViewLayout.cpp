#include "uikit/ViewLayout.h"

#include "foundation/RunLoop.h"
#include "uikit/UIView.h"

namespace sim {
namespace {

std::vector<StrongRef<UIView>> g_marked;
bool g_passScheduled = false;

void layOutTree(UIView *view)
{
    if (view->m_needsLayout) {
        view->m_needsLayout = false;
        msg<void>(view, "layoutSubviews"_sel);
    }
    std::vector<StrongRef<UIView>> subviews = view->m_subviews;
    for (UIView *subview : subviews)
        layOutTree(subview);
}

} // namespace

void ViewLayout::setNeedsLayout(UIView *view, SEL)
{
    if (view->m_needsLayout)
        return;
    view->m_needsLayout = true;
    g_marked.emplace_back(view);
    if (g_passScheduled)
        return;
    g_passScheduled = true;
    RunLoop::main().perform(layoutPendingViews);
}

void ViewLayout::layoutIfNeeded(UIView *view, SEL)
{
    UIView *top = view;
    for (UIView *ancestor = view->m_superview; ancestor; ancestor = ancestor->m_superview)
        if (ancestor->m_needsLayout)
            top = ancestor;
    StrongRef<UIView> keep(top);
    layOutTree(top);
}

void ViewLayout::layoutPendingViews()
{
    g_passScheduled = false;
    std::vector<StrongRef<UIView>> marked;
    marked.swap(g_marked);
    for (UIView *view : marked)
        if (view->m_needsLayout)
            msg<void>(view, "layoutIfNeeded"_sel);
}

} // namespace sim
