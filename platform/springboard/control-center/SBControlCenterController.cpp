// Control Center's controller, its views and their layout (ControlCenter.h).

#include "springboard/control-center/ControlCenter.h"

#include "foundation/NSArray.h"
#include "springboard/Generation.h"
#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/SpringBoardMetrics.h"
#include "springboard/ViewDumpAttributes.h"
#include "springboard/control-center/ControlCenterHost.h"
#include "uikit/UIApplication.h"
#include "uikit/UIScreen.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace {

// Above the status bar, as the panel covers it.
constexpr UIWindowLevel kControlCenterLevel = UIWindowLevelStatusBar + 50;
constexpr CGFloat kSeparatorHeight = 1;
// A lifted finger opens the panel fully once this much of it shows.
constexpr CGFloat kOpenThreshold = 1.0 / 3;
// SpringBoard's own backdrop: a light blur.
constexpr CGFloat kDefaultBlurRadius = 30;

StrongRef<SBControlCenterController> g_controller;

NSInteger interfaceOrientation()
{
    return UIApplication::sharedApplication()->statusBarOrientation();
}

const NSArray &sectionsOf(SBControlCenterContentView *view)
{
    return *static_cast<NSArray *>(view->m_allSections.get());
}

// Stacks the sections from the top, each as tall as it says, with a separator line below
// each shown section that another shown section follows. With `place` off it only
// measures. Answers the height taken.
CGFloat stackSections(SBControlCenterContentView *self, bool place)
{
    NSInteger orientation = interfaceOrientation();
    CGFloat width = self->bounds().size.width;
    const NSArray &sections = sectionsOf(self);
    if (place)
        for (const auto &separator : *static_cast<NSArray *>(self->m_separatorViews.get()))
            sim::setHidden(static_cast<UIView *>(separator.get()), true);
    CGFloat y = 0;
    UIView *pendingSeparator = nil;
    for (NSUInteger i = 0; i < sections.count(); ++i) {
        id section = sections.objectAtIndex(i);
        auto *view = msg<UIView *>(section, "view"_sel);
        CGSize size =
            msg<CGSize, NSInteger>(section, "contentSizeForOrientation:"_sel, orientation);
        bool shown = size.width > 0 && size.height > 0;
        if (place)
            sim::setHidden(view, !shown);
        if (!shown)
            continue;
        if (pendingSeparator) {
            if (place) {
                sim::setFrame(pendingSeparator, {{0, y}, {width, kSeparatorHeight}});
                sim::setHidden(pendingSeparator, false);
            }
            y += kSeparatorHeight;
        }
        if (place) {
            sim::setFrame(view, {{0, y}, {width, size.height}});
            msg<void>(section, "viewDidLayoutSubviews"_sel);
        }
        y += size.height;
        pendingSeparator = i + 1 < sections.count()
                               ? msg<UIView *, NSUInteger>(self, "_separatorAtIndex:"_sel, i)
                               : nil;
    }
    return y;
}

namespace imp {

// --- The content view ---

id contentViewInitWithFrame(SBControlCenterContentView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(SBControlCenterContentView::class_(), self, _cmd, frame))
        return nil;
    NSMutableArray *sections = NSMutableArray::array();
    NSMutableArray *separators = NSMutableArray::array();
    for (const char *name : {"SBCCSettingsSectionController", "SBCCBrightnessSectionController",
                             "SBCCMediaControlsSectionController", "SBCCAirStuffSectionController",
                             "SBCCQuickLaunchSectionController"}) {
        auto section = StrongRef<NSObject>::adopt(sim::create(objc_getClass(name)));
        sim::addSubview(self, msg<UIView *>(section, "view"_sel));
        sections->addObject(section);
    }
    for (NSUInteger i = 0; i + 1 < sections->count(); ++i) {
        StrongRef<UIView> line = sim::newView(UIView::class_(), CGRectZero);
        msg<void, UIColor *>(line, "setBackgroundColor:"_sel,
                             UIColor::colorWithWhiteAlpha(0, 0.12));
        sim::addSubview(self, line);
        separators->addObject(line);
    }
    self->m_allSections = StrongRef<NSObject>(sections);
    self->m_separatorViews = StrongRef<NSObject>(separators);
    return self;
}

UIView *separatorAtIndex(SBControlCenterContentView *self, SEL, NSUInteger index)
{
    const auto &separators = *static_cast<NSArray *>(self->m_separatorViews.get());
    return index < separators.count() ? static_cast<UIView *>(separators.objectAtIndex(index))
                                      : nil;
}

CGFloat contentHeight(SBControlCenterContentView *self, SEL)
{
    return stackSections(self, false);
}

void contentViewLayoutSubviews(SBControlCenterContentView *self, SEL)
{
    self->m_contentHeight = stackSections(self, true);
}

// --- The panel and the screen it slides over ---

