// The app switcher of each generation (the iOS 7 slider, the iOS 8 switcher, the iOS 9 card
// deck) after Safari and then Mail were used and the system ended Messages: it lists Mail,
// Safari, Messages (not running).

#include "springboard-extension/frame/tests/ExtensionTest.h"

#include "springboard/SpringBoardState.h"
#include "springboard/apps/ApplicationsHost.h"
#include "springboard/switcher/SBAppSliderController.h"
#include "springboard/switcher/SBAppSwitcherController.h"
#include "springboard/switcher/SBDeckSwitcherViewController.h"
#include "springboard/switcher/SwitcherHost.h"
#include "uikit/UIApplication.h"

#include <nlohmann/json.hpp>

#include <functional>

namespace {

using sim::DeviceProfile;
using sim::SwitcherHost;
using Pages = std::vector<std::string>;

constexpr const char *kMail = "com.apple.mobilemail";
constexpr const char *kSafari = "com.apple.mobilesafari";
constexpr const char *kMessages = "com.apple.MobileSMS";
constexpr const char *kHome = "com.apple.springboard";

int g_relaunches = 0;

class Switcher : public test::ExtensionTest, public testing::WithParamInterface<double> {
protected:
    Switcher() : ExtensionTest({"AppSliderInit", "AppSwitcherInit", "DeckSwitcherInit"}) {}
    void TearDown() override
    {
        sim::setRelaunchHandler({});
        ExtensionTest::TearDown();
    }

    static void launchWithApps(double generation)
    {
        launchWithExtension(test::phoneProfile(generation));
        g_relaunches = 0;
        sim::setRelaunchHandler([] { ++g_relaunches; });
        sim::SpringBoardHost::unlock();
        for (const char *application : {kSafari, kMail}) {
            ASSERT_TRUE(sim::ApplicationsHost::launch(application));
            sim::SpringBoardHost::pressHome();
        }
        ASSERT_TRUE(sim::ApplicationsHost::quit(kMessages));
    }
    // Opens the switcher afresh and answers its dump section.
    static nlohmann::json openSwitcher()
    {
        SwitcherHost::close();
        EXPECT_TRUE(SwitcherHost::open());
        return SwitcherHost::dump();
    }
    static Pages pages() { return SwitcherHost::dump().value("pages", Pages{}); }
    template <typename Controller> static Controller *controller()
    {
        return static_cast<Controller *>(sim::springBoardState().switcherController.get());
    }
    // The dump of an application's snapshot view in the open switcher, with what dims it:
    // "containerAlpha", "rasterized" and "snapshotFilters".
    static nlohmann::json snapshotOf(const std::string &identifier)
    {
        std::function<nlohmann::json(const nlohmann::json &)> find =
            [&](const nlohmann::json &view) {
                if (view.value("displayIdentifier", "") == identifier &&
                    view.contains("snapshotFilters"))
                    return view;
                for (const nlohmann::json &child : view.value("children", nlohmann::json::array()))
                    if (nlohmann::json found = find(child); !found.is_null())
                        return found;
                return nlohmann::json();
            };
        for (const nlohmann::json &window : sim::SpringBoardHost::dumpWindows())
            if (nlohmann::json found = find(window); !found.is_null())
                return found;
        ADD_FAILURE() << "no snapshot of " << identifier;
        return nullptr;
    }
};

// Inactive applications are shown as they are, blurred (and rasterised), darkened, or
// left out, each generation through its own controller.
TEST_P(Switcher, InactiveAppsAreShownBlurredDarkenedOrLeftOutAndCardsScale)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchWithApps(GetParam());
    gCVAppSlider.appsMode = 2;
    openSwitcher();
    EXPECT_EQ(snapshotOf(kMessages)["snapshotFilters"],
              nlohmann::json::parse(R"([{"name":"gaussianBlur","inputRadius":8.0}])"));
    EXPECT_EQ(snapshotOf(kMessages)["rasterized"], true);
    EXPECT_EQ(snapshotOf(kMail)["rasterized"], false);
    gCVAppSlider.appsMode = 3;
    openSwitcher();
    EXPECT_EQ(snapshotOf(kMessages)["containerAlpha"], 0.5);
    EXPECT_EQ(snapshotOf(kMessages)["snapshotFilters"], nlohmann::json::array());
    gCVAppSlider.appsMode = 1;
    nlohmann::json shown = openSwitcher();
    EXPECT_EQ(pages(), (Pages{kHome, kMail, kSafari}));

