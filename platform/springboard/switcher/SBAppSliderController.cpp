#include "springboard/switcher/SBAppSliderController.h"

#include "foundation/NSLog.h"
#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/ViewDumpAttributes.h"
#include "springboard/apps/ApplicationsHost.h"
#include "springboard/switcher/SwitcherGenerations.h"
#include "uikit/UIImageView.h"

#include <cstdlib>
#include <nlohmann/json.hpp>

namespace {

// The share of the screen a page takes in the slider.
constexpr CGFloat kPageScale = 0.55;

using OffsetCompletion = std::function<void()>;

CGSize screenSize(SBAppSliderScrollingViewController *scroller)
{
    return scroller->m_delegate ? msg<UIView *>(scroller->m_delegate, "view"_sel)->bounds().size
                                : CGSizeZero;
}

// Items lie in a row about the offset item; icons beneath the pages, those the icon
// controller finds out of sight hidden.
void placeItems(SBAppSliderScrollingViewController *self)
{
    CGSize screen = screenSize(self);
    auto offset = static_cast<CGFloat>(self->m_offsetIndex);
    NSUInteger count = msg<NSUInteger>(self->m_items, "count"_sel);
    for (NSUInteger index = 0; index < count; ++index) {
        auto *item = msg<UIView *, NSUInteger>(self->m_items, "objectAtIndex:"_sel, index);
        if (self->m_showsIcons) {
            msg<void, CGPoint>(item, "setCenter:"_sel,
                               sim::pageRowIconCentre(index, offset, screen, self->m_itemScale));
            sim::setHidden(item, !msg<BOOL, NSUInteger, BOOL>(
                                     self, "_isIndexVisible:withPadding:"_sel, index, NO));
        } else {
            msg<void, CGPoint>(item, "setCenter:"_sel,
                               sim::pageRowCentre(index, offset, screen, self->m_itemScale));
            sim::setScale(item, self->m_itemScale);
        }
    }
}

void clearItems(SBAppSliderScrollingViewController *scroller)
{
    for (id item : *scroller->m_items)
        static_cast<UIView *>(item)->removeFromSuperview();
    scroller->m_items = NSMutableArray::array();
    scroller->m_itemIdentifiers.clear();
}

StrongRef<UIView> newPageItem(const std::string &identifier, CGRect screen)
{
    SBApplication *application = sim::applicationForDisplayIdentifier(identifier);
    UIView *snapshot =
        application ? sim::applicationSnapshotView(application) : sim::homeScreenSnapshotView();
    if (snapshot)
        sim::setFrame(snapshot, screen);
    return snapshot;
}

StrongRef<UIView> newIconItem(const std::string &identifier)
{
    auto icon = sim::newView<UIImageView>(UIImageView::class_(),
                                          {{0, 0}, {sim::kPageRowIconSide, sim::kPageRowIconSide}});
    msg<void, UIImage *>(icon, "setImage:"_sel,
                         sim::switcherIconImage(identifier, sim::kPageRowIconSide));
    return StrongRef<UIView>(icon.get());
}

void addItem(SBAppSliderScrollingViewController *scroller, const std::string &identifier,
             UIView *item)
{
    if (!item)
        return;
    sim::addSubview(msg<UIView *>(scroller->m_delegate, "view"_sel), item);
    msg<void, id>(scroller->m_items, "addObject:"_sel, item);
    scroller->m_itemIdentifiers.push_back(identifier);
}

// The scrollers build their items from the app list as _layout left it.
void reloadItems(SBAppSliderController *self)
{
    std::vector<std::string> identifiers;
    if (self->m_showsHomePage)
        identifiers.push_back(sim::kHomeScreenDisplayIdentifier);
    msg<void>(self, "_beginAppListAccess"_sel);
    for (id identifier : *self->m_appList)
        identifiers.push_back(static_cast<NSString *>(identifier)->str());
    msg<void>(self, "_endAppListAccess"_sel);

    CGRect screen = msg<UIView *>(self, "view"_sel)->bounds();
    clearItems(self->m_pageController);
    clearItems(self->m_iconController);
    for (const std::string &identifier : identifiers) {
        addItem(self->m_pageController, identifier, newPageItem(identifier, screen));
        addItem(self->m_iconController, identifier, newIconItem(identifier));
    }
    msg<void, CGFloat, CGFloat>(self, "_updatePageViewScale:xTranslation:"_sel, kPageScale, 0.0);
}

void scrollBoth(SBAppSliderController *self, NSInteger index)
{
    for (SBAppSliderScrollingViewController *scroller :
         {self->m_pageController.get(),
          static_cast<SBAppSliderScrollingViewController *>(self->m_iconController.get())})
        msg<void, NSInteger, BOOL, OffsetCompletion>(
            scroller, "setOffsetToIndex:animated:completion:"_sel, index, NO, OffsetCompletion{});
}

namespace imp {

void setOffsetToIndex(SBAppSliderScrollingViewController *self, SEL, NSInteger index, BOOL,
                      OffsetCompletion completion)
{
    self->m_offsetIndex = index;
    placeItems(self);
    if (completion)
        completion();
}

BOOL isIndexVisible(SBAppSliderIconController *self, SEL, NSUInteger index, BOOL padding)
{
    return std::labs(static_cast<long>(index) - static_cast<long>(self->m_offsetIndex)) <=
           (padding ? 2 : 1);
}

void beginAppListAccess(SBAppSliderController *self, SEL)
{
    ++self->m_appListAccessDepth;
}

void endAppListAccess(SBAppSliderController *self, SEL)
{
    if (self->m_appListAccessDepth > 0)
        --self->m_appListAccessDepth;
    else
        NSLog("SpringBoard: the app list's access ended without a beginning");
}

// The app list from the recently used applications, as the slider appears.
void layout(SBAppSliderController *self, SEL)
{
    msg<void>(self, "_beginAppListAccess"_sel);
    msg<void>(self->m_appList, "removeAllObjects"_sel);
    for (SBApplication *application : SBApplicationController::shared()->recentApplications())
        msg<void, id>(self->m_appList, "addObject:"_sel, application->m_bundleIdentifier);
    msg<void>(self, "_endAppListAccess"_sel);
    self->m_fullscreenScale = msg<CGFloat>(self, "_scaleForFullscreenPageView"_sel);
}

CGFloat scaleForFullscreenPageView(SBAppSliderController *, SEL)
{
    return 1 / kPageScale;
}

void updatePageViewScale(SBAppSliderController *self, SEL, CGFloat scale, CGFloat xTranslation)
{
    self->m_pageController->m_itemScale = scale;
    self->m_iconController->m_itemScale = scale;
    placeItems(self->m_pageController);
    placeItems(self->m_iconController);
    for (id item : *self->m_pageController->m_items) {
        auto *view = static_cast<UIView *>(item);
        CGPoint centre = view->center();
        msg<void, CGPoint>(view, "setCenter:"_sel, {centre.x + xTranslation, centre.y});
    }
}

void itemTapped(SBAppSliderController *, SEL, SBAppSliderScrollingViewController *scroller,
                NSUInteger index)
{
    if (scroller && index < scroller->m_itemIdentifiers.size())
        sim::switchToDisplayIdentifier(scroller->m_itemIdentifiers[index]);
}

BOOL isIndexRemovable(SBAppSliderController *self, SEL, SBAppSliderScrollingViewController *,
                      NSUInteger index)
{
    return !(self->m_showsHomePage && index == 0);
}

void itemWantsToBeRemoved(SBAppSliderController *self, SEL,
                          SBAppSliderScrollingViewController *scroller, NSUInteger index)
{
    if (!scroller || index >= scroller->m_itemIdentifiers.size())
        return;
    std::string identifier = scroller->m_itemIdentifiers[index];
    if (identifier == sim::kHomeScreenDisplayIdentifier) {
        self->m_showsHomePage = false;
    } else if (SBApplication *application = sim::applicationForDisplayIdentifier(identifier)) {
        msg<void>(self, "_beginAppListAccess"_sel);
        msg<void, id>(self->m_appList, "removeObject:"_sel, application->m_bundleIdentifier);
        msg<void>(self, "_endAppListAccess"_sel);
        sim::endApplication(application);
        SBApplicationController::shared()->forget(application);
    }
    NSInteger offset = self->m_pageController->m_offsetIndex;
    reloadItems(self);
    auto count =
        static_cast<NSInteger>(msg<NSUInteger>(self->m_pageController->m_items, "count"_sel));
    scrollBoth(self, std::min(offset, count > 0 ? count - 1 : 0));
}

} // namespace imp

// --- The generation's gestures ---

namespace gestures {

SBAppSliderController *asSlider(NSObject *controller)
{
    return static_cast<SBAppSliderController *>(controller);
}

StrongRef<SBAppSliderScrollingViewController> newScroller(Class cls, SBAppSliderController *owner,
                                                          bool showsIcons)
{
    auto scroller = StrongRef<SBAppSliderScrollingViewController>::adopt(
        sim::create<SBAppSliderScrollingViewController>(cls));
    scroller->m_items = NSMutableArray::array();
    scroller->m_delegate = owner;
    scroller->m_showsIcons = showsIcons;
    return scroller;
}

NSObject *create()
{
    auto *self = sim::create<SBAppSliderController>(SBAppSliderController::class_());
    self->m_appList = NSMutableArray::array();
    self->m_pageController = newScroller(SBAppSliderScrollingViewController::class_(), self, false);
    StrongRef<SBAppSliderScrollingViewController> icons =
        newScroller(SBAppSliderIconController::class_(), self, true);
    self->m_iconController = static_cast<SBAppSliderIconController *>(icons.get());
    return self;
}

void present(NSObject *controller)
{
    SBAppSliderController *self = asSlider(controller);
    self->m_window = sim::newSwitcherWindow();
    UIView *view = msg<UIView *>(self, "view"_sel);
    sim::setFrame(view, self->m_window->bounds());
    sim::addSubview(view, sim::newSwitcherBackdrop(view->bounds()));
    sim::addSubview(self->m_window, view);
    self->m_showsHomePage = true;
    msg<void>(self, "_layout"_sel);
    reloadItems(self);
    scrollBoth(self, msg<NSUInteger>(self->m_pageController->m_items, "count"_sel) > 1 ? 1 : 0);
    msg<void>(self->m_window, "layoutIfNeeded"_sel);
}

void dismiss(NSObject *controller)
{
    SBAppSliderController *self = asSlider(controller);
    clearItems(self->m_pageController);
    clearItems(self->m_iconController);
    sim::closeSwitcherWindow(self, self->m_window);
}

bool isPresented(NSObject *controller)
{
    return asSlider(controller)->m_window;
}

NSUInteger count(NSObject *controller)
{
    return asSlider(controller)->m_pageController->m_items->count();
}

std::string identifierAt(NSObject *controller, NSUInteger index)
{
    return asSlider(controller)->m_pageController->m_itemIdentifiers.at(index);
}

void tap(NSObject *controller, NSUInteger index)
{
    SBAppSliderController *self = asSlider(controller);
    msg<void, SBAppSliderScrollingViewController *, NSUInteger>(
        self, "sliderScroller:itemTapped:"_sel, self->m_pageController, index);
}

bool swipeUp(NSObject *controller, NSUInteger index)
{
    SBAppSliderController *self = asSlider(controller);
    SBAppSliderScrollingViewController *pages = self->m_pageController;
    if (!msg<BOOL, SBAppSliderScrollingViewController *, NSUInteger>(
            self, "sliderScroller:isIndexRemovable:"_sel, pages, index))
        return false;
    msg<void, SBAppSliderScrollingViewController *, NSUInteger>(
        self, "sliderScroller:itemWantsToBeRemoved:"_sel, pages, index);
    return true;
}

// Any index is asked for: the slider itself does not keep the offset within its items.
void scroll(NSObject *controller, NSUInteger index)
{
    scrollBoth(asSlider(controller), static_cast<NSInteger>(index));
}

nlohmann::json visibleIcons(SBAppSliderController *self)
{
    nlohmann::json visible = nlohmann::json::array();
    for (NSUInteger index = 0; index < self->m_iconController->m_items->count(); ++index)
        if (!static_cast<UIView *>(self->m_iconController->m_items->objectAtIndex(index))
                 ->isHidden())
            visible.push_back(index);
    return visible;
}

nlohmann::json dump(NSObject *controller)
{
    SBAppSliderController *self = asSlider(controller);
    nlohmann::json appList = nlohmann::json::array();
    for (id identifier : *self->m_appList)
        appList.push_back(static_cast<NSString *>(identifier)->str());
    return {{"pages", self->m_pageController->m_itemIdentifiers},
            {"appList", appList},
            {"focused", self->m_pageController->m_offsetIndex},
            {"pageScale", self->m_pageController->m_itemScale},
            {"fullscreenScale", self->m_fullscreenScale},
            {"visibleIcons", visibleIcons(self)}};
}

} // namespace gestures

} // namespace

