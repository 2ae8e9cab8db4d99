// Alerts on screen: listed, pressed, and what their delegate hears.

#include "UIKitTest.h"
#include "uikit/UIAlertView.h"

#include <string>
#include <vector>

namespace {

struct AlertListener : NSObject {
    std::vector<std::string> m_calls;
};

void clicked(AlertListener *self, SEL, UIAlertView *, NSInteger index)
{
    self->m_calls.push_back("clicked " + std::to_string(index));
}

void didDismiss(AlertListener *self, SEL, UIAlertView *, NSInteger index)
{
    self->m_calls.push_back("dismissed " + std::to_string(index));
}

Class listenerClass()
{
    static const Class cls = ClassBuilder<AlertListener>("AlertListener", "NSObject")
                                 .method("alertView:clickedButtonAtIndex:", clicked)
                                 .method("alertView:didDismissWithButtonIndex:", didDismiss)
                                 .registerClass();
    return cls;
}

UIAlertView *makeAlert(id delegate, NSString *other)
{
    id alert = msg<id, NSString *, NSString *, id, NSString *, NSString *>(
        msg<id>(UIAlertView::class_(), "alloc"_sel),
        "initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:"_sel, "Corvane"_ns,
        "Not supported."_ns, delegate, "Cancel"_ns, other);
    return static_cast<UIAlertView *>(autorelease(alert));
}

class Alerts : public UIKitTest {
protected:
    AlertListener *listener = sim::make<AlertListener>(listenerClass());
};

TEST_F(Alerts, AShownAlertIsListedAndAPressReachesItsDelegate)
{
    UIAlertView *alert = makeAlert(listener, "OK"_ns);
    EXPECT_EQ((msg<NSInteger, NSString *>(alert, "addButtonWithTitle:"_sel, "Later"_ns)), 2);
    EXPECT_TRUE(sim::visibleAlerts().empty());
    msg<void>(alert, "show"_sel);

    std::vector<sim::VisibleAlert> shown = sim::visibleAlerts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].alert, alert);
    EXPECT_EQ(shown[0].buttons, (std::vector<std::string>{"Cancel", "OK", "Later"}));
    // The alert is on screen, in a window above the others.
    UIWindow *window = alert->window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->m_windowLevel, UIWindowLevelAlert);
    EXPECT_FALSE(window->isHidden());

    EXPECT_FALSE(sim::pressAlertButton(alert, 3));
    EXPECT_TRUE(listener->m_calls.empty());
    EXPECT_TRUE(sim::pressAlertButton(alert, 1));
    EXPECT_EQ(listener->m_calls, (std::vector<std::string>{"clicked 1", "dismissed 1"}));
    EXPECT_TRUE(sim::visibleAlerts().empty());
    EXPECT_FALSE(msg<BOOL>(alert, "isVisible"_sel));
    EXPECT_FALSE(sim::pressAlertButton(alert, 0));

    // An alert without delegate still dismisses.
    alert = makeAlert(nil, nil);
    EXPECT_EQ(msg<NSInteger>(alert, "numberOfButtons"_sel), 1);
    EXPECT_EQ(msg<NSInteger>(alert, "cancelButtonIndex"_sel), 0);
    msg<void>(alert, "show"_sel);
    EXPECT_TRUE(sim::pressAlertButton(alert, 0));
    EXPECT_TRUE(sim::visibleAlerts().empty());

    // Only a plain text input alert carries a text field, and only one.
    EXPECT_EQ((msg<id, NSInteger>(alert, "textFieldAtIndex:"_sel, 0)), nullptr);
    msg<void, UIAlertViewStyle>(alert, "setAlertViewStyle:"_sel, UIAlertViewStylePlainTextInput);
    EXPECT_NE((msg<id, NSInteger>(alert, "textFieldAtIndex:"_sel, 0)), nullptr);
    EXPECT_EQ((msg<id, NSInteger>(alert, "textFieldAtIndex:"_sel, 1)), nullptr);
}

} // namespace
