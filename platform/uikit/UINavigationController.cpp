#include "uikit/UINavigationController.h"

#include "foundation/NSLog.h"
#include "uikit/UIScreen.h"

#include <algorithm>

namespace {

// The height of the status bar above the navigation bar.
constexpr CGFloat kStatusBarHeight = 20;

void sendAppearance(UIViewController *controller, SEL selector)
{
    msg<void, BOOL>(controller, selector, NO);
}

// The controller's view takes the content area before it hears it will appear, so
// that a controller laying itself out in viewWillAppear: sees its real size.
void sizeView(UINavigationController *self, UIViewController *controller)
{
    msg<void, CGRect>(msg<UIView *>(controller, "view"_sel), "setFrame:"_sel, self->contentFrame());
}

void showView(UINavigationController *self, UIViewController *controller)
{
    msg<void, UIView *, NSInteger>(self->m_view, "insertSubview:atIndex:"_sel,
                                   msg<UIView *>(controller, "view"_sel), 0);
}

// Replaces the shown controller `from` by `to` (either may be nil), with the appearance
// messages while the navigation controller is shown.
void transition(UINavigationController *self, UIViewController *from, UIViewController *to)
{
    if (!self->isViewLoaded() || from == to)
        return;
    StrongRef<UIViewController> keepFrom(from), keepTo(to);
    bool showing = self->m_showing;
    if (to)
        sizeView(self, to);
    if (showing) {
        sendAppearance(from, "viewWillDisappear:"_sel);
        sendAppearance(to, "viewWillAppear:"_sel);
    }
    if (from && from->isViewLoaded())
        msg<void>(from->m_view, "removeFromSuperview"_sel);
    if (to)
        showView(self, to);
    if (showing) {
        sendAppearance(from, "viewDidDisappear:"_sel);
        sendAppearance(to, "viewDidAppear:"_sel);
    }
}

bool holds(UINavigationController *self, UIViewController *controller)
{
    return std::any_of(self->m_viewControllers.begin(), self->m_viewControllers.end(),
                       [&](const auto &held) { return held == controller; });
}

// Takes the controller off the stack; the caller keeps it alive.
void removeTop(UINavigationController *self)
{
    UIViewController *top = self->m_viewControllers.back();
    top->m_parentViewController = nil;
    msg<id, BOOL>(self->m_navigationBar, "popNavigationItemAnimated:"_sel, NO);
    self->m_viewControllers.pop_back();
}

namespace imp {

id init(UINavigationController *self, SEL _cmd)
{
    msgSuper<id>(UINavigationController::class_(), self, _cmd);
    CGFloat width = UIScreen::mainScreen()->bounds().size.width;
    self->m_navigationBar = StrongRef<UINavigationBar>::adopt(static_cast<UINavigationBar *>(
        msg<id, CGRect>(msg<id>(UINavigationBar::class_(), "alloc"_sel), "initWithFrame:"_sel,
                        CGRect{0, kStatusBarHeight, width, UINavigationBar::kHeight})));
    self->m_navigationBar->m_navigationController = self;
    return self;
}

id initWithRootViewController(UINavigationController *self, SEL, UIViewController *root)
{
    msg<id>(self, "init"_sel);
    msg<void, UIViewController *, BOOL>(self, "pushViewController:animated:"_sel, root, NO);
    return self;
}

// A view the size of the screen holding the bar and the top controller's view.
void loadView(UINavigationController *self, SEL)
{
    auto *view = msg<id, CGRect>(msg<id>(UIView::class_(), "alloc"_sel), "initWithFrame:"_sel,
                                 UIScreen::mainScreen()->bounds());
    self->m_view = StrongRef<UIView>::adopt(static_cast<UIView *>(view));
    msg<void, UIColor *>(self->m_view, "setBackgroundColor:"_sel, UIColor::whiteColor());
    msg<void, UIView *>(self->m_view, "addSubview:"_sel, self->m_navigationBar);
    if (UIViewController *top = self->topViewController()) {
        sizeView(self, top);
        showView(self, top);
    }
}

void pushViewControllerAnimated(UINavigationController *self, SEL, UIViewController *controller,
                                BOOL)
{
    if (!controller || holds(self, controller)) {
        NSLog("UINavigationController: cannot push %s, which is nil or already on the stack",
              controller ? object_getClassName(controller) : "nil");
        return;
    }
    StrongRef<UIViewController> keep(controller);
    UIViewController *from = self->topViewController();
    controller->m_parentViewController = self;
    self->m_viewControllers.emplace_back(controller);
    msg<void, UINavigationItem *, BOOL>(self->m_navigationBar, "pushNavigationItem:animated:"_sel,
                                        controller->navigationItem(), NO);
    transition(self, from, controller);
}

UIViewController *popViewControllerAnimated(UINavigationController *self, SEL, BOOL)
{
    if (self->m_viewControllers.size() < 2)
        return nil;
    StrongRef<UIViewController> popped = self->m_viewControllers.back();
    removeTop(self);
    transition(self, popped, self->topViewController());
    return autorelease(retain(popped.get()));
}

NSArray *popToRootViewControllerAnimated(UINavigationController *self, SEL, BOOL)
{
    if (self->m_viewControllers.size() < 2)
        return nil;
    StrongRef<UIViewController> shown = self->m_viewControllers.back();
    NSMutableArray *popped = NSMutableArray::array();
    while (self->m_viewControllers.size() > 1) {
        popped->insertObjectAtIndex(self->m_viewControllers.back(), 0);
        removeTop(self);
    }
    transition(self, shown, self->topViewController());
    return popped;
}

NSArray *viewControllers(UINavigationController *self, SEL)
{
    NSMutableArray *controllers = NSMutableArray::array();
    for (const auto &controller : self->m_viewControllers)
        controllers->addObject(controller);
    return NSArray::arrayWithArray(controllers);
}

UIViewController *topViewController(UINavigationController *self, SEL)
{
    return self->topViewController();
}

// Appearance of the navigation controller reaches its top controller.
void viewWillAppear(UINavigationController *self, SEL _cmd, BOOL animated)
{
    self->m_showing = true;
    msg<void, BOOL>(self->topViewController(), _cmd, animated);
}

void viewDidDisappear(UINavigationController *self, SEL _cmd, BOOL animated)
{
    self->m_showing = false;
    msg<void, BOOL>(self->topViewController(), _cmd, animated);
}

void forwardAppearance(UINavigationController *self, SEL _cmd, BOOL animated)
{
    msg<void, BOOL>(self->topViewController(), _cmd, animated);
}

} // namespace imp

const Class kRegistered = UINavigationController::class_();

} // namespace

