#include "springboard/SBFloatyFolderView.h"

#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/IconListKinds.h"
#include "springboard/home-screen/SBFolderBackgroundView.h"
#include "uikit/UIFont.h"
#include "uikit/UIGestureRecognizer.h"
#include "uikit/UITapGestureRecognizer.h"

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
    self->m_panelView = sim::newView(SBFolderBackgroundView::class_(), CGRectZero);
    sim::addSubview(self, self->m_panelView);
    sim::addSubview(self->m_panelView, self->m_scrollView);
    self->m_titleTextField = sim::newView<UITextField>(UITextField::class_(), CGRectZero);
    sim::addSubview(self, self->m_titleTextField);
    msg<void>(self, "_configureGestures"_sel);
    return self;
}

// A tap beside the panel closes the folder. Gestures are configured again whenever the
// folder turns with the device; the tap is made afresh each time.
void configureGestures(SBFloatyFolderView *self, SEL)
{
    if (self->m_outsideTap)
        msg<void, id>(self, "removeGestureRecognizer:"_sel, self->m_outsideTap.get());
    self->m_outsideTap = StrongRef<NSObject>::adopt(static_cast<NSObject *>(
        msg<id, id, SEL>(msg<id>(UITapGestureRecognizer::class_(), "alloc"_sel),
                         "initWithTarget:action:"_sel, self, "_handleOutsideTap:"_sel)));
    msg<void, id>(self, "addGestureRecognizer:"_sel, self->m_outsideTap.get());
}

void closeFolder()
{
    id controller = msg<id>(objc_getClass("SBIconController"), "sharedInstance"_sel);
    msg<void, BOOL>(controller, "closeFolderAnimated:"_sel, YES);
}

void handleOutsideTap(SBFloatyFolderView *self, SEL, UIGestureRecognizer *tap)
{
    CGPoint point = msg<CGPoint, UIView *>(tap, "locationInView:"_sel, self);
    if (!CGRectContainsPoint(self->m_panelView->frame(), point))
        closeFolder();
}

// Pinching the folder in (a scale below 1 when the fingers lift) closes it.
void handlePinchGesture(SBFloatyFolderView *, SEL, UIGestureRecognizer *pinch)
{
    if (msg<NSInteger>(pinch, "state"_sel) == UIGestureRecognizerStateEnded &&
        msg<CGFloat>(pinch, "scale"_sel) < 1)
        closeFolder();
}

void setOrientation(SBFloatyFolderView *self, SEL _cmd, NSInteger orientation)
{
    msgSuper<void, NSInteger>(SBFloatyFolderView::class_(), self, _cmd, orientation);
    msg<void>(self, "_configureGestures"_sel);
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
        .method("setOrientation:", imp::setOrientation)
        .method("_configureGestures", imp::configureGestures)
        .method("_handleOutsideTap:", imp::handleOutsideTap)
        .method("_handlePinchGesture:", imp::handlePinchGesture)
        .registerClass();
}

} // namespace sim
