#include "uikit/UIApplication.h"

#include "foundation/DeviceProfile.h"
#include "foundation/NSLog.h"
#include "foundation/NSString.h"
#include "foundation/RunLoop.h"
#include "uikit/UIWindow.h"

#include <atomic>
#include <mutex>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

std::function<void()> g_relaunchHandler;

std::mutex g_applicationLock;
StrongRef<UIApplication> g_application;
// Applications replaced by UIApplicationMain's: kept, since whoever asked for them may
// still hold them.
std::vector<StrongRef<UIApplication>> g_replacedApplications;
// The delegate UIApplicationMain made (the application does not retain its delegate).
StrongRef<objc_object> g_madeDelegate;
std::atomic<bool> g_stopRequested{false};
sim::ApplicationScreen g_screen;

// Makes an instance of `cls` the shared application, unless the shared one is already
// of that class.
UIApplication *installApplication(Class cls)
{
    std::lock_guard guard(g_applicationLock);
    if (g_application && msg<BOOL>(g_application, "isKindOfClass:"_sel, cls))
        return g_application;
    if (g_application)
        g_replacedApplications.push_back(g_application);
    g_application = StrongRef<UIApplication>::adopt(sim::create<UIApplication>(cls));
    return g_application;
}

Class classNamed(NSString *name, Class fallback)
{
    if (!name)
        return fallback;
    Class cls = objc_getClass(name->UTF8String());
    if (!cls)
        NSLog("UIApplicationMain: there is no class named %s", name->UTF8String());
    return cls;
}

// The application's delegate: the application itself when the names agree, else a new
// instance of the named class.
id makeDelegate(UIApplication *application, NSString *principalName, NSString *delegateName)
{
    if (!delegateName)
        return nil;
    if (principalName && delegateName->isEqualToString(principalName))
        return application;
    Class cls = classNamed(delegateName, Nil);
    if (!cls)
        return nil;
    g_madeDelegate = StrongRef<objc_object>::adopt(sim::create(cls));
    return g_madeDelegate;
}

void tellLaunched(UIApplication *application)
{
    id delegate = application->m_delegate;
    SEL withOptions = "application:didFinishLaunchingWithOptions:"_sel;
    SEL plain = "applicationDidFinishLaunching:"_sel;
    if (msg<BOOL, SEL>(delegate, "respondsToSelector:"_sel, withOptions))
        msg<BOOL, UIApplication *, id>(delegate, withOptions, application, nil);
    else if (msg<BOOL, SEL>(delegate, "respondsToSelector:"_sel, plain))
        msg<void, UIApplication *>(delegate, plain, application);
}

// The main loop runs until stopApplicationMain, also when it has nothing else to wait
// for: the application's event source is a descriptor that never becomes readable, as
// the platform's event port is when no events come.
void runUntilStopped()
{
    sim::RunLoop &loop = sim::RunLoop::main();
    int events = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    sim::RunLoop::SourceId source = loop.addFileDescriptor(events, [] {});
    while (!g_stopRequested)
        loop.run();
    loop.removeSource(source);
    close(events);
}

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

id delegate(UIApplication *self, SEL)
{
    return self->m_delegate;
}

void setDelegate(UIApplication *self, SEL, id delegate)
{
    self->m_delegate = delegate;
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
                                 .method("delegate", imp::delegate)
                                 .method("setDelegate:", imp::setDelegate)
                                 .registerClass();
    return cls;
}

UIApplication *UIApplication::sharedApplication()
{
    std::lock_guard guard(g_applicationLock);
    if (!g_application)
        g_application = StrongRef<UIApplication>::adopt(sim::create<UIApplication>(class_()));
    return g_application;
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

int UIApplicationMain(int argc, char **argv, NSString *principalClassName,
                      NSString *delegateClassName)
{
    if (g_screen.attach)
        if (std::optional<int> refusal = g_screen.attach(argc, argv))
            return *refusal;
    AutoreleasePool pool;
    Class principal = classNamed(principalClassName, UIApplication::class_());
    UIApplication *application =
        installApplication(principal ? principal : UIApplication::class_());
    StrongRef<UIApplication> keep(application);
    g_stopRequested = false;
    application->m_delegate = makeDelegate(application, principalClassName, delegateClassName);
    tellLaunched(application);
    runUntilStopped();
    if (g_screen.detach)
        g_screen.detach();
    return 0;
}

namespace sim {

void stopApplicationMain()
{
    g_stopRequested = true;
    RunLoop::main().stop();
}

void setApplicationScreen(ApplicationScreen screen)
{
    g_screen = std::move(screen);
}

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
