// Notification Center's controller, its sheet and the bulletin window's gate
// (NotificationCenter.h).

#include "springboard/notification-center/NotificationCenter.h"

#include "foundation/NSString.h"
#include "springboard/Generation.h"
#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "uikit/UIScreen.h"

#include <algorithm>

namespace {

constexpr UIWindowLevel kNotificationCenterLevel = UIWindowLevelStatusBar + 50;
constexpr CGFloat kOpenThreshold = 1.0 / 3;
// SpringBoard's own backdrop: a dark blur.
constexpr CGFloat kDefaultBlurRadius = 20;

StrongRef<SBNotificationCenterController> g_controller;
StrongRef<NSObject> g_bulletinWindowController;

StrongRef<UIViewController> newMode(const char *className, NSString *title)
{
    auto mode =
        StrongRef<UIViewController>::adopt(sim::create<UIViewController>(objc_getClass(className)));
    msg<void, NSString *>(mode, "setTitle:"_sel, title);
    return mode;
}

// The modes SpringBoard adds as it builds the sheet, by generation.
void addModes(SBModeViewController *modes)
{
    std::vector<StrongRef<UIViewController>> list;
    list.push_back(newMode("SBTodayViewController", "Today"_ns));
    if (sim::currentGeneration() == sim::iOS7) {
        list.push_back(newMode("SBNotificationsAllModeViewController", "All"_ns));
        list.push_back(newMode("SBNotificationsMissedModeViewController", "Missed"_ns));
    } else {
        list.push_back(newMode("SBNotificationsViewController", "Notifications"_ns));
    }
    for (const auto &mode : list)
        msg<void, UIViewController *>(modes, "addViewController:"_sel, mode);
}

namespace imp {

void viewControllerLoadView(SBNotificationCenterViewController *self, SEL)
{
    StrongRef<UIView> view = sim::newView(UIView::class_(), CGRectZero);
    self->m_sheetView = sim::newView(UIView::class_(), CGRectZero);
    self->m_backdropView =
        _UIBackdropView::create(kDefaultBlurRadius, UIColor::colorWithWhiteAlpha(0.1, 1), 0.6);
    self->m_modeViewController = StrongRef<SBModeViewController>::adopt(
        sim::create<SBModeViewController>(SBModeViewController::class_()));
    sim::addSubview(self->m_sheetView, self->m_backdropView);
    sim::addSubview(self->m_sheetView, msg<UIView *>(self->m_modeViewController, "view"_sel));
    sim::addSubview(view, self->m_sheetView);
    msg<void, UIView *>(self, "setView:"_sel, view);
    addModes(self->m_modeViewController);
}

_UIBackdropView *backdropView(SBNotificationCenterViewController *self, SEL)
{
    msg<UIView *>(self, "view"_sel);
    return self->m_backdropView;
}

void viewControllerViewWillAppear(SBNotificationCenterViewController *self, SEL, BOOL animated)
{
    msg<void, BOOL>(self->m_modeViewController, "viewWillAppear:"_sel, animated);
}

// The sheet hangs from the top edge by the revealed part of the screen's height.
void layOutSheet(SBNotificationCenterViewController *self)
{
    UIView *view = msg<UIView *>(self, "view"_sel);
    CGSize size = view->bounds().size;
    CGRect sheet = {{0, -(1 - self->m_revealedFraction) * size.height}, size};
    sim::setFrame(self->m_sheetView, sheet);
    sim::setFrame(self->m_backdropView, {{0, 0}, size});
    sim::setFrame(msg<UIView *>(self->m_modeViewController, "view"_sel),
                  {{0, 20}, {size.width, size.height - 20}});
    msg<void>(self->m_modeViewController, "_layoutModes"_sel);
    msg<void>(view, "layoutIfNeeded"_sel);
}

SBNotificationCenterController *sharedController(id, SEL)
{
    return g_controller;
}

id controllerInit(SBNotificationCenterController *self, SEL _cmd)
{
    if (!msgSuper<id>(SBNotificationCenterController::class_(), self, _cmd))
        return nil;
    self->m_viewController = StrongRef<SBNotificationCenterViewController>::adopt(
        sim::create<SBNotificationCenterViewController>(
            SBNotificationCenterViewController::class_()));
    self->m_window = sim::newView<UIWindow>(UIWindow::class_(), CGRectZero);
    msg<void, UIWindowLevel>(self->m_window, "setWindowLevel:"_sel, kNotificationCenterLevel);
    self->m_showSystemGestureRecognizer = SBOffscreenSwipeGestureRecognizer::create(
        sim::kSwipeDown, self, "_handleShowNotificationsGesture:"_sel);
    self->m_showSystemGestureRecognizer->m_delegate = self;
    return self;
}

void setRevealedFraction(SBNotificationCenterController *self, CGFloat fraction)
{
    self->m_viewController->m_revealedFraction = std::clamp<CGFloat>(fraction, 0, 1);
    layOutSheet(self->m_viewController);
}

void beginPresentation(SBNotificationCenterController *self, SEL)
{
    if (self->m_visible)
        return;
    self->m_visible = true;
    sim::setFrame(self->m_window, UIScreen::mainScreen()->bounds());
    msg<void, id>(self->m_window, "setRootViewController:"_sel, self->m_viewController);
    msg<void, BOOL>(self->m_viewController, "viewWillAppear:"_sel, YES);
    setRevealedFraction(self, 0);
    sim::setHidden(self->m_window, false);
}

void presentAnimated(SBNotificationCenterController *self, SEL, BOOL)
{
    msg<void>(self, "_beginPresentation"_sel);
    setRevealedFraction(self, 1);
}

void dismissAnimated(SBNotificationCenterController *self, SEL, BOOL)
{
    if (!self->m_visible)
        return;
    self->m_visible = false;
    setRevealedFraction(self, 0);
    sim::setHidden(self->m_window, true);
}

BOOL shouldBegin(SBNotificationCenterController *, SEL, UIGestureRecognizer *)
{
    id bulletins = msg<id>(objc_getClass("SBBulletinWindowController"), "sharedInstance"_sel);
    return msg<BOOL>(bulletins, "allowsShowNotificationsGesture"_sel);
}

void handleShowGesture(SBNotificationCenterController *self, SEL, UIGestureRecognizer *recognizer)
{
    switch (recognizer->m_state) {
    case UIGestureRecognizerStateBegan:
        msg<void>(self, "_beginPresentation"_sel);
        return;
    case UIGestureRecognizerStateChanged:
        setRevealedFraction(self, recognizer->m_location.y /
                                      UIScreen::mainScreen()->bounds().size.height);
        return;
    case UIGestureRecognizerStateEnded:
        if (self->m_viewController->m_revealedFraction >= kOpenThreshold)
            msg<void, BOOL>(self, "presentAnimated:"_sel, YES);
        else
            msg<void, BOOL>(self, "dismissAnimated:"_sel, YES);
        return;
    default:
        msg<void, BOOL>(self, "dismissAnimated:"_sel, NO);
    }
}

id sharedBulletinWindowController(id, SEL)
{
    return g_bulletinWindowController;
}

BOOL allowsShowNotificationsGesture(id, SEL)
{
    return YES;
}

} // namespace imp

} // namespace

