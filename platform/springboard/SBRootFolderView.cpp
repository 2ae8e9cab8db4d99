#include "springboard/SBRootFolderView.h"

#include "springboard/HostClass.h"
#include "springboard/HostViews.h"

#include <cmath>

namespace {

using sim::SpringBoardMetrics;

void updatePageControl(SBRootFolderView *self)
{
    msg<void, NSInteger>(self->m_pageControl, "setCurrentPage:"_sel,
                         static_cast<NSInteger>(std::lround(self->iconListPosition())));
}

namespace imp {

id initWithFrame(SBRootFolderView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(SBRootFolderView::class_(), self, _cmd, frame))
        return nil;
    self->m_searchScrollView =
        sim::newView<SBSearchScrollView>(SBSearchScrollView::class_(), self->bounds());
    msg<void, UIEdgeInsets>(self->m_searchScrollView, "setContentInset:"_sel,
                            {sim::kSearchPullDownHeight, 0, 0, 0});
    sim::addSubview(self, self->m_searchScrollView);
    sim::addSubview(self->m_searchScrollView, self->m_scrollView);

    self->m_pullDownSearchController =
        StrongRef<UIViewController>::adopt(sim::createSearchViewController());
    UIView *pullDown = msg<UIView *>(self->m_pullDownSearchController, "view"_sel);
    msg<void, BOOL>(pullDown, "setClipsToBounds:"_sel, YES);
    sim::addSubview(self->m_searchScrollView, pullDown);

    if (sim::currentGeneration() == sim::iOS9) {
        self->m_leadingPageCount = 1;
        self->m_spotlightPageController =
            StrongRef<UIViewController>::adopt(sim::createSearchViewController());
        sim::addSubview(self->m_scrollView,
                        msg<UIView *>(self->m_spotlightPageController, "view"_sel));
    }
    self->m_pageControl =
        sim::newView<SBIconListPageControl>(SBIconListPageControl::class_(), CGRectZero);
    sim::addSubview(self, self->m_pageControl);
    return self;
}

void setOrientation(SBRootFolderView *self, SEL _cmd, NSInteger orientation)
{
    msgSuper<void, NSInteger>(SBRootFolderView::class_(), self, _cmd, orientation);
    if (self->m_dockView)
        msg<void, NSInteger>(self->m_dockView->m_dockListView, "setOrientation:"_sel, orientation);
}

// The parts of the home screen in the places the device's measures give them; the pages
// themselves are laid out by the folder view.
void layoutSubviews(SBRootFolderView *self, SEL _cmd)
{
    NSInteger orientation = self->m_orientation;
    CGRect pages = SpringBoardMetrics::pageFrame(orientation);
    sim::setFrame(self->m_searchScrollView, pages);
    msg<void, CGSize>(self->m_searchScrollView, "setContentSize:"_sel, pages.size);
    sim::setFrame(self->m_scrollView, {{0, 0}, pages.size});
    sim::setFrame(
        msg<UIView *>(self->m_pullDownSearchController, "view"_sel),
        {{0, -sim::kSearchPullDownHeight}, {pages.size.width, sim::kSearchPullDownHeight}});
    if (self->m_spotlightPageController)
        sim::setFrame(msg<UIView *>(self->m_spotlightPageController, "view"_sel),
                      {{0, 0}, pages.size});
    sim::setFrame(self->m_dockView, SpringBoardMetrics::dockFrame(orientation));
    // The dock lays its band out again with the home screen.
    msg<void>(self->m_dockView, "setNeedsLayout"_sel);
    sim::setFrame(self->m_pageControl, SpringBoardMetrics::pageControlFrame(orientation));
    msgSuper<void>(SBRootFolderView::class_(), self, _cmd);
    auto lists = static_cast<NSInteger>(self->m_iconListViews->count());
    if (msg<NSInteger>(self->m_pageControl, "numberOfPages"_sel) != lists)
        msg<void, NSInteger>(self->m_pageControl, "setNumberOfPages:"_sel, lists);
    updatePageControl(self);
}

void scrollViewDidScroll(SBRootFolderView *self, SEL _cmd, UIScrollView *scrollView)
{
    msgSuper<void, UIScrollView *>(SBRootFolderView::class_(), self, _cmd, scrollView);
    updatePageControl(self);
}

} // namespace imp

} // namespace

Class SBRootFolderView::class_()
{
    return objc_getClass("SBRootFolderView");
}

void SBRootFolderView::installDock(SBIconListView *dockList)
{
    id dock = msg<id>(SBDockView::class_(), "alloc"_sel);
    dock = msg<id, SBIconListView *, BOOL>(dock, "initWithDockListView:forSnapshot:"_sel, dockList,
                                           NO);
    m_dockView = StrongRef<SBDockView>::adopt(static_cast<SBDockView *>(dock));
    sim::addSubview(this, m_dockView);
    msg<void>(this, "setNeedsLayout"_sel);
}

namespace sim {

void registerRootFolderViewClass()
{
    HostClass<SBRootFolderView>("SBRootFolderView", "SBFolderView")
        .ivar("_searchScrollView", &SBRootFolderView::m_searchScrollView)
        .ivar("_pageControl", &SBRootFolderView::m_pageControl)
        .ivar("_dockView", &SBRootFolderView::m_dockView)
        .method("initWithFrame:", imp::initWithFrame)
        .getter<&SBRootFolderView::m_dockView>("dockView")
        .getter<&SBRootFolderView::m_pageControl>("pageControl")
        .getter<&SBRootFolderView::m_searchScrollView>("searchScrollView")
        .method("setOrientation:", imp::setOrientation)
        .method("layoutSubviews", imp::layoutSubviews)
        .method("scrollViewDidScroll:", imp::scrollViewDidScroll)
        .registerClass();
}

} // namespace sim
