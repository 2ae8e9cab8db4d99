#include "uikit/UIApplication.h"

#include "foundation/DeviceProfile.h"
#include "foundation/NSLog.h"
#include "uikit/UIWindow.h"

namespace {

std::function<void()> g_relaunchHandler;

namespace imp {

UIApplication *sharedApplication(id, SEL)
{
    return UIApplication::sharedApplication();
}

UIInterfaceOrientation statusBarOrientation(UIApplication *self, SEL)
{
    return self->statusBarOrientation();
}

UIWindow *keyWindow(UIApplication *self, SEL)
{
    return self->keyWindow();
}

NSArray *windows(UIApplication *self, SEL)
{
    return self->windows();
}

} // namespace imp

const Class kRegistered = UIApplication::class_();

} // namespace

Class UIApplication::class_()
{
    static const Class cls = ClassBuilder<UIApplication>("UIApplication", "NSObject")
                                 .classMethod("sharedApplication", imp::sharedApplication)
                                 .method("statusBarOrientation", imp::statusBarOrientation)
                                 .method("interfaceOrientation", imp::statusBarOrientation)
                                 .method("keyWindow", imp::keyWindow)
                                 .method("windows", imp::windows)
                                 .registerClass();
    return cls;
}

UIApplication *UIApplication::sharedApplication()
{
    static UIApplication *const application = sim::create<UIApplication>(class_());
    return application;
}

UIInterfaceOrientation UIApplication::statusBarOrientation() const
{
    int orientation = sim::DeviceProfile::current()->orientation;
    if (orientation < UIInterfaceOrientationPortrait ||
        orientation > UIInterfaceOrientationLandscapeLeft)
        return UIInterfaceOrientationPortrait;
    return static_cast<UIInterfaceOrientation>(orientation);
}

UIWindow *UIApplication::keyWindow() const
{
    return UIWindow::keyWindow();
}

NSArray *UIApplication::windows() const
{
    NSMutableArray *windows = NSMutableArray::array();
    for (UIWindow *window : sim::allWindows())
        windows->addObject(window);
    return windows;
}

namespace sim {

void setRelaunchHandler(std::function<void()> handler)
{
    g_relaunchHandler = std::move(handler);
}

void relaunch()
{
    if (!g_relaunchHandler) {
        NSLog("UIApplication: relaunch requested, but this process has no relaunch handler");
        return;
    }
    g_relaunchHandler();
}

} // namespace sim
