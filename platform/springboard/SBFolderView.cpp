#include "springboard/SBFolderView.h"

#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/IconListKinds.h"
#include "springboard/SBFolderIconView.h"

#include <cmath>

namespace {

// Tells the folder icons of the lists in view where they are on the wallpaper now.
void followWallpaperOfVisibleFolderIcons(SBFolderView *self)
{
    CGRect visible = self->m_scrollView->bounds();
    for (id object : *self->m_iconListViews) {
        auto *list = static_cast<SBIconListView *>(object);
        if (!CGRectIntersectsRect(list->frame(), visible))
            continue;
        for (UIView *view : list->m_subviews)
            if (object_getClass(view) == SBFolderIconView::class_())
                static_cast<SBFolderIconView *>(view)->followWallpaper();
    }
}

namespace imp {

id initWithFrame(SBFolderView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(SBFolderView::class_(), self, _cmd, frame))
        return nil;
    self->m_iconListViews = NSMutableArray::array();
    self->m_scrollView = sim::newView<UIScrollView>(UIScrollView::class_(), self->bounds());
    msg<void, BOOL>(self->m_scrollView, "setPagingEnabled:"_sel, YES);
    // Only the pages in view show, whatever lies beside the scroll view.
    msg<void, BOOL>(self->m_scrollView, "setClipsToBounds:"_sel, YES);
    msg<void, id>(self->m_scrollView, "setDelegate:"_sel, self);
    sim::addSubview(self, self->m_scrollView);
    return self;
}

NSArray *iconListViews(SBFolderView *self, SEL)
{
    return NSArray::arrayWithArray(self->m_iconListViews);
}

// In editing mode an open folder's name takes touches (and so can be edited), when its
// folder allows it.
void setEditingAnimated(SBFolderView *self, SEL, BOOL editing, BOOL animated)
{
    self->m_isEditing = editing;
    if (self->m_titleTextField && class_respondsToSelector(object_getClass(self), "folder"_sel)) {
        id folder = msg<id>(self, "folder"_sel);
        msg<void, BOOL>(self->m_titleTextField, "setUserInteractionEnabled:"_sel,
                        editing && msg<BOOL>(folder, "canEditDisplayName"_sel));
    }
    for (id list : *self->m_iconListViews)
        msg<void, NSArray *, BOOL>(list, "_updateEditingStateForIcons:animated:"_sel,
                                   msg<NSArray *>(list, "icons"_sel), animated);
}

void setOrientation(SBFolderView *self, SEL, NSInteger orientation)
{
    self->m_orientation = orientation;
    for (id list : *self->m_iconListViews)
        msg<void, NSInteger>(list, "setOrientation:"_sel, orientation);
    msg<void>(self, "setNeedsLayout"_sel);
}

CGFloat scrollOffsetForFirstListView(SBFolderView *self, SEL)
{
    return self->pageFrame(self->m_leadingPageCount).origin.x;
}

NSInteger currentPageIndex(SBFolderView *self, SEL)
{
    return static_cast<NSInteger>(std::floor(self->iconListPosition()));
}

void resetIconListViews(SBFolderView *self, SEL)
{
    NSInteger index = self->m_leadingPageCount;
    for (id object : *self->m_iconListViews) {
        auto *list = static_cast<UIView *>(object);
        msg<void, CGAffineTransform>(list, "setTransform:"_sel, CGAffineTransformIdentity);
        list->layer()->setTransform(CATransform3DIdentity);
        list->layer()->setSublayerTransform(CATransform3DIdentity);
        sim::setAlpha(list, 1);
        sim::setFrame(list, self->pageFrame(index++));
    }
}

void scrollViewDidScroll(SBFolderView *self, SEL, UIScrollView *)
{
    followWallpaperOfVisibleFolderIcons(self);
}

void scrollViewWillBeginDragging(SBFolderView *self, SEL, UIScrollView *)
{
    self->m_isScrolling = true;
}

void scrollViewDidEndDecelerating(SBFolderView *self, SEL, UIScrollView *)
{
    self->m_isScrolling = false;
    followWallpaperOfVisibleFolderIcons(self);
}

// The scroll view fills the folder view (unless a subclass holds it elsewhere); its
// pages are the leading pages and the lists. When the page width changes (the device
// turned), the same page stays in view.
void layoutSubviews(SBFolderView *self, SEL)
{
    UIScrollView *scroll = self->m_scrollView;
    if (scroll->superview() == self)
        sim::setFrame(scroll, self->bounds());
    CGSize page = scroll->bounds().size;
    CGFloat previousWidth = self->m_laidOutPageWidth > 0 ? self->m_laidOutPageWidth : page.width;
    CGFloat position = scroll->contentOffset().x / previousWidth;
    auto pages = static_cast<CGFloat>(self->m_leadingPageCount +
                                      static_cast<NSInteger>(self->m_iconListViews->count()));
    msg<void, CGSize>(scroll, "setContentSize:"_sel, {page.width * pages, page.height});
    NSInteger index = self->m_leadingPageCount;
    for (id list : *self->m_iconListViews)
        sim::setFrame(static_cast<UIView *>(list), self->pageFrame(index++));
    bool resting = scroll->m_motion == UIScrollView::Motion::None && !scroll->m_tracking;
    if (page.width != previousWidth && resting)
        msg<void, CGPoint>(scroll, "setContentOffset:"_sel,
                           {std::round(position) * page.width, scroll->contentOffset().y});
    self->m_laidOutPageWidth = page.width;
}

} // namespace imp

} // namespace

