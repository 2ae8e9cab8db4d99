// Navigation: push and pop, the appearance messages in their order, and the bar.

#include "UIKitTest.h"
#include "uikit/GestureInput.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIWindow.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_events;

struct NamedController : UIViewController {};

std::string nameOf(UIViewController *controller)
{
    return controller->m_title ? controller->m_title->str() : "?";
}

void viewDidLoad(NamedController *self, SEL)
{
    g_events.push_back(nameOf(self) + " load");
}

void appearance(NamedController *self, SEL _cmd, BOOL)
{
    std::string selector = sel_getName(_cmd);
    g_events.push_back(nameOf(self) + " " + selector.substr(0, selector.size() - 1));
}

void pressed(NamedController *self, SEL, id sender)
{
    g_events.push_back(nameOf(self) + " pressed by " + object_getClassName(sender));
}

Class controllerClass()
{
    static const Class cls = [] {
        UIViewController::class_();
        return ClassBuilder<NamedController>("NavigationTestController", "UIViewController")
            .method("viewDidLoad", viewDidLoad)
            .method("viewWillAppear:", appearance)
            .method("viewDidAppear:", appearance)
            .method("viewWillDisappear:", appearance)
            .method("viewDidDisappear:", appearance)
            .method("pressed:", pressed)
            .registerClass();
    }();
    return cls;
}

class Navigation : public UIKitTest {
protected:
    void SetUp() override
    {
        UIKitTest::SetUp();
        g_events.clear();
        first = controller("first");
        second = controller("second");
    }

    StrongRef<UIViewController> controller(const char *title)
    {
        auto made =
            StrongRef<UIViewController>::adopt(sim::create<UIViewController>(controllerClass()));
        msg<void, NSString *>(made, "setTitle:"_sel, NSString::stringWithUTF8String(title));
        return made;
    }

    UINavigationController *makeNavigation()
    {
        return autorelease(msg<UINavigationController *, UIViewController *>(
            msg<id>(UINavigationController::class_(), "alloc"_sel),
            "initWithRootViewController:"_sel, first.get()));
    }

    // The navigation controller as the root of a visible window.
    UINavigationController *showNavigation()
    {
        UINavigationController *navigation = makeNavigation();
        window = StrongRef<UIWindow>::adopt(sim::create<UIWindow>(UIWindow::class_()));
        msg<void>(window, "makeKeyAndVisible"_sel);
        msg<void, id>(window, "setRootViewController:"_sel, navigation);
        return navigation;
    }

    void push(UINavigationController *navigation, UIViewController *controller)
    {
        msg<void, UIViewController *, BOOL>(navigation, "pushViewController:animated:"_sel,
                                            controller, YES);
    }

    StrongRef<UIViewController> first;
    StrongRef<UIViewController> second;
    StrongRef<UIWindow> window;
};

