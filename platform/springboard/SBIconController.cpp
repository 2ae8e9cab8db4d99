#include "springboard/SBIconController.h"

#include "springboard/CrossfadeViews.h"
#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/SBFloatyFolderView.h"
#include "springboard/SBFolderIconView.h"
#include "springboard/SpringBoardState.h"
#include "springboard/StockLayout.h"
#include "springboard/backlight/Backlight.h"
#include "springboard/home-screen/Newsstand.h"
#include "springboard/home-screen/SBIconModel.h"
#include "uikit/UIApplication.h"

#include <algorithm>

namespace {

using sim::SpringBoardMetrics;
using FolderCompletion = std::function<void()>;

SBFolderIconView *folderIconViewFor(SBIconController *self, SBFolder *folder)
{
    for (SBIcon *icon : self->folderIcons())
        if (static_cast<SBFolderIcon *>(icon)->m_folder.get() == folder)
            return static_cast<SBFolderIconView *>(
                self->m_iconViewMap->mappedIconViewForIcon(icon));
    return nil;
}

// Where open folders appear: over the home screen, in its window.
UIView *folderContainer(SBIconController *self)
{
    SBRootFolderView *root = self->rootFolderView();
    return root->superview() ? root->superview() : root;
}

void presentFolder(SBIconController *self, SBFolder *folder, bool animated, FolderCompletion done)
{
    auto orientation = UIApplication::sharedApplication()->statusBarOrientation();
    auto view = StrongRef<SBFloatyFolderView>::adopt(
        SBFloatyFolderView::create(folder, self->m_iconViewMap, orientation));
    self->m_openFolderController = StrongRef<SBFolderController>::adopt(
        SBFolderController::create(SBFolderController::class_(), folder, view));
    msg<void, BOOL, BOOL>(view, "setEditing:animated:"_sel, self->m_isEditing, NO);
    UIView *container = folderContainer(self);
    sim::addSubview(container, view);
    SBFolderIconView *iconView = folderIconViewFor(self, folder);
    if (!animated || !iconView) {
        msg<void, CGFloat>(iconView, "setFloatyFolderCrossfadeFraction:"_sel, 1);
        return done();
    }
    // The folder grows out of its icon: the icon's grid fades while a picture of it
    // becomes the open panel.
    auto imageCrossfade = StrongRef<SBIconImageCrossfadeView>::adopt(
        sim::createIconImageCrossfade(iconView, iconView->m_iconImageView));
    auto zoom = StrongRef<SBZoomableCrossfadeView>::adopt(
        sim::createZoomableCrossfade(container, iconView->m_iconImageView, view->m_panelView));
    msg<void, CGFloat>(iconView, "setFloatyFolderCrossfadeFraction:"_sel, 1);
    sim::setAlpha(view, 0);
    msg<void, NSTimeInterval, std::function<void()>>(
        UIView::class_(), "animateWithDuration:animations:"_sel,
        sim::springBoardAnimationDuration(sim::kFolderCrossfadeDuration),
        [imageCrossfade] { sim::setAlpha(imageCrossfade, 0); });
    msg<void, std::function<void(BOOL)>>(
        zoom, "crossfadeWithCompletion:"_sel, [zoom, imageCrossfade, view, done](BOOL) {
            msg<void>(zoom.get(), "removeFromSuperview"_sel);
            msg<void>(imageCrossfade.get(), "removeFromSuperview"_sel);
            sim::setAlpha(view, 1);
            done();
        });
}

void dismissFolder(SBIconController *self, bool animated, FolderCompletion done)
{
    StrongRef<SBFolderController> controller = self->m_openFolderController;
    self->m_openFolderController = nullptr;
    auto *view = static_cast<SBFloatyFolderView *>(controller->m_contentView.get());
    SBFolderIconView *iconView = folderIconViewFor(self, controller->m_folder);
    auto finish = [view = StrongRef<SBFloatyFolderView>(view),
                   iconView = StrongRef<SBFolderIconView>(iconView), done] {
        msg<void>(view.get(), "removeFromSuperview"_sel);
        msg<void, CGFloat>(iconView.get(), "setFloatyFolderCrossfadeFraction:"_sel, 0);
        done();
    };
    if (!animated || !iconView)
        return finish();
    auto zoom = StrongRef<SBZoomableCrossfadeView>::adopt(sim::createZoomableCrossfade(
        folderContainer(self), view->m_panelView, iconView->m_iconImageView));
    sim::setAlpha(view, 0);
    msg<void, std::function<void(BOOL)>>(zoom, "crossfadeWithCompletion:"_sel,
                                         [zoom, finish](BOOL) {
                                             msg<void>(zoom.get(), "removeFromSuperview"_sel);
                                             finish();
                                         });
}

namespace imp {

SBIconController *sharedInstance(id, SEL)
{
    return static_cast<SBIconController *>(sim::springBoardState().iconController.get());
}

void setIsEditing(SBIconController *self, SEL, BOOL editing)
{
    self->m_isEditing = editing;
    msg<void, BOOL, BOOL>(self->rootFolderView(), "setEditing:animated:"_sel, editing, YES);
    if (self->m_openFolderController)
        msg<void, BOOL, BOOL>(self->m_openFolderController->m_contentView,
                              "setEditing:animated:"_sel, editing, YES);
}

void scrollToIconListAtIndexAnimate(SBIconController *self, SEL, NSInteger index, BOOL animate)
{
    SBRootFolderView *root = self->rootFolderView();
    auto last = static_cast<NSInteger>(root->m_iconListViews->count()) - 1;
    CGPoint offset =
        root->offsetForIconList(std::clamp<NSInteger>(index, 0, std::max<NSInteger>(last, 0)));
    msg<void, CGPoint, BOOL>(root->m_scrollView, "setContentOffset:animated:"_sel, offset, animate);
}

// Every list lays its icons out again, as its class and measures say now, and every icon
// view draws its image, badge and updated mark afresh.
void relayout(SBIconController *self, SEL)
{
    SBRootFolderView *root = self->rootFolderView();
    msg<void>(root, "setNeedsLayout"_sel);
    msg<void>(root, "layoutIfNeeded"_sel);
    for (SBIconListView *list : self->allIconLists()) {
        msg<void, NSTimeInterval, BOOL>(list, "layoutIconsIfNeeded:domino:"_sel, 0, NO);
        for (id icon : *list->m_icons) {
            id view = msg<id>(self->m_iconViewMap.get(), "mappedIconViewForIcon:"_sel, icon);
            msg<void>(view, "_updateIconImageView"_sel);
            msg<void>(view, "_updateBadge"_sel);
            msg<void>(view, "_updateUpdatedMark"_sel);
        }
    }
}

SBIconModel *model(SBIconController *, SEL)
{
    return SBIconModel::shared();
}

BOOL iconViewDisplaysBadges(SBIconController *, SEL, id)
{
    return YES;
}

// An application may go into a folder; a folder may not.
BOOL iconCanReceiveGrabbedIcon(SBIconController *, SEL, SBIcon *icon, SBIcon *grabbed)
{
    return msg<BOOL>(icon, "isFolderIcon"_sel) && !msg<BOOL>(grabbed, "isFolderIcon"_sel);
}

BOOL hasOpenFolder(SBIconController *self, SEL)
{
    return self->m_openFolderController;
}

SBFolder *openFolder(SBIconController *self, SEL)
{
    return self->m_openFolderController ? self->m_openFolderController->m_folder.get() : nil;
}

void animateFolderOpenAnimatedWithCompletion(SBIconController *self, SEL, SBFolder *folder,
                                             BOOL open, BOOL animated,
                                             std::function<void()> completion)
{
    FolderCompletion done = completion ? std::move(completion) : [] {};
    if (open && folder && !self->m_openFolderController)
        return presentFolder(self, folder, animated, std::move(done));
    if (!open && self->m_openFolderController)
        return dismissFolder(self, animated, std::move(done));
    done();
}

void openFolderAnimated(SBIconController *self, SEL, SBFolder *folder, BOOL animated)
{
    msg<void, SBFolder *, BOOL, BOOL, std::function<void()>>(
        self, "_animateFolder:open:animated:withCompletion:"_sel, folder, YES, animated, {});
}

void closeFolderAnimated(SBIconController *self, SEL, BOOL animated)
{
    msg<void, SBFolder *, BOOL, BOOL, std::function<void()>>(
        self, "_animateFolder:open:animated:withCompletion:"_sel, openFolder(self, nil), NO,
        animated, {});
}

BOOL isNewsstandSupported(SBIconController *, SEL)
{
    return sim::currentGeneration() != sim::iOS9;
}

} // namespace imp

} // namespace