id contentContainerInitWithFrame(SBControlCenterContentContainerView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(SBControlCenterContentContainerView::class_(), self, _cmd, frame))
        return nil;
    self->m_backdropView =
        _UIBackdropView::create(kDefaultBlurRadius, UIColor::colorWithWhiteAlpha(0.97, 1), 0.5);
    sim::addSubview(self, self->m_backdropView);
    self->m_contentView =
        sim::newView<SBControlCenterContentView>(SBControlCenterContentView::class_(), CGRectZero);
    sim::addSubview(self, self->m_contentView);
    return self;
}

void contentContainerLayoutSubviews(SBControlCenterContentContainerView *self, SEL)
{
    sim::setFrame(self->m_backdropView, self->bounds());
    sim::setFrame(self->m_contentView, self->bounds());
}

id containerInitWithFrame(SBControlCenterContainerView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(SBControlCenterContainerView::class_(), self, _cmd, frame))
        return nil;
    self->m_contentContainerView = sim::newView<SBControlCenterContentContainerView>(
        SBControlCenterContentContainerView::class_(), CGRectZero);
    sim::addSubview(self, self->m_contentContainerView);
    return self;
}

// The panel rises from the bottom edge by the revealed part of its height.
void containerLayoutSubviews(SBControlCenterContainerView *self, SEL)
{
    CGSize size = self->bounds().size;
    SBControlCenterContentView *content = self->m_contentContainerView->m_contentView;
    sim::setFrame(content, {{0, 0}, {size.width, 0}});
    CGFloat height = msg<CGFloat>(content, "contentHeight"_sel);
    sim::setFrame(self->m_contentContainerView,
                  {{0, size.height - self->m_revealedFraction * height}, {size.width, height}});
    msg<void>(self->m_contentContainerView, "layoutIfNeeded"_sel);
}

void viewControllerLoadView(SBControlCenterViewController *self, SEL)
{
    self->m_containerView = sim::newView<SBControlCenterContainerView>(
        SBControlCenterContainerView::class_(), CGRectZero);
    msg<void, UIView *>(self, "setView:"_sel, self->m_containerView);
}

// --- The controller ---

SBControlCenterController *sharedController(id, SEL)
{
    return g_controller;
}

id controllerInit(SBControlCenterController *self, SEL _cmd)
{
    if (!msgSuper<id>(SBControlCenterController::class_(), self, _cmd))
        return nil;
    self->m_viewController = StrongRef<SBControlCenterViewController>::adopt(
        sim::create<SBControlCenterViewController>(SBControlCenterViewController::class_()));
    self->m_window = sim::newView<UIWindow>(UIWindow::class_(), CGRectZero);
    msg<void, UIWindowLevel>(self->m_window, "setWindowLevel:"_sel, kControlCenterLevel);
    self->m_controlCenterGestureRecognizer = SBOffscreenSwipeGestureRecognizer::create(
        sim::kSwipeUp, self, "_handleShowControlCenterGesture:"_sel);
    return self;
}

void setRevealedFraction(SBControlCenterController *self, CGFloat fraction)
{
    SBControlCenterContainerView *container = self->m_viewController->m_containerView;
    container->m_revealedFraction = std::clamp<CGFloat>(fraction, 0, 1);
    msg<void>(container, "setNeedsLayout"_sel);
    msg<void>(self->m_window, "layoutIfNeeded"_sel);
}

// The window comes up over the screen with the panel below its bottom edge.
void beginPresentation(SBControlCenterController *self, SEL)
{
    if (self->m_visible)
        return;
    self->m_visible = true;
    sim::setFrame(self->m_window, UIScreen::mainScreen()->bounds());
    msg<void, id>(self->m_window, "setRootViewController:"_sel, self->m_viewController);
    msg<void, BOOL>(self, "viewWillAppear:"_sel, YES);
    setRevealedFraction(self, 0);
    sim::setHidden(self->m_window, false);
}

void controllerViewWillAppear(SBControlCenterController *self, SEL, BOOL animated)
{
    msg<void, BOOL>(self->m_viewController, "viewWillAppear:"_sel, animated);
}

void presentAnimated(SBControlCenterController *self, SEL, BOOL)
{
    msg<void>(self, "_beginPresentation"_sel);
    setRevealedFraction(self, 1);
}

void dismissAnimated(SBControlCenterController *self, SEL, BOOL)
{
    if (!self->m_visible)
        return;
    self->m_visible = false;
    setRevealedFraction(self, 0);
    sim::setHidden(self->m_window, true);
    for (SBCCButtonLikeSectionView *toggle : sim::controlCenterToggles())
        msg<void, BOOL>(toggle, "setHighlighted:"_sel, NO);
}

// The panel follows the finger up from the bottom edge.
void handleShowGesture(SBControlCenterController *self, SEL, UIGestureRecognizer *recognizer)
{
    switch (recognizer->m_state) {
    case UIGestureRecognizerStateBegan:
        msg<void>(self, "_beginPresentation"_sel);
        return;
    case UIGestureRecognizerStateChanged: {
        SBControlCenterContentView *content =
            self->m_viewController->m_containerView->m_contentContainerView->m_contentView;
        CGFloat height = msg<CGFloat>(content, "contentHeight"_sel);
        CGFloat risen = UIScreen::mainScreen()->bounds().size.height - recognizer->m_location.y;
        setRevealedFraction(self, height > 0 ? risen / height : 1);
        return;
    }
    case UIGestureRecognizerStateEnded:
        if (self->m_viewController->m_containerView->m_revealedFraction >= kOpenThreshold)
            msg<void, BOOL>(self, "presentAnimated:"_sel, YES);
        else
            msg<void, BOOL>(self, "dismissAnimated:"_sel, YES);
        return;
    default:
        msg<void, BOOL>(self, "dismissAnimated:"_sel, NO);
    }
}

