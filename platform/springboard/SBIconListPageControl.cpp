#include "springboard/SBIconListPageControl.h"

#include "springboard/Artwork.h"
#include "springboard/HostClass.h"
#include "springboard/HostViews.h"

#include <algorithm>

namespace {

constexpr CGFloat kDotSide = 7;
constexpr CGFloat kDotPitch = 16;

// Sends the indicator method of the running generation for every dot.
void refreshIndicators(SBIconListPageControl *self)
{
    SEL withIndex = "_setIndicatorImage:toEnabled:index:"_sel;
    bool indexed = class_respondsToSelector(object_getClass(self), withIndex);
    for (std::size_t i = 0; i < self->m_indicators.size(); ++i) {
        UIImageView *dot = self->m_indicators[i];
        BOOL current = static_cast<NSInteger>(i) == self->m_currentPage;
        if (indexed)
            msg<void, UIImageView *, BOOL, NSInteger>(self, withIndex, dot, current,
                                                      static_cast<NSInteger>(i));
        else
            msg<void, UIImageView *, BOOL>(self, "_setIndicatorImage:toEnabled:"_sel, dot, current);
    }
}

namespace imp {

id initWithFrame(SBIconListPageControl *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(SBIconListPageControl::class_(), self, _cmd, frame))
        return nil;
    self->m_pageImage = sim::pageDotImage(kDotSide, 1, 0.35);
    self->m_currentPageImage = sim::pageDotImage(kDotSide, 1, 1);
    return self;
}

void setNumberOfPages(SBIconListPageControl *self, SEL, NSInteger count)
{
    self->m_numberOfPages = std::max<NSInteger>(count, 0);
    for (UIImageView *dot : self->m_indicators)
        msg<void>(dot, "removeFromSuperview"_sel);
    self->m_indicators.clear();
    for (NSInteger i = 0; i < self->m_numberOfPages; ++i) {
        self->m_indicators.push_back(
            sim::newView<UIImageView>(UIImageView::class_(), {{0, 0}, {kDotSide, kDotSide}}));
        sim::addSubview(self, self->m_indicators.back());
    }
    self->m_currentPage = std::clamp<NSInteger>(self->m_currentPage, 0,
                                                std::max<NSInteger>(self->m_numberOfPages - 1, 0));
    refreshIndicators(self);
    msg<void>(self, "setNeedsLayout"_sel);
}

void setCurrentPage(SBIconListPageControl *self, SEL, NSInteger page)
{
    NSInteger clamped =
        std::clamp<NSInteger>(page, 0, std::max<NSInteger>(self->m_numberOfPages - 1, 0));
    if (clamped == self->m_currentPage)
        return;
    self->m_currentPage = clamped;
    refreshIndicators(self);
}

void setIndicatorImageToEnabled(SBIconListPageControl *self, SEL, UIImageView *indicator,
                                BOOL enabled)
{
    msg<void, UIImage *>(indicator, "setImage:"_sel,
                         enabled ? self->m_currentPageImage : self->m_pageImage);
}

void setIndicatorImageToEnabledIndex(SBIconListPageControl *self, SEL _cmd, UIImageView *indicator,
                                     BOOL enabled, NSInteger)
{
    setIndicatorImageToEnabled(self, _cmd, indicator, enabled);
}

// The dots sit in a centred row.
void layoutSubviews(SBIconListPageControl *self, SEL)
{
    CGRect bounds = self->bounds();
    CGFloat rowWidth = CGFloat(self->m_indicators.size()) * kDotPitch;
    CGFloat x = bounds.origin.x + (bounds.size.width - rowWidth) / 2 + (kDotPitch - kDotSide) / 2;
    CGFloat y = bounds.origin.y + (bounds.size.height - kDotSide) / 2;
    for (UIImageView *dot : self->m_indicators) {
        sim::setFrame(dot, {{x, y}, {kDotSide, kDotSide}});
        x += kDotPitch;
    }
}

} // namespace imp

} // namespace

Class SBIconListPageControl::class_()
{
    return objc_getClass("SBIconListPageControl");
}

namespace sim {

void registerPageControlClass()
{
    HostClass<SBIconListPageControl>("SBIconListPageControl", "UIView")
        .method("initWithFrame:", imp::initWithFrame)
        .getter<&SBIconListPageControl::m_numberOfPages>("numberOfPages")
        .method("setNumberOfPages:", imp::setNumberOfPages)
        .getter<&SBIconListPageControl::m_currentPage>("currentPage")
        .method("setCurrentPage:", imp::setCurrentPage)
        .method("_setIndicatorImage:toEnabled:", imp::setIndicatorImageToEnabled)
        .onGenerations(iOS7 | iOS8)
        .method("_setIndicatorImage:toEnabled:index:", imp::setIndicatorImageToEnabledIndex)
        .onGenerations(iOS9)
        .method("layoutSubviews", imp::layoutSubviews)
        .registerClass();
}

} // namespace sim