    if (GetParam() == DeviceProfile::kIOS7CoreFoundation) {
        // Left out of the app list; scrolling past the end lands on the last page.
        EXPECT_EQ(shown["appList"], (Pages{kMail, kSafari}));
        EXPECT_EQ(controller<SBAppSliderController>()->m_appListAccessDepth, 0);
        EXPECT_TRUE(SwitcherHost::scroll(3));
        EXPECT_EQ(SwitcherHost::dump()["focused"], 2);
    } else if (GetParam() == DeviceProfile::kIOS8CoreFoundation) {
        // A page of two applications stays, even with one of them not running.
        NSMutableArray *list = controller<SBAppSwitcherController>()->m_appList;
        list->addObject(SBDisplayLayout::layoutWithItems(
            NSArray::arrayWithObjects({SBDisplayItem::itemWithIdentifier(kMessages),
                                       SBDisplayItem::itemWithIdentifier(kMail)})));
        msg<void>(controller<SBAppSwitcherController>(), "_layout"_sel);
        EXPECT_EQ(pages(), (Pages{kHome, kMail, kSafari, kMessages}));
    } else {
        // Left out through removeDisplayItem:… with its own reason; the deck stays in step.
        EXPECT_EQ(controller<SBDeckSwitcherViewController>()->m_displayItems->count(), 3u);
        EXPECT_TRUE(SwitcherHost::tap(2));
        EXPECT_EQ(sim::ApplicationsHost::dump()["frontmost"], kSafari);

        // The deck's presented scale follows the factor only fully presented, up to 0.9;
        // hidden icons read and write as transparent, and SpringBoard's own opacity is kept.
        openSwitcher();
        auto *deck = controller<SBDeckSwitcherViewController>();
        auto presentedScale = [deck](CGFloat progress) {
            return msg<CGFloat, CGFloat>(deck, "_scaleForPresentedProgress:"_sel, progress);
        };
        for (double factor : {0.02, 1.0, 1.2, 1.21, 2.0}) {
            gCVAppSlider.pageScaleFactor = factor;
            EXPECT_DOUBLE_EQ(presentedScale(0.5), 0.85) << factor;
            EXPECT_DOUBLE_EQ(presentedScale(1.0), factor > 1.2 ? 0.9f : factor * 0.75) << factor;
        }

        gCVAppSlider.hideIcons = true;
        openSwitcher();
        SBDeckSwitcherItemContainer *card = deck->containerAt(1);
        EXPECT_EQ(card->m_titleLabel->alpha(), 0);
        EXPECT_EQ(card->m_iconView->alpha(), 0);
        gCVAppSlider.hideIcons = false;
        msg<void, CGFloat>(card, "setTitleOpacity:"_sel, 0.4);
        gCVAppSlider.hideIcons = true;
        EXPECT_EQ(msg<CGFloat>(card, "titleOpacity"_sel), 0);
        EXPECT_EQ(msg<CGFloat>(card, "titleAndIconOpacity"_sel), 0);
        EXPECT_NEAR(card->m_titleOpacity, 0.4, 1e-6);
    }
}

// The home page goes only when asked (and its app's page ends its app); only the respring
// action relaunches SpringBoard. Pages scale and hidden icons leave them without icons.
TEST_P(Switcher, PagesScaleIconsHideAndTheHomePageGoesOnlyWhenAsked)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchWithApps(GetParam());
    bool deck = GetParam() == DeviceProfile::kIOS9CoreFoundation;
    if (!deck) {
        // The slider's and the switcher's page scale takes the factor above 0.02, the full
        // screen scale its inverse; SpringBoard's own are 0.55 and 1 / 0.55.
        for (double factor : {0.01, 0.02, 1.2, 2.0}) {
            gCVAppSlider.pageScaleFactor = factor;
            nlohmann::json shown = openSwitcher();
            double applied = factor > 0.02 ? factor : 1.0;
            EXPECT_DOUBLE_EQ(shown["pageScale"].get<double>(), 0.55 * applied) << factor;
            EXPECT_DOUBLE_EQ(shown["fullscreenScale"].get<double>(), 1 / 0.55 / applied);
        }
        gCVAppSlider.hideIcons = true;
        EXPECT_TRUE(openSwitcher()["visibleIcons"].empty());
    }
    gCVAppSlider.homeAction = 0;
    openSwitcher();
    EXPECT_FALSE(SwitcherHost::swipeUp(0));
    EXPECT_TRUE(SwitcherHost::swipeUp(3)); // an app's page goes, and its app ends
    EXPECT_EQ(pages(), (Pages{kHome, kMail, kSafari}));
    if (deck) {
        gCVAppSlider.homeAction = 2;
        EXPECT_TRUE(SwitcherHost::swipeUp(0));
        EXPECT_EQ(pages(), (Pages{kMail, kSafari}));
        EXPECT_EQ(g_relaunches, 0);
        openSwitcher();
    }
    gCVAppSlider.homeAction = 1;
    EXPECT_TRUE(SwitcherHost::swipeUp(0));
    EXPECT_EQ(g_relaunches, 1);
}

INSTANTIATE_TEST_SUITE_P(Generations, Switcher, testing::ValuesIn(test::kGenerations),
                         test::generationName);

} // namespace