Class SBIconController::class_()
{
    return objc_getClass("SBIconController");
}

SBIconController *SBIconController::create()
{
    auto *controller = sim::create<SBIconController>(class_());
    controller->m_iconViewMap = StrongRef<SBIconViewMap>::adopt(SBIconViewMap::create());
    NSInteger orientation = UIApplication::sharedApplication()->statusBarOrientation();
    Class pageClass = SBRootIconListView::class_();
    NSUInteger perPage =
        msg<NSUInteger, NSInteger>(pageClass, "iconColumnsForInterfaceOrientation:"_sel,
                                   orientation) *
        msg<NSUInteger, NSInteger>(pageClass, "iconRowsForInterfaceOrientation:"_sel, orientation);
    sim::StockLayout layout =
        sim::makeStockLayout(sim::DeviceProfile::current()->installedApplications, perPage,
                             sim::placeNewsstand(controller));

    CGRect interface = {{0, 0}, SpringBoardMetrics::interfaceSize(orientation)};
    auto root = sim::newView<SBRootFolderView>(SBRootFolderView::class_(), interface);
    root->m_orientation = orientation;
    CGRect pageBounds = {{0, 0}, SpringBoardMetrics::pageFrame(orientation).size};
    NSMutableArray *pages = NSMutableArray::array();
    for (NSArray *icons : layout.pages)
        pages->addObject(StrongRef<SBIconListView>::adopt(
            SBIconListView::create(pageClass, pageBounds, controller->m_iconViewMap, icons)));
    CGRect dockBounds = {{0, 0}, SpringBoardMetrics::dockFrame(orientation).size};
    auto dock = StrongRef<SBIconListView>::adopt(SBIconListView::create(
        SBDockIconListView::class_(), dockBounds, controller->m_iconViewMap, layout.dockIcons));
    root->installDock(dock);
    root->addIconListViews(pages);
    msg<void, NSInteger>(root, "setOrientation:"_sel, orientation);
    controller->m_rootFolderController = StrongRef<SBFolderController>::adopt(
        SBFolderController::create(SBRootFolderController::class_(), nil, root));
    msg<void>(root, "layoutIfNeeded"_sel);
    msg<void, CGPoint>(root->m_scrollView, "setContentOffset:"_sel, root->offsetForIconList(0));
    return controller;
}

