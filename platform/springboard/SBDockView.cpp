#include "springboard/SBDockView.h"

#include "springboard/HostClass.h"
#include "springboard/HostViews.h"

namespace {

namespace imp {

id initWithDockListViewForSnapshot(SBDockView *self, SEL, SBIconListView *list, BOOL)
{
    if (!msg<id, CGRect>(self, "initWithFrame:"_sel, CGRectZero))
        return nil;
    self->m_backgroundView = sim::newView(UIView::class_(), CGRectZero);
    msg<void, UIColor *>(self->m_backgroundView, "setBackgroundColor:"_sel,
                         UIColor::colorWithWhiteAlpha(1, 0.25));
    sim::addSubview(self, self->m_backgroundView);
    self->m_dockListView = list;
    sim::addSubview(self, list);
    return self;
}

SBIconListView *dockListView(SBDockView *self, SEL)
{
    return self->m_dockListView;
}

CGFloat dockHeight(SBDockView *, SEL)
{
    return sim::SpringBoardMetrics::dockThickness();
}

void layoutSubviews(SBDockView *self, SEL)
{
    sim::setFrame(self->m_backgroundView, self->bounds());
    sim::setFrame(self->m_dockListView, self->bounds());
}

} // namespace imp

} // namespace

Class SBDockView::class_()
{
    return objc_getClass("SBDockView");
}

namespace sim {

void registerDockViewClass()
{
    HostClass<SBDockView>("SBDockView", "UIView")
        .ivar("_iconListView", &SBDockView::m_dockListView)
        .ivar("_backgroundView", &SBDockView::m_backgroundView)
        .method("initWithDockListView:forSnapshot:", imp::initWithDockListViewForSnapshot)
        .method("dockListView", imp::dockListView)
        .method("dockHeight", imp::dockHeight)
        .method("layoutSubviews", imp::layoutSubviews)
        .registerClass();
}

} // namespace sim
