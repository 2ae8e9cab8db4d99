// The application, its windows and controllers, and what the device profile decides.

#include "UIKitTest.h"
#include "uikit/UIApplication.h"
#include "uikit/UIDevice.h"
#include "uikit/UIScreen.h"
#include "uikit/UIViewController.h"
#include "uikit/UIWindow.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_events;

struct RecordingController : UIViewController {};

void loadView(RecordingController *self, SEL)
{
    g_events.push_back("loadView");
    self->m_view = StrongRef<UIView>::adopt(sim::create<UIView>(UIView::class_()));
}

Class controllerClass()
{
    static const Class cls = [] {
        UIViewController::class_();
        return ClassBuilder<RecordingController>("RecordingController", "UIViewController")
            .method("loadView", loadView)
            .method(
                "viewDidLoad",
                +[](RecordingController *, SEL) { g_events.push_back("viewDidLoad"); })
            .method(
                "viewWillAppear:",
                +[](RecordingController *, SEL, BOOL) { g_events.push_back("viewWillAppear"); })
            .method(
                "viewDidAppear:",
                +[](RecordingController *, SEL, BOOL) { g_events.push_back("viewDidAppear"); })
            .registerClass();
    }();
    return cls;
}

class Application : public UIKitTest {
protected:
    void SetUp() override
    {
        UIKitTest::SetUp();
        g_events.clear();
    }
};

TEST_F(Application, AControllersViewLoadsOnceWhenFirstAskedForAndAWindowShowsIt)
{
    auto *controller = sim::make<UIViewController>(controllerClass());
    EXPECT_FALSE(msg<BOOL>(controller, "isViewLoaded"_sel));
    UIView *view = msg<UIView *>(controller, "view"_sel);
    EXPECT_EQ(msg<UIView *>(controller, "view"_sel), view);
    EXPECT_EQ(g_events, (std::vector<std::string>{"loadView", "viewDidLoad"}));

    // The plain controller's own view is as large as the screen.
    auto *plain = sim::make<UIViewController>(UIViewController::class_());
    EXPECT_RECT_EQ(msg<CGRect>(msg<UIView *>(plain, "view"_sel), "frame"_sel), 0, 0, 320, 568);

    // A window shows its root controller and becomes key.
    g_events.clear();
    auto *window = sim::make<UIWindow>(UIWindow::class_());
    EXPECT_RECT_EQ(msg<CGRect>(window, "frame"_sel), 0, 0, 320, 568);
    EXPECT_TRUE(msg<BOOL>(window, "isHidden"_sel));
    controller = sim::make<UIViewController>(controllerClass());
    msg<void>(window, "setRootViewController:"_sel, controller);
    EXPECT_EQ(g_events, (std::vector<std::string>{"loadView", "viewDidLoad"}));
    msg<void>(window, "makeKeyAndVisible"_sel);
    EXPECT_EQ(g_events, (std::vector<std::string>{"loadView", "viewDidLoad", "viewWillAppear",
                                                  "viewDidAppear"}));
    view = msg<UIView *>(controller, "view"_sel);
    EXPECT_EQ(msg<UIView *>(view, "window"_sel), window);
    EXPECT_RECT_EQ(msg<CGRect>(view, "frame"_sel), 0, 0, 320, 568);

    UIApplication *application =
        msg<UIApplication *>(UIApplication::class_(), "sharedApplication"_sel);
    EXPECT_EQ(msg<UIWindow *>(application, "keyWindow"_sel), window);
    EXPECT_TRUE(msg<NSArray *>(application, "windows"_sel)->containsObject(window));
}

TEST_F(Application, TheProfileDecidesOrientationScreenAndBoldText)
{
    sim::DeviceProfile landscape = *sim::DeviceProfile::current();
    landscape.orientation = UIInterfaceOrientationLandscapeLeft;
    landscape.boldText = true;
    sim::DeviceProfile::setCurrent(landscape);
    UIApplication *application = UIApplication::sharedApplication();
    EXPECT_EQ(msg<UIInterfaceOrientation>(application, "statusBarOrientation"_sel),
              UIInterfaceOrientationLandscapeLeft);
    EXPECT_TRUE(UIAccessibilityIsBoldTextEnabled());
    // From iOS 8 the screen's bounds follow the interface orientation; iOS 7's do not.
    UIScreen *screen = msg<UIScreen *>(UIScreen::class_(), "mainScreen"_sel);
    EXPECT_RECT_EQ(msg<CGRect>(screen, "bounds"_sel), 0, 0, 568, 320);
    landscape.coreFoundationVersion = sim::DeviceProfile::kIOS7CoreFoundation;
    sim::DeviceProfile::setCurrent(landscape);
    EXPECT_RECT_EQ(msg<CGRect>(screen, "bounds"_sel), 0, 0, 320, 568);
    EXPECT_EQ(msg<CGFloat>(screen, "scale"_sel), 2);
}

TEST_F(Application, ColoursClampTheirComponentsAndCompareByValue)
{
    auto *color = msg<UIColor *, CGFloat, CGFloat, CGFloat, CGFloat>(
        UIColor::class_(), "colorWithRed:green:blue:alpha:"_sel, 0.2, 0.4, 1.5, 0.5);
    CGFloat red, green, blue, alpha;
    EXPECT_TRUE((msg<BOOL, CGFloat *, CGFloat *, CGFloat *, CGFloat *>(
        color, "getRed:green:blue:alpha:"_sel, &red, &green, &blue, &alpha)));
    EXPECT_EQ(blue, 1.0);
    EXPECT_EQ(CGColorGetComponents(msg<CGColorRef>(color, "CGColor"_sel))[2], 1.0);
    auto *white = msg<UIColor *>(UIColor::class_(), "whiteColor"_sel);
    EXPECT_TRUE(msg<BOOL>(white, "isEqual:"_sel, UIColor::colorWithWhiteAlpha(1, 1)));
    EXPECT_FALSE(msg<BOOL>(white, "isEqual:"_sel, UIColor::clearColor()));
}

} // namespace