SBRootFolderView *SBIconController::rootFolderView() const
{
    return static_cast<SBRootFolderView *>(m_rootFolderController->m_contentView.get());
}

std::vector<SBIconListView *> SBIconController::allIconLists() const
{
    std::vector<SBIconListView *> lists;
    SBRootFolderView *root = rootFolderView();
    for (id list : *root->m_iconListViews)
        lists.push_back(static_cast<SBIconListView *>(list));
    if (root->m_dockView)
        lists.push_back(root->m_dockView->m_dockListView);
    if (m_openFolderController)
        for (id list : *m_openFolderController->m_contentView->m_iconListViews)
            lists.push_back(static_cast<SBIconListView *>(list));
    return lists;
}

std::vector<SBIcon *> SBIconController::folderIcons() const
{
    std::vector<SBIcon *> icons;
    for (id list : *rootFolderView()->m_iconListViews)
        for (id icon : *static_cast<SBIconListView *>(list)->m_icons)
            if (msg<BOOL>(icon, "isFolderIcon"_sel))
                icons.push_back(static_cast<SBIcon *>(icon));
    return icons;
}

void SBIconController::rotate(NSInteger orientation, double duration)
{
    CGRect interface = {{0, 0}, SpringBoardMetrics::interfaceSize(orientation)};
    std::vector<SBFolderView *> views = {rootFolderView()};
    if (m_openFolderController)
        views.push_back(m_openFolderController->m_contentView);
    for (SBFolderView *view : views) {
        sim::setFrame(view, interface);
        msg<void, NSInteger>(view, "setOrientation:"_sel, orientation);
        msg<void>(view, "layoutIfNeeded"_sel);
    }
    for (SBIconListView *list : allIconLists())
        msg<void, NSTimeInterval, BOOL>(list, "layoutIconsIfNeeded:domino:"_sel, duration, NO);
}

namespace sim {

void registerIconControllerClass()
{
    HostClass<SBIconController>("SBIconController", "NSObject")
        .ivar("_rootFolderController", &SBIconController::m_rootFolderController)
        .ivar("_openFolderController", &SBIconController::m_openFolderController)
        .classMethod("sharedInstance", imp::sharedInstance)
        .getter<&SBIconController::m_rootFolderController>("_rootFolderController")
        .getter<&SBIconController::m_iconViewMap>("homescreenIconViewMap")
        .onGenerations(iOS9)
        .getter<&SBIconController::m_isEditing>("isEditing")
        .method("setIsEditing:", imp::setIsEditing)
        .method("scrollToIconListAtIndex:animate:", imp::scrollToIconListAtIndexAnimate)
        .method("relayout", imp::relayout)
        .method("model", imp::model)
        .method("iconViewDisplaysBadges:", imp::iconViewDisplaysBadges)
        .method("isNewsstandSupported", imp::isNewsstandSupported)
        .method("icon:canReceiveGrabbedIcon:", imp::iconCanReceiveGrabbedIcon)
        .method("hasOpenFolder", imp::hasOpenFolder)
        .method("openFolder", imp::openFolder)
        .method("openFolder:animated:", imp::openFolderAnimated)
        .method("closeFolderAnimated:", imp::closeFolderAnimated)
        .method("_animateFolder:open:animated:withCompletion:",
                imp::animateFolderOpenAnimatedWithCompletion)
        .registerClass();
}

} // namespace sim
