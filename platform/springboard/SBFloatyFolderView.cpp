#include "springboard/SBFloatyFolderView.h"

#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/IconListKinds.h"
#include "uikit/UIFont.h"

#include <algorithm>

namespace {

using sim::SpringBoardMetrics;

constexpr CGFloat kTitleHeight = 44;

// The folder's icons, as many to a page as a folder list holds.
NSArray *pagesOfIcons(NSArray *icons, NSInteger orientation)
{
    Class listClass = SBFolderIconListView::class_();
    NSUInteger perPage =
        msg<NSUInteger, NSInteger>(listClass, "iconColumnsForInterfaceOrientation:"_sel,
                                   orientation) *
        msg<NSUInteger, NSInteger>(listClass, "iconRowsForInterfaceOrientation:"_sel, orientation);
    perPage = std::max<NSUInteger>(perPage, 1);
    NSMutableArray *pages = NSMutableArray::array();
    for (NSUInteger start = 0; start < icons->count(); start += perPage) {
        NSMutableArray *page = NSMutableArray::array();
        for (NSUInteger i = start; i < std::min(start + perPage, icons->count()); ++i)
            page->addObject(icons->objectAtIndex(i));
        pages->addObject(page);
    }
    return pages;
}

namespace imp {

id initWithFrame(SBFloatyFolderView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(SBFloatyFolderView::class_(), self, _cmd, frame))
        return nil;
    msg<void, UIColor *>(self, "setBackgroundColor:"_sel, UIColor::colorWithWhiteAlpha(0, 0.3));
    self->m_panelView = sim::newView(UIView::class_(), CGRectZero);
    msg<void, UIColor *>(self->m_panelView, "setBackgroundColor:"_sel,
                         UIColor::colorWithWhiteAlpha(1, 0.3));
    self->m_panelView->layer()->setCornerRadius(36);
    sim::addSubview(self, self->m_panelView);
    sim::addSubview(self->m_panelView, self->m_scrollView);
    self->m_titleTextField = sim::newView<UITextField>(UITextField::class_(), CGRectZero);
    sim::addSubview(self, self->m_titleTextField);
    return self;
}

SBFolder *folder(SBFloatyFolderView *self, SEL)
{
    return self->m_folder;
}

// The panel is centred, the title above it; the pages fill the panel.
void layoutSubviews(SBFloatyFolderView *self, SEL _cmd)
{
    CGRect bounds = self->bounds();
    CGFloat side = SpringBoardMetrics::folderPanelSide();
    CGRect panel = {{(bounds.size.width - side) / 2, (bounds.size.height - side) / 2},
                    {side, side}};
    sim::setFrame(self->m_panelView, panel);
    sim::setFrame(self->m_titleTextField,
                  {{panel.origin.x, panel.origin.y - kTitleHeight}, {side, kTitleHeight}});
    sim::setFrame(self->m_scrollView, {{0, 0}, {side, side}});
    msgSuper<void>(SBFloatyFolderView::class_(), self, _cmd);
}

} // namespace imp

} // namespace

Class SBFloatyFolderView::class_()
{
    return objc_getClass("SBFloatyFolderView");
}

SBFloatyFolderView *SBFloatyFolderView::create(SBFolder *folder, SBIconViewMap *map,
                                               NSInteger orientation)
{
    CGRect frame = {{0, 0}, SpringBoardMetrics::interfaceSize(orientation)};
    SBFloatyFolderView *view = sim::newView<SBFloatyFolderView>(class_(), frame).leak();
    view->m_folder = folder;
    view->m_orientation = orientation;
    msg<void, NSString *>(view->m_titleTextField, "setText:"_sel,
                          msg<NSString *>(folder, "displayName"_sel));
    NSMutableArray *lists = NSMutableArray::array();
    CGFloat side = SpringBoardMetrics::folderPanelSide();
    for (id page : *pagesOfIcons(msg<NSArray *>(folder, "icons"_sel), orientation)) {
        auto list = StrongRef<SBIconListView>::adopt(
            SBIconListView::create(SBFolderIconListView::class_(), {{0, 0}, {side, side}}, map,
                                   static_cast<NSArray *>(page)));
        lists->addObject(list);
    }
    view->addIconListViews(lists);
    msg<void>(view, "layoutIfNeeded"_sel);
    return view;
}

namespace sim {

void registerFloatyFolderViewClass()
{
    HostClass<SBFloatyFolderView>("SBFloatyFolderView", "SBFolderView")
        .ivar("_folder", &SBFloatyFolderView::m_folder)
        .method("initWithFrame:", imp::initWithFrame)
        .method("folder", imp::folder)
        .method("layoutSubviews", imp::layoutSubviews)
        .registerClass();
}

} // namespace sim
