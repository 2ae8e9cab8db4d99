#include "springboard/switcher/SBAppSwitcherController.h"

#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/ViewDumpAttributes.h"
#include "springboard/apps/ApplicationsHost.h"
#include "springboard/switcher/SwitcherGenerations.h"
#include "uikit/UIImageView.h"

#include <algorithm>
#include <cstdlib>
#include <nlohmann/json.hpp>

namespace {

// The share of the screen a page takes in the row.
constexpr CGFloat kPageScale = 0.55;

SBDisplayItem *firstItemOf(SBDisplayLayout *layout)
{
    return msg<SBDisplayItem *>(layout->m_displayItems, "firstObject"_sel);
}

StrongRef<SBAppSwitcherPageView> newPage(SBDisplayLayout *layout, CGRect screen)
{
    auto page = sim::newView<SBAppSwitcherPageView>(SBAppSwitcherPageView::class_(), screen);
    page->m_displayLayout = layout;
    SBApplication *application =
        sim::applicationForDisplayIdentifier(firstItemOf(layout)->identifier());
    page->m_view =
        application ? sim::applicationSnapshotView(application) : sim::homeScreenSnapshotView();
    sim::addSubview(page, page->m_view);
    return page;
}

void removePages(SBAppSwitcherController *self)
{
    for (id page : *self->m_pageViews)
        static_cast<UIView *>(page)->removeFromSuperview();
    for (id icon : *self->m_iconController->m_iconViews)
        static_cast<UIView *>(icon)->removeFromSuperview();
    self->m_pageViews = NSMutableArray::array();
    self->m_iconController->m_iconViews = NSMutableArray::array();
}

CGSize screenSize(SBAppSwitcherController *self)
{
    return msg<UIView *>(self, "view"_sel)->bounds().size;
}

// Icons follow the pages; only those the icon controller finds visible show.
void placeIcons(SBAppSwitcherController *self)
{
    SBAppSwitcherIconController *icons = self->m_iconController;
    icons->m_focusedIndex = self->m_focusedIndex;
    CGSize screen = screenSize(self);
    for (NSUInteger index = 0; index < icons->m_iconViews->count(); ++index) {
        auto *icon = static_cast<UIView *>(icons->m_iconViews->objectAtIndex(index));
        msg<void, CGPoint>(icon, "setCenter:"_sel,
                           sim::pageRowIconCentre(index, static_cast<CGFloat>(self->m_focusedIndex),
                                                  screen, self->m_pageScale));
        sim::setHidden(icon, !msg<BOOL, NSUInteger, BOOL>(icons, "_isIndexVisible:withPadding:"_sel,
                                                          index, NO));
    }
}

void addIcon(SBAppSwitcherController *self, SBDisplayLayout *layout)
{
    auto icon = sim::newView<UIImageView>(UIImageView::class_(),
                                          {{0, 0}, {sim::kPageRowIconSide, sim::kPageRowIconSide}});
    msg<void, UIImage *>(
        icon, "setImage:"_sel,
        sim::switcherIconImage(firstItemOf(layout)->identifier(), sim::kPageRowIconSide));
    sim::addSubview(msg<UIView *>(self, "view"_sel), icon);
    self->m_iconController->m_iconViews->addObject(icon.get());
}

namespace imp {

void layout(SBAppSwitcherController *self, SEL)
{
    removePages(self);
    UIView *view = msg<UIView *>(self, "view"_sel);
    for (id object : *self->m_appList) {
        auto *displayLayout = static_cast<SBDisplayLayout *>(object);
        StrongRef<SBAppSwitcherPageView> page = newPage(displayLayout, view->bounds());
        sim::addSubview(view, page);
        self->m_pageViews->addObject(page.get());
        addIcon(self, displayLayout);
    }
    NSUInteger count = self->m_pageViews->count();
    if (count && self->m_focusedIndex >= count)
        self->m_focusedIndex = count - 1;
    msg<void, CGFloat, CGFloat>(self, "_updatePageViewScale:xTranslation:"_sel, kPageScale, 0.0);
    self->m_fullscreenScale = msg<CGFloat>(self, "_scaleForFullscreenPageView"_sel);
}

CGFloat scaleForFullscreenPageView(SBAppSwitcherController *, SEL)
{
    return 1 / kPageScale;
}

void updatePageViewScale(SBAppSwitcherController *self, SEL, CGFloat scale, CGFloat xTranslation)
{
    self->m_pageScale = scale;
    CGSize screen = screenSize(self);
    for (NSUInteger index = 0; index < self->m_pageViews->count(); ++index) {
        SBAppSwitcherPageView *page = self->pageAt(index);
        CGPoint centre =
            sim::pageRowCentre(index, static_cast<CGFloat>(self->m_focusedIndex), screen, scale);
        msg<void, CGPoint>(page, "setCenter:"_sel, {centre.x + xTranslation, centre.y});
        page->m_scale = scale;
        sim::setScale(page, scale);
    }
    placeIcons(self);
}

BOOL isDisplayItemRemovable(SBAppSwitcherController *, SEL, id, SBDisplayItem *item)
{
    return item && item->identifier() != sim::kHomeScreenDisplayIdentifier;
}

void displayItemWantsToBeRemoved(SBAppSwitcherController *self, SEL, id, SBDisplayItem *item)
{
    if (!item)
        return;
    for (id object : *NSArray::arrayWithArray(self->m_appList))
        if (firstItemOf(static_cast<SBDisplayLayout *>(object))->identifier() == item->identifier())
            msg<void, id>(self->m_appList, "removeObject:"_sel, object);
    if (SBApplication *application = sim::applicationForDisplayIdentifier(item->identifier())) {
        sim::endApplication(application);
        SBApplicationController::shared()->forget(application);
    }
    msg<void>(self, "_layout"_sel);
}

BOOL isIndexVisible(SBAppSwitcherIconController *self, SEL, NSUInteger index, BOOL padding)
{
    auto distance = std::labs(static_cast<long>(index) - static_cast<long>(self->m_focusedIndex));
    return distance <= (padding ? 2 : 1);
}

} // namespace imp

// --- The generation's gestures ---

namespace gestures {

SBAppSwitcherController *asSwitcher(NSObject *controller)
{
    return static_cast<SBAppSwitcherController *>(controller);
}

NSObject *create()
{
    auto *controller = sim::create<SBAppSwitcherController>(SBAppSwitcherController::class_());
    controller->m_appList = NSMutableArray::array();
    controller->m_pageViews = NSMutableArray::array();
    controller->m_iconController = StrongRef<SBAppSwitcherIconController>::adopt(
        sim::create<SBAppSwitcherIconController>(SBAppSwitcherIconController::class_()));
    controller->m_iconController->m_iconViews = NSMutableArray::array();
    return controller;
}

SBDisplayLayout *layoutFor(const std::string &identifier)
{
    return SBDisplayLayout::layoutWithItems(
        NSArray::arrayWithObjects({SBDisplayItem::itemWithIdentifier(identifier)}));
}

void present(NSObject *controller)
{
    SBAppSwitcherController *self = asSwitcher(controller);
    self->m_window = sim::newSwitcherWindow();
    UIView *view = msg<UIView *>(self, "view"_sel);
    sim::setFrame(view, self->m_window->bounds());
    sim::addSubview(view, sim::newSwitcherBackdrop(view->bounds()));
    sim::addSubview(self->m_window, view);
    self->m_appList = NSMutableArray::array();
    msg<void, id>(self->m_appList, "addObject:"_sel, layoutFor(sim::kHomeScreenDisplayIdentifier));
    for (SBApplication *application : SBApplicationController::shared()->recentApplications())
        msg<void, id>(self->m_appList, "addObject:"_sel,
                      layoutFor(application->bundleIdentifier()));
    self->m_focusedIndex = msg<NSUInteger>(self->m_appList, "count"_sel) > 1 ? 1 : 0;
    msg<void>(self, "_layout"_sel);
    msg<void>(self->m_window, "layoutIfNeeded"_sel);
}

void dismiss(NSObject *controller)
{
    SBAppSwitcherController *self = asSwitcher(controller);
    removePages(self);
    sim::closeSwitcherWindow(self, self->m_window);
}

bool isPresented(NSObject *controller)
{
    return asSwitcher(controller)->m_window;
}

NSUInteger count(NSObject *controller)
{
    return asSwitcher(controller)->m_pageViews->count();
}

std::string identifierAt(NSObject *controller, NSUInteger index)
{
    return firstItemOf(asSwitcher(controller)->pageAt(index)->m_displayLayout)->identifier();
}

// The page grows to the full screen as the switcher gives way to it.
void tap(NSObject *controller, NSUInteger index)
{
    SBAppSwitcherController *self = asSwitcher(controller);
    sim::setScale(self->pageAt(index), self->m_pageScale * self->m_fullscreenScale);
    sim::switchToDisplayIdentifier(identifierAt(controller, index));
}

bool swipeUp(NSObject *controller, NSUInteger index)
{
    SBAppSwitcherController *self = asSwitcher(controller);
    SBAppSwitcherPageView *page = self->pageAt(index);
    StrongRef<SBDisplayItem> item = firstItemOf(page->m_displayLayout);
    if (!msg<BOOL, id, SBDisplayItem *>(self, "switcherScroller:isDisplayItemRemovable:"_sel, page,
                                        item))
        return false;
    msg<void, id, SBDisplayItem *>(self, "switcherScroller:displayItemWantsToBeRemoved:"_sel, page,
                                   item);
    return true;
}

void scroll(NSObject *controller, NSUInteger index)
{
    SBAppSwitcherController *self = asSwitcher(controller);
    NSUInteger count = self->m_pageViews->count();
    self->m_focusedIndex = count ? std::min(index, count - 1) : 0;
    msg<void, CGFloat, CGFloat>(self, "_updatePageViewScale:xTranslation:"_sel, self->m_pageScale,
                                0.0);
}

nlohmann::json visibleIcons(SBAppSwitcherController *self)
{
    nlohmann::json visible = nlohmann::json::array();
    NSMutableArray *icons = self->m_iconController->m_iconViews;
    for (NSUInteger index = 0; index < icons->count(); ++index)
        if (!static_cast<UIView *>(icons->objectAtIndex(index))->isHidden())
            visible.push_back(index);
    return visible;
}

nlohmann::json dump(NSObject *controller)
{
    SBAppSwitcherController *self = asSwitcher(controller);
    nlohmann::json pages = nlohmann::json::array();
    for (NSUInteger index = 0; index < self->m_pageViews->count(); ++index)
        pages.push_back(identifierAt(controller, index));
    return {{"pages", pages},
            {"focused", self->m_focusedIndex},
            {"pageScale", self->m_pageScale},
            {"fullscreenScale", self->m_fullscreenScale},
            {"visibleIcons", visibleIcons(self)}};
}

} // namespace gestures

void addPageAttributes(UIView *view, nlohmann::json &node)
{
    auto *page = static_cast<SBAppSwitcherPageView *>(view);
    if (page->m_displayLayout)
        node["displayIdentifier"] = firstItemOf(page->m_displayLayout)->identifier();
    node["scale"] = page->m_scale;
}

} // namespace