Class SBNotificationCenterViewController::class_()
{
    return objc_getClass("SBNotificationCenterViewController");
}

Class SBNotificationCenterController::class_()
{
    return objc_getClass("SBNotificationCenterController");
}

namespace sim {

void setNotificationCenterController(SBNotificationCenterController *controller)
{
    g_controller = controller;
    g_bulletinWindowController =
        controller ? StrongRef<NSObject>::adopt(create(objc_getClass("SBBulletinWindowController")))
                   : StrongRef<NSObject>();
}

void registerNotificationCenterClasses()
{
    registerNotificationModeClasses();
    HostClass<SBNotificationCenterViewController>("SBNotificationCenterViewController",
                                                  "UIViewController")
        .ivar("_backdropView", &SBNotificationCenterViewController::m_backdropView)
        .ivar("_modeViewController", &SBNotificationCenterViewController::m_modeViewController)
        .method("loadView", imp::viewControllerLoadView)
        .method("backdropView", imp::backdropView)
        .method("viewWillAppear:", imp::viewControllerViewWillAppear)
        .registerClass();
    HostClass<SBNotificationCenterController>("SBNotificationCenterController", "NSObject")
        .ivar("_viewController", &SBNotificationCenterController::m_viewController)
        .ivar("_showSystemGestureRecognizer",
              &SBNotificationCenterController::m_showSystemGestureRecognizer)
        .classMethod("sharedInstance", imp::sharedController)
        .method("init", imp::controllerInit)
        .method("_beginPresentation", imp::beginPresentation)
        .method("presentAnimated:", imp::presentAnimated)
        .method("dismissAnimated:", imp::dismissAnimated)
        .getter<&SBNotificationCenterController::m_visible>("isVisible")
        .method("gestureRecognizerShouldBegin:", imp::shouldBegin)
        .method("_handleShowNotificationsGesture:", imp::handleShowGesture)
        .registerClass();
    HostClass<NSObject>("SBBulletinWindowController", "NSObject")
        .classMethod("sharedInstance", imp::sharedBulletinWindowController)
        .method("allowsShowNotificationsGesture", imp::allowsShowNotificationsGesture)
        .registerClass();
}

} // namespace sim