Class SBFolderView::class_()
{
    return objc_getClass("SBFolderView");
}

void SBFolderView::addIconListViews(NSArray *lists)
{
    for (id list : *lists) {
        m_iconListViews->addObject(list);
        sim::addSubview(m_scrollView, static_cast<UIView *>(list));
    }
    msg<void>(this, "setNeedsLayout"_sel);
}

CGRect SBFolderView::pageFrame(NSInteger index) const
{
    CGSize page = m_scrollView->bounds().size;
    return {{CGFloat(index) * page.width, 0}, page};
}

CGPoint SBFolderView::offsetForIconList(NSInteger index) const
{
    return {pageFrame(m_leadingPageCount + index).origin.x, m_scrollView->contentOffset().y};
}

CGFloat SBFolderView::iconListPosition() const
{
    CGFloat width = m_scrollView->bounds().size.width;
    if (width <= 0)
        return 0;
    return (m_scrollView->contentOffset().x - pageFrame(m_leadingPageCount).origin.x) / width;
}

namespace sim {

void registerFolderViewClass()
{
    HostClass<SBFolderView>("SBFolderView", "UIView")
        .ivar("_scrollView", &SBFolderView::m_scrollView)
        .ivar("_iconListViews", &SBFolderView::m_iconListViews)
        .ivar("_titleTextField", &SBFolderView::m_titleTextField)
        .ivar("_isEditing", &SBFolderView::m_isEditing)
        .method("initWithFrame:", imp::initWithFrame)
        .getter<&SBFolderView::m_scrollView>("scrollView")
        .method("iconListViews", imp::iconListViews)
        .getter<&SBFolderView::m_titleTextField>("titleTextField")
        .getter<&SBFolderView::m_isEditing>("isEditing")
        .method("setEditing:animated:", imp::setEditingAnimated)
        .method("setOrientation:", imp::setOrientation)
        .method("_scrollOffsetForFirstListView", imp::scrollOffsetForFirstListView)
        .method("currentPageIndex", imp::currentPageIndex)
        .onGenerations(iOS9)
        .method("resetIconListViews", imp::resetIconListViews)
        .onGenerations(iOS9)
        .method("scrollViewDidScroll:", imp::scrollViewDidScroll)
        .method("scrollViewWillBeginDragging:", imp::scrollViewWillBeginDragging)
        .method("scrollViewDidEndDecelerating:", imp::scrollViewDidEndDecelerating)
        .getter<&SBFolderView::m_isScrolling>("isScrolling")
        .method("layoutSubviews", imp::layoutSubviews)
        .registerClass();
}

} // namespace sim