Class SBAppSwitcherPageView::class_()
{
    return objc_getClass("SBAppSwitcherPageView");
}

Class SBAppSwitcherIconController::class_()
{
    return objc_getClass("SBAppSwitcherIconController");
}

Class SBAppSwitcherController::class_()
{
    return objc_getClass("SBAppSwitcherController");
}

SBAppSwitcherPageView *SBAppSwitcherController::pageAt(NSUInteger index) const
{
    return static_cast<SBAppSwitcherPageView *>(m_pageViews->objectAtIndex(index));
}

namespace sim {

const SwitcherGeneration &appSwitcherGeneration()
{
    static const SwitcherGeneration kSwitcher = {
        gestures::create, gestures::present,      gestures::dismiss, gestures::isPresented,
        gestures::count,  gestures::identifierAt, gestures::tap,     gestures::swipeUp,
        gestures::scroll, gestures::dump};
    return kSwitcher;
}

void registerAppSwitcherClasses()
{
    HostClass<SBAppSwitcherPageView>("SBAppSwitcherPageView", "UIView")
        .onGenerations(iOS8)
        .ivar("_view", &SBAppSwitcherPageView::m_view)
        .registerClass();

    HostClass<SBAppSwitcherIconController>("SBAppSwitcherIconController", "NSObject")
        .onGenerations(iOS8)
        .method("_isIndexVisible:withPadding:", imp::isIndexVisible)
        .registerClass();

    HostClass<SBAppSwitcherController>("SBAppSwitcherController", "UIViewController")
        .onGenerations(iOS8)
        .ivar("_appList_use_block_accessor", &SBAppSwitcherController::m_appList)
        .method("_layout", imp::layout)
        .method("_scaleForFullscreenPageView", imp::scaleForFullscreenPageView)
        .method("_updatePageViewScale:xTranslation:", imp::updatePageViewScale)
        .method("switcherScroller:isDisplayItemRemovable:", imp::isDisplayItemRemovable)
        .method("switcherScroller:displayItemWantsToBeRemoved:", imp::displayItemWantsToBeRemoved)
        .registerClass();
    addViewDumpAttributes("SBAppSwitcherPageView", addPageAttributes);
}

} // namespace sim