// A control's setting changed: every toggle asks for its colour again.
void controlSettingsDidChange(SBControlCenterController *, SEL, NSString *)
{
    for (SBCCButtonLikeSectionView *toggle : sim::controlCenterToggles())
        msg<void>(toggle, "_updateGlyphColor"_sel);
}

} // namespace imp

void dumpContentView(UIView *view, nlohmann::json &node)
{
    auto *content = static_cast<SBControlCenterContentView *>(view);
    node["contentHeight"] = content->m_contentHeight;
    nlohmann::json separators = nlohmann::json::array();
    for (const auto &separator : *static_cast<NSArray *>(content->m_separatorViews.get()))
        separators.push_back(!static_cast<UIView *>(separator.get())->isHidden());
    node["separatorsShown"] = separators;
}

} // namespace

Class SBControlCenterContentView::class_()
{
    return objc_getClass("SBControlCenterContentView");
}

Class SBControlCenterContentContainerView::class_()
{
    return objc_getClass("SBControlCenterContentContainerView");
}

Class SBControlCenterContainerView::class_()
{
    return objc_getClass("SBControlCenterContainerView");
}

Class SBControlCenterViewController::class_()
{
    return objc_getClass("SBControlCenterViewController");
}

Class SBControlCenterController::class_()
{
    return objc_getClass("SBControlCenterController");
}

namespace sim {

void setControlCenterController(SBControlCenterController *controller)
{
    g_controller = controller;
}

void disposeControlCenter()
{
    if (g_controller)
        sim::setHidden(g_controller->m_window, true);
    g_controller = {};
}

void revealControlCenter(double fraction)
{
    if (!g_controller)
        return;
    msg<void>(g_controller, "_beginPresentation"_sel);
    imp::setRevealedFraction(g_controller, fraction);
}

void registerControlCenterClasses()
{
    registerBackdropClasses();
    registerSystemGestureClasses();
    registerControlCenterSectionClasses();
    HostClass<SBControlCenterContentView>("SBControlCenterContentView", "UIView")
        .ivar("_allSections", &SBControlCenterContentView::m_allSections)
        .ivar("_separatorViews", &SBControlCenterContentView::m_separatorViews)
        .method("initWithFrame:", imp::contentViewInitWithFrame)
        .method("_separatorAtIndex:", imp::separatorAtIndex)
        .method("contentHeight", imp::contentHeight)
        .method("layoutSubviews", imp::contentViewLayoutSubviews)
        .registerClass();
    HostClass<SBControlCenterContentContainerView>("SBControlCenterContentContainerView", "UIView")
        .ivar("_backdropView", &SBControlCenterContentContainerView::m_backdropView)
        .ivar("_contentView", &SBControlCenterContentContainerView::m_contentView)
        .method("initWithFrame:", imp::contentContainerInitWithFrame)
        .getter<&SBControlCenterContentContainerView::m_backdropView>("backdropView")
        .method("layoutSubviews", imp::contentContainerLayoutSubviews)
        .registerClass();
    HostClass<SBControlCenterContainerView>("SBControlCenterContainerView", "UIView")
        .ivar("_contentContainerView", &SBControlCenterContainerView::m_contentContainerView)
        .method("initWithFrame:", imp::containerInitWithFrame)
        .method("layoutSubviews", imp::containerLayoutSubviews)
        .registerClass();
    HostClass<SBControlCenterViewController>("SBControlCenterViewController", "UIViewController")
        .ivar("_containerView", &SBControlCenterViewController::m_containerView)
        .method("loadView", imp::viewControllerLoadView)
        .registerClass();
    HostClass<SBControlCenterController>("SBControlCenterController", "NSObject")
        .ivar("_viewController", &SBControlCenterController::m_viewController)
        .ivar("_controlCenterGestureRecognizer",
              &SBControlCenterController::m_controlCenterGestureRecognizer)
        .classMethod("sharedInstance", imp::sharedController)
        .method("init", imp::controllerInit)
        .method("_beginPresentation", imp::beginPresentation)
        .method("viewWillAppear:", imp::controllerViewWillAppear)
        .method("presentAnimated:", imp::presentAnimated)
        .method("dismissAnimated:", imp::dismissAnimated)
        .getter<&SBControlCenterController::m_visible>("isVisible")
        .method("_handleShowControlCenterGesture:", imp::handleShowGesture)
        .method("_controlSettingsDidChange:", imp::controlSettingsDidChange)
        .registerClass();
    addViewDumpAttributes("SBControlCenterContentView", dumpContentView);
}

} // namespace sim
