#include "springboard/switcher/SBDeckSwitcherViewController.h"

#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/ViewDumpAttributes.h"
#include "springboard/apps/ApplicationsHost.h"
#include "springboard/switcher/SwitcherGenerations.h"
#include "uikit/UIFont.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace {

constexpr CGFloat kIconSide = 29;
constexpr CGFloat kTitleGap = 8;
// How far apart neighbouring cards lie, as a share of a card's width.
constexpr CGFloat kCardSpacing = 0.55;
// The share of the screen a card loses as the deck comes in.
constexpr CGFloat kPresentedShrink = 0.3;

using Completion = std::function<void(BOOL)>;

CGFloat presentedScale(SBDeckSwitcherViewController *self)
{
    return msg<CGFloat, CGFloat>(self, "_scaleForPresentedProgress:"_sel, 1.0);
}

StrongRef<SBDeckSwitcherItemContainer> newContainer(SBDisplayItem *item, CGRect screen)
{
    auto container =
        sim::newView<SBDeckSwitcherItemContainer>(SBDeckSwitcherItemContainer::class_(), screen);
    container->m_displayItem = item;
    SBApplication *application = sim::applicationForDisplayIdentifier(item->identifier());
    container->m_pageView =
        application ? sim::applicationSnapshotView(application) : sim::homeScreenSnapshotView();
    sim::addSubview(container, container->m_pageView);
    container->m_iconView = sim::newView<UIImageView>(UIImageView::class_(), CGRectZero);
    // The home screen's card has neither icon nor title.
    if (application)
        msg<void, UIImage *>(container->m_iconView, "setImage:"_sel,
                             sim::switcherIconImage(item->identifier(), kIconSide));
    sim::addSubview(container, container->m_iconView);
    NSString *title = application ? application->m_displayName.get() : nil;
    container->m_titleLabel = sim::newLabel(CGRectZero, title, UIFont::systemFontOfSize(14));
    sim::addSubview(container, container->m_titleLabel);
    return container;
}

// Card i lies (focused − i) spacings right of the middle; the icon and title sit above
// the card's top edge.
void layOutContainer(SBDeckSwitcherItemContainer *container, CGRect screen, CGFloat scale,
                     CGFloat offset)
{
    CGFloat width = screen.size.width, height = screen.size.height;
    sim::setFrame(container, screen);
    msg<void, CGPoint>(container, "setCenter:"_sel,
                       {width / 2 + offset * kCardSpacing * width * scale, height / 2});
    container->m_scale = scale;
    msg<void, CGPoint>(container->m_pageView, "setCenter:"_sel, {width / 2, height / 2});
    sim::setScale(container->m_pageView, scale);
    CGFloat cardLeft = width / 2 - width * scale / 2;
    CGFloat titleY = height / 2 - height * scale / 2 - kTitleGap - kIconSide;
    sim::setFrame(container->m_iconView, {{cardLeft, titleY}, {kIconSide, kIconSide}});
    sim::setFrame(container->m_titleLabel,
                  {{cardLeft + kIconSide + kTitleGap, titleY}, {width * scale, kIconSide}});
    msg<void, NSTextAlignment>(container->m_titleLabel, "setTextAlignment:"_sel,
                               NSTextAlignmentLeft);
}

void layOutDeck(SBDeckSwitcherViewController *self)
{
    if (!self->m_window)
        return;
    CGRect screen = self->m_window->bounds();
    CGFloat scale = presentedScale(self);
    NSUInteger count = self->m_itemContainers->count();
    for (NSUInteger index = 0; index < count; ++index) {
        SBDeckSwitcherItemContainer *container = self->containerAt(index);
        layOutContainer(container, screen, scale,
                        static_cast<CGFloat>(self->m_focusedIndex) - static_cast<CGFloat>(index));
        // Cards still on screen show their title and icon.
        msg<void, CGFloat>(container, "setTitleAndIconOpacity:"_sel, 1.0);
    }
}

