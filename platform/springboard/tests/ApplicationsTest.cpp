// Applications and each generation's app switcher as SpringBoard runs them, without extensions.

#include "SpringBoardTest.h"

#include "springboard/SBUIController.h"
#include "springboard/apps/ApplicationsHost.h"
#include "springboard/switcher/SwitcherHost.h"

#include <nlohmann/json.hpp>

#include <map>
#include <tuple>

namespace {

using sim::ApplicationsHost;
using sim::SpringBoardHost;
using sim::SwitcherHost;
using test::phoneProfile;

constexpr const char *kSafari = "com.apple.mobilesafari";
constexpr const char *kMail = "com.apple.mobilemail";
constexpr const char *kMessages = "com.apple.MobileSMS";
constexpr const char *kHome = "com.apple.springboard";

using Names = std::vector<std::string>;

bool applicationWindowShown()
{
    for (UIWindow *window : sim::visibleWindowsBottomUp())
        if (window->m_windowLevel == UIWindowLevelNormal + 1)
            return true;
    return false;
}

class Applications : public test::SpringBoardTest {};

TEST_F(Applications, LaunchSuspendAndEndInTheBackground)
{
    launch();
    EXPECT_FALSE(ApplicationsHost::launch(kMail)); // locked
    SpringBoardHost::unlock();
    // The profile's running applications are the first recently used.
    EXPECT_EQ(ApplicationsHost::dump()["recent"], (Names{kMessages, kSafari}));

    ASSERT_TRUE(ApplicationsHost::launch(kMail));
    nlohmann::json state = ApplicationsHost::dump();
    EXPECT_EQ(state["frontmost"], kMail);
    EXPECT_EQ(state["recent"], (Names{kMail, kMessages, kSafari}));
    EXPECT_TRUE(applicationWindowShown());

    SpringBoardHost::pressHome();
    state = ApplicationsHost::dump();
    EXPECT_TRUE(state["frontmost"].is_null());
    EXPECT_EQ(state["running"], (Names{kMail, kMessages, kSafari}));
    EXPECT_FALSE(applicationWindowShown());

    ASSERT_TRUE(ApplicationsHost::launch(kSafari));
    ASSERT_TRUE(ApplicationsHost::quit(kSafari)); // ended while in front: it leaves the screen
    state = ApplicationsHost::dump();
    EXPECT_TRUE(state["frontmost"].is_null());
    EXPECT_EQ(state["running"], (Names{kMail, kMessages}));
    EXPECT_EQ(state["recent"], (Names{kSafari, kMail, kMessages}));

    EXPECT_FALSE(ApplicationsHost::launch("com.example.missing"));
    EXPECT_FALSE(ApplicationsHost::quit("com.example.missing"));
}

class Switcher : public test::SpringBoardTest, public testing::WithParamInterface<double> {
protected:
    static void doublePress()
    {
        msg<void>(msg<id>(SBUIController::class_(), "sharedInstance"_sel),
                  "handleMenuDoubleTap"_sel);
    }
    static Names pages() { return SwitcherHost::dump().value("pages", Names{}); }
};

TEST_P(Switcher, ListsTheHomeScreenThenTheRecentApplications)
{
    launch(phoneProfile(GetParam()));
    EXPECT_FALSE(SwitcherHost::open()); // locked
    SpringBoardHost::unlock();
    ASSERT_TRUE(ApplicationsHost::launch(kMail));
    doublePress();
    ASSERT_TRUE(SwitcherHost::isOpen());
    EXPECT_TRUE(ApplicationsHost::dump()["frontmost"].is_null());
    EXPECT_EQ(pages(), (Names{kHome, kMail, kMessages, kSafari}));
    EXPECT_EQ(SwitcherHost::dump()["focused"], 1);

    // SpringBoard keeps the home screen's page; an application's goes, and ends it.
    EXPECT_FALSE(SwitcherHost::swipeUp(0));
    EXPECT_FALSE(SwitcherHost::swipeUp(4));
    EXPECT_TRUE(SwitcherHost::swipeUp(2));
    EXPECT_EQ(pages(), (Names{kHome, kMail, kSafari}));
    EXPECT_EQ(ApplicationsHost::dump()["running"], (Names{kMail, kSafari}));

    SpringBoardHost::pressHome();
    EXPECT_FALSE(SwitcherHost::isOpen());
    EXPECT_FALSE(SwitcherHost::tap(0));

    doublePress();
    EXPECT_TRUE(SwitcherHost::tap(2));
    EXPECT_FALSE(SwitcherHost::isOpen());
    EXPECT_EQ(ApplicationsHost::dump()["frontmost"], kSafari);
}

TEST_P(Switcher, EndedApplicationsStayListedAndTheHomePageJustCloses)
{
    launch(phoneProfile(GetParam()));
    SpringBoardHost::unlock();
    ASSERT_TRUE(ApplicationsHost::quit(kMessages));
    ASSERT_TRUE(SwitcherHost::open());
    EXPECT_EQ(pages(), (Names{kHome, kMessages, kSafari}));
    EXPECT_TRUE(SwitcherHost::tap(0));
    EXPECT_FALSE(SwitcherHost::isOpen());
    EXPECT_TRUE(ApplicationsHost::dump()["frontmost"].is_null());
}

// Counts the list changes sent as messages, then does what NSMutableArray does.
int g_listMessages = 0;
std::map<SEL, IMP> g_arrayMethods;

template <class Argument> void counted(id self, SEL cmd, Argument argument)
{
    ++g_listMessages;
    reinterpret_cast<void (*)(id, SEL, Argument)>(g_arrayMethods[cmd])(self, cmd, argument);
}

// The lists an extension reads (the app list, the slider's items, the deck's display
// items) change by message, so a replaced list method sees every change.
TEST_P(Switcher, ChangesTheListsAnExtensionSeesByMessage)
{
    launch(phoneProfile(GetParam()));
    SpringBoardHost::unlock();
    Class array = NSMutableArray::class_();
    const std::tuple<SEL, IMP, const char *> counting[] = {
        {"addObject:"_sel, IMP(counted<id>), "v@:@"},
        {"removeObject:"_sel, IMP(counted<id>), "v@:@"},
        {"removeObjectAtIndex:"_sel, IMP(counted<NSUInteger>), "v@:Q"}};
    for (auto [selector, replacement, types] : counting)
        g_arrayMethods[selector] = class_replaceMethod(array, selector, replacement, types);
    g_listMessages = 0;
    ASSERT_TRUE(SwitcherHost::open());
    int opening = g_listMessages;
    std::size_t shown = pages().size();
    EXPECT_GE(opening, static_cast<int>(shown)) << "one per page at least";
    EXPECT_TRUE(SwitcherHost::swipeUp(1));
    EXPECT_GT(g_listMessages, opening);
    EXPECT_EQ(pages().size(), shown - 1);
    for (auto [selector, replacement, types] : counting)
        class_replaceMethod(array, selector, g_arrayMethods[selector], types);
}

INSTANTIATE_TEST_SUITE_P(EachGeneration, Switcher,
                         testing::Values(sim::DeviceProfile::kIOS7CoreFoundation,
                                         sim::DeviceProfile::kIOS8CoreFoundation,
                                         sim::DeviceProfile::kIOS9CoreFoundation));

} // namespace
