// UIApplicationMain: the principal class, the delegate, the launch and the main run loop.

#include "UIKitTest.h"
#include "foundation/NSString.h"
#include "uikit/UIApplication.h"

#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

std::vector<std::string> g_launches;
bool g_stopAtLaunch = true;

struct LaunchingApplication : UIApplication {};
struct OptionsDelegate : NSObject {};

void applicationDidFinishLaunching(NSObject *self, SEL, UIApplication *application)
{
    g_launches.push_back(std::string(object_getClassName(self)) + " launched " +
                         object_getClassName(application));
    if (g_stopAtLaunch)
        sim::stopApplicationMain();
}

BOOL didFinishLaunchingWithOptions(NSObject *self, SEL, UIApplication *application, id)
{
    applicationDidFinishLaunching(self, nullptr, application);
    return YES;
}

void registerClasses()
{
    static const bool registered = [] {
        UIApplication::class_();
        ClassBuilder<LaunchingApplication>("LaunchingApplication", "UIApplication")
            .method("applicationDidFinishLaunching:", applicationDidFinishLaunching)
            .registerClass();
        ClassBuilder<OptionsDelegate>("OptionsDelegate", "NSObject")
            .method("applicationDidFinishLaunching:", applicationDidFinishLaunching)
            .method("application:didFinishLaunchingWithOptions:", didFinishLaunchingWithOptions)
            .registerClass();
        return true;
    }();
    (void)registered;
}

class ApplicationMain : public UIKitTest {
protected:
    void SetUp() override
    {
        UIKitTest::SetUp();
        registerClasses();
        g_launches.clear();
        g_stopAtLaunch = true;
    }
};

TEST_F(ApplicationMain, ThePrincipalClassOrAnotherDelegateHearsTheLaunchAndTheLoopRunsUntilStopped)
{
    EXPECT_EQ(UIApplicationMain(0, nullptr, "LaunchingApplication"_ns, "LaunchingApplication"_ns),
              0);
    EXPECT_EQ((std::vector<std::string>{"LaunchingApplication launched LaunchingApplication"}),
              g_launches);
    UIApplication *shared = UIApplication::sharedApplication();
    EXPECT_STREQ(object_getClassName(shared), "LaunchingApplication");
    EXPECT_EQ(msg<id>(shared, "delegate"_sel), shared);
    // Launching again in the same process keeps the same application.
    EXPECT_EQ(UIApplicationMain(0, nullptr, "LaunchingApplication"_ns, "LaunchingApplication"_ns),
              0);
    EXPECT_EQ(UIApplication::sharedApplication(), shared);
    EXPECT_EQ(g_launches.size(), 2u);

    // Another delegate hears the launch with options.
    g_launches.clear();
    EXPECT_EQ(UIApplicationMain(0, nullptr, "LaunchingApplication"_ns, "OptionsDelegate"_ns), 0);
    EXPECT_EQ((std::vector<std::string>{"OptionsDelegate launched LaunchingApplication"}),
              g_launches);

    // The main loop runs until stopped from another thread.
    g_stopAtLaunch = false;
    std::thread stopper([] {
        sim::RunLoop::main().perform([] {
            g_launches.push_back("ran on the main loop");
            sim::stopApplicationMain();
        });
    });
    EXPECT_EQ(UIApplicationMain(0, nullptr, "LaunchingApplication"_ns, "LaunchingApplication"_ns),
              0);
    stopper.join();
    EXPECT_EQ(g_launches.back(), "ran on the main loop");
}

// The screen is attached with the program's arguments before the launch and detached after
// the loop; a screen that cannot be shown stops the program, with its status, before.
TEST_F(ApplicationMain, TheScreenIsAttachedAroundTheLaunch)
{
    std::optional<int> refusal;
    sim::setApplicationScreen({[&refusal](int argc, char **argv) {
                                   g_launches.push_back("attached with " + std::to_string(argc) +
                                                        " " + argv[1]);
                                   return refusal;
                               },
                               [] { g_launches.push_back("detached"); }});
    char program[] = "Program", option[] = "--port";
    char *arguments[] = {program, option, nullptr};
    EXPECT_EQ(UIApplicationMain(2, arguments, "LaunchingApplication"_ns, "LaunchingApplication"_ns),
              0);
    EXPECT_EQ((std::vector<std::string>{"attached with 2 --port",
                                        "LaunchingApplication launched LaunchingApplication",
                                        "detached"}),
              g_launches);

    g_launches.clear();
    refusal = 2;
    EXPECT_EQ(UIApplicationMain(2, arguments, "LaunchingApplication"_ns, "LaunchingApplication"_ns),
              2);
    EXPECT_EQ((std::vector<std::string>{"attached with 2 --port"}), g_launches);
    sim::setApplicationScreen({});
}

} // namespace