namespace imp {

NSArray *displayItems(SBDeckSwitcherViewController *self, SEL)
{
    return NSArray::arrayWithArray(self->m_displayItems);
}

// The right-most card goes on top: containers are added from the left.
void viewWillAppear(SBDeckSwitcherViewController *self, SEL, BOOL)
{
    UIView *view = msg<UIView *>(self, "view"_sel);
    for (id container : *self->m_itemContainers)
        static_cast<UIView *>(container)->removeFromSuperview();
    self->m_itemContainers = NSMutableArray::array();
    CGRect screen = view->bounds();
    for (id item : *self->m_displayItems)
        self->m_itemContainers->addObject(
            newContainer(static_cast<SBDisplayItem *>(item), screen).get());
    for (NSUInteger index = self->m_itemContainers->count(); index-- > 0;)
        sim::addSubview(view, self->containerAt(index));
    self->m_focusedIndex =
        std::min<NSUInteger>(1, msg<NSUInteger>(self->m_displayItems, "count"_sel) - 1);
    layOutDeck(self);
}

CGFloat scaleForPresentedProgress(SBDeckSwitcherViewController *, SEL, CGFloat progress)
{
    return 1.0 - kPresentedShrink * std::clamp<CGFloat>(progress, 0, 1);
}

BOOL isDisplayItemOfContainerRemovable(SBDeckSwitcherViewController *, SEL,
                                       SBDeckSwitcherItemContainer *container)
{
    return container && container->m_displayItem &&
           container->m_displayItem->identifier() != sim::kHomeScreenDisplayIdentifier;
}

void removeDisplayItem(SBDeckSwitcherViewController *self, SEL, SBDisplayItem *item,
                       BOOL updateScrollPosition, NSInteger, Completion completion)
{
    NSUInteger index =
        item ? msg<NSUInteger, id>(self->m_displayItems, "indexOfObject:"_sel, item) : NSNotFound;
    if (index != NSNotFound) {
        msg<void, NSUInteger>(self->m_displayItems, "removeObjectAtIndex:"_sel, index);
        if (index < self->m_itemContainers->count()) {
            self->containerAt(index)->removeFromSuperview();
            self->m_itemContainers->removeObjectAtIndex(index);
        }
        if (SBApplication *application = sim::applicationForDisplayIdentifier(item->identifier())) {
            sim::endApplication(application);
            SBApplicationController::shared()->forget(application);
        }
        NSUInteger count = msg<NSUInteger>(self->m_displayItems, "count"_sel);
        if (updateScrollPosition && count && self->m_focusedIndex >= count)
            self->m_focusedIndex = count - 1;
        layOutDeck(self);
    }
    if (completion)
        completion(index != NSNotFound);
}

SBDisplayItem *displayItem(SBDeckSwitcherItemContainer *self, SEL)
{
    return self->m_displayItem;
}

void setTitleOpacity(SBDeckSwitcherItemContainer *self, SEL, CGFloat opacity)
{
    self->m_titleOpacity = opacity;
    sim::setAlpha(self->m_titleLabel, opacity);
}

void setTitleAndIconOpacity(SBDeckSwitcherItemContainer *self, SEL, CGFloat opacity)
{
    self->m_titleAndIconOpacity = opacity;
    sim::setAlpha(self->m_titleLabel, opacity);
    sim::setAlpha(self->m_iconView, opacity);
}

CGFloat titleOpacity(SBDeckSwitcherItemContainer *self, SEL)
{
    return self->m_titleOpacity;
}

CGFloat titleAndIconOpacity(SBDeckSwitcherItemContainer *self, SEL)
{
    return self->m_titleAndIconOpacity;
}

} // namespace imp

// --- The generation's gestures ---

