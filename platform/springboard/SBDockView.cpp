#include "springboard/SBDockView.h"

#include "springboard/Artwork.h"
#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/ViewDumpAttributes.h"

#include <nlohmann/json.hpp>

namespace {

// The edge lines, in points.
constexpr CGFloat kEdgeLine = 1;

struct SBDockBackgroundView : UIView {};

StrongRef<UIView> newBand(Class cls, CGFloat white, CGFloat alpha)
{
    StrongRef<UIView> band = sim::newView(cls, CGRectZero);
    msg<void, UIColor *>(band, "setBackgroundColor:"_sel,
                         UIColor::colorWithWhiteAlpha(white, alpha));
    return band;
}

// The dock's inner edge faces the pages: its top, or its left side when it stands upright.
CGRect innerEdge(SBDockView *self)
{
    CGSize size = self->bounds().size;
    bool upright = self->m_dockListView && self->m_dockListView->isVertical();
    return upright ? CGRect{{0, 0}, {kEdgeLine, size.height}}
                   : CGRect{{0, 0}, {size.width, kEdgeLine}};
}

CGRect outerEdge(SBDockView *self)
{
    CGSize size = self->bounds().size;
    bool upright = self->m_dockListView && self->m_dockListView->isVertical();
    return upright ? CGRect{{size.width - kEdgeLine, 0}, {kEdgeLine, size.height}}
                   : CGRect{{0, size.height - kEdgeLine}, {size.width, kEdgeLine}};
}

namespace imp {

id initWithDockListViewForSnapshot(SBDockView *self, SEL, SBIconListView *list, BOOL)
{
    if (!msg<id, CGRect>(self, "initWithFrame:"_sel, CGRectZero))
        return nil;
    Class band = objc_getClass("_SBDockBackgroundView");
    self->m_backgroundView = newBand(band ? band : UIView::class_(), 1, 0.25);
    self->m_backgroundImageView = sim::newView<UIImageView>(UIImageView::class_(), CGRectZero);
    msg<void, UIImage *>(self->m_backgroundImageView, "setImage:"_sel,
                         sim::pageDotImage(kEdgeLine, 0, 0.3));
    self->m_highlightView = newBand(UIView::class_(), 1, 0.5);
    for (UIView *view :
         {self->m_backgroundView.get(), static_cast<UIView *>(self->m_backgroundImageView.get()),
          self->m_highlightView.get()})
        sim::addSubview(self, view);
    self->m_dockListView = list;
    sim::addSubview(self, list);
    return self;
}

CGFloat dockHeight(SBDockView *, SEL)
{
    return sim::SpringBoardMetrics::dockThickness();
}

void layoutSubviews(SBDockView *self, SEL)
{
    sim::setFrame(self->m_backgroundView, self->bounds());
    sim::setFrame(self->m_accessibilityBackgroundView, self->bounds());
    sim::setFrame(self->m_backgroundImageView, outerEdge(self));
    sim::setFrame(self->m_highlightView, innerEdge(self));
    sim::setFrame(self->m_dockListView, self->bounds());
}

} // namespace imp

// The dump names the background views with whether each is hidden.
void dockAttributes(UIView *view, nlohmann::json &node)
{
    auto *dock = static_cast<SBDockView *>(view);
    auto hidden = [](UIView *part) { return part ? nlohmann::json(part->isHidden()) : nullptr; };
    node["backgroundViewsHidden"] = {
        {"backgroundView", hidden(dock->m_backgroundView)},
        {"accessibilityBackgroundView", hidden(dock->m_accessibilityBackgroundView)},
        {"backgroundImageView", hidden(dock->m_backgroundImageView)},
        {"highlightView", hidden(dock->m_highlightView)},
    };
}

} // namespace

Class SBDockView::class_()
{
    return objc_getClass("SBDockView");
}

namespace sim {

void registerDockViewClass()
{
    HostClass<SBDockBackgroundView>("_SBDockBackgroundView", "UIView")
        .onGenerations(iOS8 | iOS9)
        .registerClass();
    HostClass<SBDockView>("SBDockView", "UIView")
        .ivar("_iconListView", &SBDockView::m_dockListView)
        .ivar("_backgroundView", &SBDockView::m_backgroundView)
        .ivar("_accessibilityBackgroundView", &SBDockView::m_accessibilityBackgroundView)
        .ivar("_backgroundImageView", &SBDockView::m_backgroundImageView)
        .ivar("_highlightView", &SBDockView::m_highlightView)
        .method("initWithDockListView:forSnapshot:", imp::initWithDockListViewForSnapshot)
        .getter<&SBDockView::m_dockListView>("dockListView")
        .method("dockHeight", imp::dockHeight)
        .method("layoutSubviews", imp::layoutSubviews)
        .registerClass();
    addViewDumpAttributes("SBDockView", dockAttributes);
}

} // namespace sim