Class UINavigationController::class_()
{
    static const Class cls = [] {
        UIViewController::class_();
        return ClassBuilder<UINavigationController>("UINavigationController", "UIViewController")
            .method("init", imp::init)
            .method("initWithRootViewController:", imp::initWithRootViewController)
            .method("loadView", imp::loadView)
            .method("pushViewController:animated:", imp::pushViewControllerAnimated)
            .method("popViewControllerAnimated:", imp::popViewControllerAnimated)
            .method("popToRootViewControllerAnimated:", imp::popToRootViewControllerAnimated)
            .method("viewControllers", imp::viewControllers)
            .method("topViewController", imp::topViewController)
            .method("visibleViewController", imp::topViewController)
            .getter<&UINavigationController::m_navigationBar>("navigationBar")
            .method("viewWillAppear:", imp::viewWillAppear)
            .method("viewDidAppear:", imp::forwardAppearance)
            .method("viewWillDisappear:", imp::forwardAppearance)
            .method("viewDidDisappear:", imp::viewDidDisappear)
            .registerClass();
    }();
    return cls;
}

UIViewController *UINavigationController::topViewController() const
{
    return m_viewControllers.empty() ? nil : m_viewControllers.back().get();
}

CGRect UINavigationController::contentFrame() const
{
    CGRect bounds = m_view ? m_view->bounds() : UIScreen::mainScreen()->bounds();
    CGFloat top = kStatusBarHeight + UINavigationBar::kHeight;
    return {0, top, bounds.size.width, std::max<CGFloat>(0, bounds.size.height - top)};
}