Class SBAppSliderScrollingViewController::class_()
{
    return objc_getClass("SBAppSliderScrollingViewController");
}

Class SBAppSliderIconController::class_()
{
    return objc_getClass("SBAppSliderIconController");
}

Class SBAppSliderController::class_()
{
    return objc_getClass("SBAppSliderController");
}

namespace sim {

const SwitcherGeneration &appSliderGeneration()
{
    static const SwitcherGeneration kSlider = {
        gestures::create, gestures::present,      gestures::dismiss, gestures::isPresented,
        gestures::count,  gestures::identifierAt, gestures::tap,     gestures::swipeUp,
        gestures::scroll, gestures::dump};
    return kSlider;
}

void registerAppSliderClasses()
{
    HostClass<SBAppSliderScrollingViewController>("SBAppSliderScrollingViewController",
                                                  "UIViewController")
        .onGenerations(iOS7)
        .ivar("_items", &SBAppSliderScrollingViewController::m_items)
        .method("setOffsetToIndex:animated:completion:", imp::setOffsetToIndex)
        .registerClass();

    HostClass<SBAppSliderIconController>("SBAppSliderIconController",
                                         "SBAppSliderScrollingViewController")
        .onGenerations(iOS7)
        .method("_isIndexVisible:withPadding:", imp::isIndexVisible)
        .registerClass();

    HostClass<SBAppSliderController>("SBAppSliderController", "UIViewController")
        .onGenerations(iOS7)
        .ivar("_appList", &SBAppSliderController::m_appList)
        .method("_beginAppListAccess", imp::beginAppListAccess)
        .method("_endAppListAccess", imp::endAppListAccess)
        .method("_layout", imp::layout)
        .method("_scaleForFullscreenPageView", imp::scaleForFullscreenPageView)
        .method("_updatePageViewScale:xTranslation:", imp::updatePageViewScale)
        .method("sliderScroller:itemTapped:", imp::itemTapped)
        .method("sliderScroller:isIndexRemovable:", imp::isIndexRemovable)
        .method("sliderScroller:itemWantsToBeRemoved:", imp::itemWantsToBeRemoved)
        .registerClass();
}

} // namespace sim
