// The root page: the master switch and the section links, the settings-changed banner,
// and the restart it offers.

#include "PanelTestSupport.h"

#include "darwin/notify.h"
#include "foundation/NSNotificationCenter.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIWindow.h"

namespace {

using namespace paneltest;
using Rows = std::vector<std::string>;

class RootPage : public PanelTest {
protected:
    void TearDown() override
    {
        for (const sim::VisibleAlert &alert : sim::visibleAlerts())
            sim::pressAlertButton(alert.alert, 0);
        PanelTest::TearDown();
    }

    static std::size_t bannerWindows()
    {
        std::size_t count = 0;
        for (UIWindow *window : sim::visibleWindowsBottomUp())
            if (window->m_windowLevel == UIWindowLevelStatusBar + 10)
                ++count;
        return count;
    }
};

TEST_F(RootPage, TheMasterSwitchShowsAndHidesTheTenSectionLinks)
{
    auto root = makePage("RootListController");
    Rows links = {"S|Enabled|enabled", "G||",
                  "K|Animations|",     "K|App Slider|",
                  "K|Control Center|", "K|Dock|",
                  "K|Folders|",        "K|Icons|",
                  "K|Lock Screen|",    "K|Notification Center|",
                  "K|Pages|",          "K|Status Bar|"};
    EXPECT_EQ(rowsOf(root), links);

    setValue(root, "enabled", boolean(false));
    EXPECT_FALSE(gCVGlobal.enabled);
    EXPECT_EQ(rowsOf(root), (Rows{"S|Enabled|enabled"}));
    NSDictionary *global = static_cast<NSDictionary *>(settingsFile()->objectForKey("CVGlobal"_ns));
    EXPECT_EQ(describe(global->objectForKey("enabled"_ns)), "0");
    EXPECT_TRUE(updates(0).empty()); // the master switch has no live update

    setValue(root, "enabled", boolean(true));
    EXPECT_EQ(rowsOf(root), links);
}

TEST_F(RootPage, LinksOpenTheirPagesAndCarryTheirIcons)
{
    auto root = makePage("RootListController");
    auto *rows = msg<NSArray *>(root.get(), "specifiers"_sel);
    auto *statusBar = static_cast<PSSpecifier *>(rows->lastObject());
    EXPECT_STREQ(class_getName(statusBar->m_detailControllerClass), "StatusBarListController");
    std::string icon = describe(statusBar->propertyForKey("icon"_ns));
    EXPECT_TRUE(icon.ends_with("/icons/StatusBar.png")) << icon;
    auto *appSlider = static_cast<PSSpecifier *>(rows->objectAtIndex(3));
    EXPECT_TRUE(describe(appSlider->propertyForKey("icon"_ns)).ends_with("/icons/AppSlider.png"));
}

TEST_F(RootPage, ASecondSettingsChangedNoticeDoesNotStackABanner)
{
    auto root = makePage("RootListController");
    msg<id>(root.get(), "specifiers"_sel); // starts listening
    std::size_t before = bannerWindows();  // banners of earlier pages may still slide out
    NSNotificationCenter *center = NSNotificationCenter::defaultCenter();
    center->postNotificationNameObject("CV3ShowSettingsChangedNotification"_ns, nil);
    EXPECT_EQ(bannerWindows(), before + 1);
    center->postNotificationNameObject("CV3ShowSettingsChangedNotification"_ns, nil);
    EXPECT_EQ(bannerWindows(), before + 1);
}

// "Respring" posts the apply notification; "Dismiss" posts nothing.
TEST_F(RootPage, TheRespringConfirmationPostsTheApplyNotificationOnlyOnRespring)
{
    int token = 0;
    ASSERT_EQ(notify_register_check("com.kestrelworks.corvane3.applySettings", &token), 0u);
    int posted = 0;
    notify_check(token, &posted); // the first check always answers true
    auto root = makePage("RootListController");
    for (NSInteger button : {0, 1}) {
        msg<void>(root.get(), "confirmRespring"_sel);
        std::vector<sim::VisibleAlert> alerts = sim::visibleAlerts();
        ASSERT_EQ(alerts.size(), 1u);
        EXPECT_EQ(alerts[0].title, "Corvane");
        EXPECT_EQ(alerts[0].message, "Would you like to respring now?");
        EXPECT_EQ(alerts[0].buttons, (std::vector<std::string>{"Dismiss", "Respring"}));
        EXPECT_EQ(msg<NSInteger>(alerts[0].alert, "tag"_sel), 87188);
        ASSERT_TRUE(sim::pressAlertButton(alerts[0].alert, button));
        notify_check(token, &posted);
        EXPECT_EQ(posted, button) << "button " << button;
    }
    notify_cancel(token);
}

TEST_F(RootPage, TheResetConfirmationOfASectionPageResetsOnConfirm)
{
    auto page = makePage("DockListController");
    gCVDock.hideBackground = true;
    msg<void>(page.get(), "showResetConfirmation:"_sel, nil);
    std::vector<sim::VisibleAlert> alerts = sim::visibleAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].message, "This will reset all the settings for this section.");
    EXPECT_EQ(alerts[0].buttons, (std::vector<std::string>{"Cancel", "Reset"}));
    EXPECT_EQ(msg<NSInteger>(alerts[0].alert, "tag"_sel), 66);
    ASSERT_TRUE(sim::pressAlertButton(alerts[0].alert, 1));
    EXPECT_FALSE(gCVDock.hideBackground);
}

class Marquee : public PanelTest {
protected:
    StrongRef<UIView> labelWithText(const char *text)
    {
        id label = msg<id, CGRect>(msg<id>(objc_getClass("MarqueeLabel"), "alloc"_sel),
                                   "initWithFrame:"_sel, CGRect{{0, 0}, {100, 20}});
        msg<void>(label, "setText:"_sel, NSString::stringWithUTF8String(text));
        return StrongRef<UIView>::adopt(static_cast<UIView *>(label));
    }
};

// A text that fits inside the margins stays still; a wider one scrolls left by its overflow.
TEST_F(Marquee, OnlyAWiderTextScrollsLeftByItsOverflow)
{
    EXPECT_EQ(labelWithText("Hi")->m_subviews.size(), 0u);
    auto label = labelWithText("Settings Changed, tap to apply, and then some more text");
    ASSERT_EQ(label->m_subviews.size(), 1u);
    UIView *image = label->m_subviews[0].get();
    CGRect frame = msg<CGRect>(image, "frame"_sel);
    CGFloat textWidth = msg<CGSize>(label.get(), "sizeThatFits:"_sel, CGSize{1e6, 20}).width;
    EXPECT_DOUBLE_EQ(frame.size.width, textWidth + 20);
    // The model value is the end of the scroll: the text's right margin at the right edge.
    EXPECT_DOUBLE_EQ(frame.origin.x, 100 - (textWidth + 20));
}

} // namespace