TEST_F(Navigation, PushAndPopSendTheAppearanceMessagesInOrderAndTheBarFollows)
{
    UINavigationController *navigation = showNavigation();
    EXPECT_EQ(
        (std::vector<std::string>{"first load", "first viewWillAppear", "first viewDidAppear"}),
        g_events);
    EXPECT_EQ(msg<UIViewController *>(first, "navigationController"_sel), navigation);
    EXPECT_EQ(msg<UIViewController *>(first, "parentViewController"_sel), navigation);
    EXPECT_TRUE(first->m_view->isDescendantOfView(window));
    EXPECT_RECT_EQ(first->m_view->frame(), 0, 64, 320, 568 - 64);

    // Push and pop send the appearance messages in order.
    g_events.clear();
    push(navigation, second);
    EXPECT_EQ(
        (std::vector<std::string>{"second load", "first viewWillDisappear", "second viewWillAppear",
                                  "first viewDidDisappear", "second viewDidAppear"}),
        g_events);
    EXPECT_EQ(msg<UIViewController *>(navigation, "topViewController"_sel), second);
    EXPECT_EQ(msg<NSArray *>(navigation, "viewControllers"_sel)->count(), 2u);
    EXPECT_FALSE(first->m_view->isDescendantOfView(window));
    g_events.clear();
    EXPECT_EQ((msg<UIViewController *, BOOL>(navigation, "popViewControllerAnimated:"_sel, YES)),
              second);
    EXPECT_EQ((std::vector<std::string>{"second viewWillDisappear", "first viewWillAppear",
                                        "second viewDidDisappear", "first viewDidAppear"}),
              g_events);
    EXPECT_EQ(msg<UIViewController *>(second, "navigationController"_sel), nil);
    EXPECT_EQ((msg<UIViewController *, BOOL>(navigation, "popViewControllerAnimated:"_sel, YES)),
              nil)
        << "the root stays";

    // The bar shows the top item and a back button that pops.
    UINavigationBar *bar = msg<UINavigationBar *>(navigation, "navigationBar"_sel);
    EXPECT_EQ(bar->m_titleLabel->m_text->str(), "first");
    push(navigation, second);
    EXPECT_EQ(bar->m_titleLabel->m_text->str(), "second");
    ASSERT_TRUE(bar->m_buttonViews.size() >= 1 && bar->m_buttonViews[0]);
    msg<void>(bar, "layoutIfNeeded"_sel);
    CGRect back = bar->m_buttonViews[0]->frame();
    ASSERT_TRUE(sim::touchDown(window, {CGRectGetMidX(back), 20 + CGRectGetMidY(back)}));
    sim::touchUp({CGRectGetMidX(back), 20 + CGRectGetMidY(back)});
    EXPECT_EQ(msg<UIViewController *>(navigation, "topViewController"_sel), first);
    EXPECT_EQ(bar->m_titleLabel->m_text->str(), "first");
}

TEST_F(Navigation, OffScreenPushesWaitForTheNavigationControllerToAppearAndNoneRepeats)
{
    UINavigationController *navigation = makeNavigation();
    msg<UIView *>(navigation, "view"_sel);
    push(navigation, second);
    EXPECT_EQ((std::vector<std::string>{"first load", "second load"}), g_events);
    g_events.clear();
    msg<void, BOOL>(navigation, "viewWillAppear:"_sel, NO);
    EXPECT_EQ((std::vector<std::string>{"second viewWillAppear"}), g_events);
    // A controller already on the stack is not pushed again.
    push(navigation, first);
    EXPECT_EQ(msg<NSArray *>(navigation, "viewControllers"_sel)->count(), 2u);
}

TEST_F(Navigation, BarButtonsSendTheirActionWithTheItemAndTheTintColoursTheBar)
{
    UINavigationController *navigation = showNavigation();
    auto *item = autorelease(msg<UIBarButtonItem *, NSString *, UIBarButtonItemStyle, id, SEL>(
        msg<id>(UIBarButtonItem::class_(), "alloc"_sel), "initWithTitle:style:target:action:"_sel,
        "Reset"_ns, UIBarButtonItemStylePlain, first.get(), "pressed:"_sel));
    msg<void, UIBarButtonItem *>(first->navigationItem(), "setRightBarButtonItem:"_sel, item);
    UINavigationBar *bar = msg<UINavigationBar *>(navigation, "navigationBar"_sel);
    ASSERT_EQ(bar->m_buttonViews.size(), 2u) << "an empty leading slot, then the item";
    sim::pressBarButton(item);
    EXPECT_EQ(g_events.back(), "first pressed by UIBarButtonItem");
    msg<void, BOOL>(item, "setEnabled:"_sel, NO);
    g_events.clear();
    sim::pressBarButton(item);
    EXPECT_TRUE(g_events.empty());

    // The bar tint colours the bar's background.
    UIColor *red = UIColor::colorWithRedGreenBlueAlpha(1, 0, 0, 1);
    msg<void, UIColor *>(bar, "setBarTintColor:"_sel, red);
    EXPECT_TRUE(bar->m_backgroundColor->isEqualToColor(red));
}

} // namespace
