// The application object and its navigation stack, as the application launches them.

#include "CorvaneAppApplication.h"
#include "RootViewController.h"
#include "SamplePanel.h"

#include "foundation/DeviceRoot.h"
#include "uikit/UIApplication.h"
#include "uikit/UIScreen.h"
#include "uikit/UIWindow.h"
#include "uikit/tests/UIKitTest.h"

#include <filesystem>

namespace {

// The interface tests' phone, the sample panel as the root page's class, and the
// application's window showing it, made as the application makes it.
class SettingsAppTest : public UIKitTest {
protected:
    void SetUp() override
    {
        UIKitTest::SetUp();
        sample::registerClasses();
        sample::panel() = {};
        gCVRootListControllerClass = objc_getClass("SampleRootPage");
    }

    void TearDown() override
    {
        if (window)
            msg<void, BOOL>(window.get(), "setHidden:"_sel, YES);
        gCVRootListControllerClass = Nil;
    }

    // The window with a RootViewController as its root, key and visible, laid out.
    RootViewController *showPanel()
    {
        window = makeView<UIWindow>(UIWindow::class_(), UIScreen::mainScreen()->bounds());
        auto *controller = static_cast<RootViewController *>(
            autorelease(msg<id>(msg<id>(RootViewController::class_(), "alloc"_sel), "init"_sel)));
        msg<void>(window.get(), "setRootViewController:"_sel, controller);
        msg<void>(window.get(), "makeKeyAndVisible"_sel);
        runOneTurn();
        return controller;
    }

    StrongRef<UIWindow> window;
};

using RootViewControllerTest = SettingsAppTest;

PSListController *rootListControllerOf(RootViewController *controller)
{
    return msg<PSListController *>(controller, "rootListController"_sel);
}

} // namespace

TEST_F(RootViewControllerTest, ShowsThePanelsRootPageFirstAndMakesItOnce)
{
    RootViewController *controller = showPanel();
    PSListController *page = rootListControllerOf(controller);
    ASSERT_TRUE(page);
    EXPECT_EQ(object_getClass(page), objc_getClass("SampleRootPage"));
    EXPECT_EQ(msg<UIViewController *>(controller, "topViewController"_sel), page);

    // The page knows the stack it is in and the row that names it.
    EXPECT_EQ(msg<id>(page, "rootController"_sel), controller);
    EXPECT_EQ(msg<id>(page, "parentController"_sel), controller);
    auto *specifier = msg<PSSpecifier *>(page, "specifier"_sel);
    ASSERT_TRUE(specifier);
    EXPECT_EQ(specifier->m_name->str(), "Corvane");
    EXPECT_EQ(specifier->m_target, controller);

    // The page pushed when the view loaded is the one asked for afterwards: made once.
    EXPECT_EQ(rootListControllerOf(controller), page);
    EXPECT_EQ(sample::panel().rootPagesMade, 1);
}

// Without the panel's bundle on the device, launching shows an empty window and nothing
// else, as the phone does.
TEST_F(SettingsAppTest, LaunchingWithoutTheBundleShowsAnEmptyWindow)
{
    std::string root = testing::TempDir() + "corvane-app-test";
    std::filesystem::remove_all(root);
    sim::setDeviceRoot(root);
    gCVRootListControllerClass = objc_getClass("SampleRootPage");
    auto *application = static_cast<CorvaneAppApplication *>(
        sim::create<UIApplication>(CorvaneAppApplication::class_()));
    msg<void, id>(application, "applicationDidFinishLaunching:"_sel, application);

    EXPECT_FALSE(gCVRootListControllerClass);
    UIWindow *shown = msg<UIWindow *>(application, "window"_sel);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(shown->isKeyWindow());
    EXPECT_FALSE(shown->isHidden());
    id controller = shown->m_rootViewController;
    EXPECT_EQ(controller, application->m_viewController.get());
    EXPECT_FALSE(msg<UIViewController *>(controller, "topViewController"_sel));
    EXPECT_EQ(msg<NSArray *>(controller, "viewControllers"_sel)->count(), 0u);
    msg<void, BOOL>(shown, "setHidden:"_sel, YES);
    objc_release(application);
}
