#include "CorvaneAppApplication.h"

#include "foundation/NSBundle.h"
#include "objc/runtime.h"
#include "uikit/UIScreen.h"

namespace {

namespace imp {

// A bundle that is missing or does not load leaves the class nil; nothing is shown then.
void loadSettingsBundle()
{
    NSBundle *bundle =
        NSBundle::bundleWithPath(NSString::stringWithUTF8String(kCVSettingsBundlePath));
    msg<BOOL>(bundle, "load"_sel);
    gCVRootListControllerClass = msg<Class>(bundle, "principalClass"_sel);
}

void applicationDidFinishLaunching(CorvaneAppApplication *self, SEL, id)
{
    loadSettingsBundle();
    id window = msg<id>(UIWindow::class_(), "alloc"_sel);
    window = msg<id, CGRect>(window, "initWithFrame:"_sel, UIScreen::mainScreen()->bounds());
    self->m_window = StrongRef<UIWindow>::adopt(static_cast<UIWindow *>(window));
    id controller = msg<id>(msg<id>(RootViewController::class_(), "alloc"_sel), "init"_sel);
    self->m_viewController =
        StrongRef<RootViewController>::adopt(static_cast<RootViewController *>(controller));
    if (class_respondsToSelector(UIWindow::class_(), "setRootViewController:"_sel))
        msg<void>(window, "setRootViewController:"_sel, controller);
    else
        msg<void>(window, "addSubview:"_sel, msg<UIView *>(controller, "view"_sel));
    msg<void>(window, "makeKeyAndVisible"_sel);
}

UIWindow *window(CorvaneAppApplication *self, SEL)
{
    return self->m_window;
}

} // namespace imp

const Class kRegistered = CorvaneAppApplication::class_();

} // namespace

Class CorvaneAppApplication::class_()
{
    static const Class cls = [] {
        UIApplication::class_();
        return ClassBuilder<CorvaneAppApplication>("CorvaneAppApplication", "UIApplication")
            .ivar("_window", &CorvaneAppApplication::m_window)
            .ivar("_viewController", &CorvaneAppApplication::m_viewController)
            .method("applicationDidFinishLaunching:", imp::applicationDidFinishLaunching)
            .method("window", imp::window)
            .registerClass();
    }();
    return cls;
}