namespace gestures {

NSObject *create()
{
    auto *controller =
        sim::create<SBDeckSwitcherViewController>(SBDeckSwitcherViewController::class_());
    controller->m_displayItems = NSMutableArray::array();
    controller->m_itemContainers = NSMutableArray::array();
    return controller;
}

SBDeckSwitcherViewController *asDeck(NSObject *controller)
{
    return static_cast<SBDeckSwitcherViewController *>(controller);
}

void present(NSObject *controller)
{
    SBDeckSwitcherViewController *self = asDeck(controller);
    self->m_window = sim::newSwitcherWindow();
    UIView *view = msg<UIView *>(self, "view"_sel);
    sim::setFrame(view, self->m_window->bounds());
    sim::addSubview(view, sim::newSwitcherBackdrop(view->bounds()));
    sim::addSubview(self->m_window, view);
    self->m_displayItems = NSMutableArray::array();
    msg<void, id>(self->m_displayItems, "addObject:"_sel,
                  SBDisplayItem::itemWithIdentifier(sim::kHomeScreenDisplayIdentifier));
    for (SBApplication *application : SBApplicationController::shared()->recentApplications())
        msg<void, id>(self->m_displayItems, "addObject:"_sel,
                      SBDisplayItem::itemWithIdentifier(application->bundleIdentifier()));
    msg<void, BOOL>(self, "viewWillAppear:"_sel, YES);
    msg<void>(self->m_window, "layoutIfNeeded"_sel);
}

void dismiss(NSObject *controller)
{
    SBDeckSwitcherViewController *self = asDeck(controller);
    sim::closeSwitcherWindow(self, self->m_window);
    self->m_itemContainers = NSMutableArray::array();
}

bool isPresented(NSObject *controller)
{
    return asDeck(controller)->m_window;
}

NSUInteger count(NSObject *controller)
{
    return asDeck(controller)->m_itemContainers->count();
}

std::string identifierAt(NSObject *controller, NSUInteger index)
{
    return asDeck(controller)->containerAt(index)->m_displayItem->identifier();
}

void tap(NSObject *controller, NSUInteger index)
{
    sim::switchToDisplayIdentifier(identifierAt(controller, index));
}

bool swipeUp(NSObject *controller, NSUInteger index)
{
    SBDeckSwitcherViewController *self = asDeck(controller);
    SBDeckSwitcherItemContainer *container = self->containerAt(index);
    if (!msg<BOOL, SBDeckSwitcherItemContainer *>(self, "isDisplayItemOfContainerRemovable:"_sel,
                                                  container))
        return false;
    StrongRef<SBDisplayItem> item = container->m_displayItem;
    msg<void, SBDisplayItem *, BOOL, NSInteger, Completion>(
        self, "removeDisplayItem:updateScrollPosition:forReason:completion:"_sel, item, YES, 0,
        Completion{});
    return true;
}

void scroll(NSObject *controller, NSUInteger index)
{
    SBDeckSwitcherViewController *self = asDeck(controller);
    NSUInteger count = self->m_itemContainers->count();
    self->m_focusedIndex = count ? std::min(index, count - 1) : 0;
    layOutDeck(self);
}

nlohmann::json dump(NSObject *controller)
{
    SBDeckSwitcherViewController *self = asDeck(controller);
    nlohmann::json pages = nlohmann::json::array();
    for (NSUInteger index = 0; index < self->m_itemContainers->count(); ++index)
        pages.push_back(self->containerAt(index)->m_displayItem->identifier());
    return {{"pages", pages}, {"focused", self->m_focusedIndex}};
}

} // namespace gestures

void addContainerAttributes(UIView *view, nlohmann::json &node)
{
    auto *container = static_cast<SBDeckSwitcherItemContainer *>(view);
    if (container->m_displayItem)
        node["displayIdentifier"] = container->m_displayItem->identifier();
    node["scale"] = container->m_scale;
    node["titleOpacity"] = msg<CGFloat>(container, "titleOpacity"_sel);
    node["titleAndIconOpacity"] = msg<CGFloat>(container, "titleAndIconOpacity"_sel);
}

} // namespace

Class SBDeckSwitcherItemContainer::class_()
{
    return objc_getClass("SBDeckSwitcherItemContainer");
}

Class SBDeckSwitcherViewController::class_()
{
    return objc_getClass("SBDeckSwitcherViewController");
}

SBDeckSwitcherItemContainer *SBDeckSwitcherViewController::containerAt(NSUInteger index) const
{
    return static_cast<SBDeckSwitcherItemContainer *>(m_itemContainers->objectAtIndex(index));
}

namespace sim {

const SwitcherGeneration &deckSwitcherGeneration()
{
    using namespace gestures;
    static const SwitcherGeneration kDeck = {gestures::create, present, dismiss, isPresented, count,
                                             identifierAt,     tap,     swipeUp, scroll,      dump};
    return kDeck;
}

void registerDeckSwitcherClasses()
{
    HostClass<SBDeckSwitcherItemContainer>("SBDeckSwitcherItemContainer", "UIView")
        .onGenerations(iOS9)
        .ivar("_displayItem", &SBDeckSwitcherItemContainer::m_displayItem)
        .method("displayItem", imp::displayItem)
        .method("setTitleOpacity:", imp::setTitleOpacity)
        .method("setTitleAndIconOpacity:", imp::setTitleAndIconOpacity)
        .method("titleOpacity", imp::titleOpacity)
        .method("titleAndIconOpacity", imp::titleAndIconOpacity)
        .registerClass();

    HostClass<SBDeckSwitcherViewController>("SBDeckSwitcherViewController", "UIViewController")
        .onGenerations(iOS9)
        .method("displayItems", imp::displayItems)
        .method("viewWillAppear:", imp::viewWillAppear)
        .method("_scaleForPresentedProgress:", imp::scaleForPresentedProgress)
        .method("isDisplayItemOfContainerRemovable:", imp::isDisplayItemOfContainerRemovable)
        .method("removeDisplayItem:updateScrollPosition:forReason:completion:",
                imp::removeDisplayItem)
        .registerClass();
    addViewDumpAttributes("SBDeckSwitcherItemContainer", addContainerAttributes);
}

} // namespace sim
