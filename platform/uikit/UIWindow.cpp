#include "uikit/UIWindow.h"

#include "uikit/IOSurface.h"
#include "uikit/UIScreen.h"

#include <algorithm>

namespace {

std::vector<UIWindow *> g_windows;
UIWindow *g_keyWindow = nil;

void sendAppearance(id controller, SEL selector)
{
    msg<void, BOOL>(controller, selector, NO);
}

namespace imp {

id initWithFrame(UIWindow *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(UIWindow::class_(), self, _cmd, frame))
        return nil;
    self->m_layer->setHidden(true);
    g_windows.push_back(self);
    return self;
}

id init(UIWindow *self, SEL)
{
    return msg<id, CGRect>(self, "initWithFrame:"_sel, UIScreen::mainScreen()->bounds());
}

void setHidden(UIWindow *self, SEL _cmd, BOOL hidden)
{
    bool appearing = self->isHidden() && !hidden;
    msgSuper<void, BOOL>(UIWindow::class_(), self, _cmd, hidden);
    if (appearing && self->m_rootViewController) {
        sendAppearance(self->m_rootViewController, "viewWillAppear:"_sel);
        sendAppearance(self->m_rootViewController, "viewDidAppear:"_sel);
    }
}

void makeKeyWindow(UIWindow *self, SEL)
{
    self->makeKeyWindow();
}

void makeKeyAndVisible(UIWindow *self, SEL)
{
    msg<void>(self, "makeKeyWindow"_sel);
    msg<void, BOOL>(self, "setHidden:"_sel, NO);
}

BOOL isKeyWindow(UIWindow *self, SEL)
{
    return self->isKeyWindow();
}

UIWindow *keyWindow(id, SEL)
{
    return UIWindow::keyWindow();
}

IOSurfaceRef createScreenIOSurface(id, SEL)
{
    return sim::createScreenIOSurface();
}

id rootViewController(UIWindow *self, SEL)
{
    return self->m_rootViewController;
}

// The controller's view fills the window; the old controller's view leaves it.
void setRootViewController(UIWindow *self, SEL, id controller)
{
    if (controller == self->m_rootViewController.get())
        return;
    if (self->m_rootViewController)
        msg<void>(msg<UIView *>(self->m_rootViewController, "view"_sel), "removeFromSuperview"_sel);
    self->m_rootViewController = controller;
    if (!controller)
        return;
    auto *view = msg<UIView *>(controller, "view"_sel);
    msg<void, CGRect>(view, "setFrame:"_sel, self->bounds());
    bool visible = !self->isHidden();
    if (visible)
        sendAppearance(controller, "viewWillAppear:"_sel);
    msg<void>(self, "addSubview:"_sel, view);
    if (visible)
        sendAppearance(controller, "viewDidAppear:"_sel);
}

} // namespace imp

const Class kRegistered = UIWindow::class_();

} // namespace

Class UIWindow::class_()
{
    static const Class cls = [] {
        UIView::class_();
        return ClassBuilder<UIWindow>("UIWindow", "UIView")
            .method("initWithFrame:", imp::initWithFrame)
            .method("init", imp::init)
            .property<&UIWindow::m_windowLevel>("windowLevel")
            .method("setHidden:", imp::setHidden)
            .method("makeKeyWindow", imp::makeKeyWindow)
            .method("makeKeyAndVisible", imp::makeKeyAndVisible)
            .method("isKeyWindow", imp::isKeyWindow)
            .classMethod("keyWindow", imp::keyWindow)
            .classMethod("createScreenIOSurface", imp::createScreenIOSurface)
            .method("rootViewController", imp::rootViewController)
            .method("setRootViewController:", imp::setRootViewController)
            .registerClass();
    }();
    return cls;
}

UIWindow::~UIWindow()
{
    g_windows.erase(std::remove(g_windows.begin(), g_windows.end(), this), g_windows.end());
    if (g_keyWindow == this)
        g_keyWindow = nil;
}

UIWindow *UIWindow::keyWindow()
{
    return g_keyWindow;
}

void UIWindow::makeKeyWindow()
{
    g_keyWindow = this;
}

namespace sim {

const std::vector<UIWindow *> &allWindows()
{
    return g_windows;
}

std::vector<UIWindow *> visibleWindowsBottomUp()
{
    std::vector<UIWindow *> visible;
    std::copy_if(g_windows.begin(), g_windows.end(), std::back_inserter(visible),
                 [](UIWindow *window) { return !window->isHidden(); });
    std::stable_sort(visible.begin(), visible.end(),
                     [](UIWindow *a, UIWindow *b) { return a->m_windowLevel < b->m_windowLevel; });
    return visible;
}

} // namespace sim
