// The iOS 8 app switcher with AppSwitcherInit installed.

#include "SwitcherTest.h"
#include "springboard-extension/frame/tests/OwnProcess.h"

#include "springboard/SpringBoardState.h"
#include "springboard/switcher/SBAppSwitcherController.h"
#include "springboard/switcher/SwitcherHost.h"

namespace {

using namespace test;
using sim::SwitcherHost;

class AppSwitcher : public SwitcherTest {
protected:
    static SBAppSwitcherController *switcher()
    {
        return static_cast<SBAppSwitcherController *>(
            sim::springBoardState().switcherController.get());
    }
};

TEST_F(AppSwitcher, InactiveAppsAreShownBlurredDarkenedOrLeftOut)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithApps(sim::DeviceProfile::kIOS8CoreFoundation);
    gCVAppSlider.appsMode = 2;
    openSwitcher();
    EXPECT_EQ(blurRadiusOf(snapshotOf(kMessages)), 8.0);
    EXPECT_TRUE(isRasterized(snapshotOf(kMessages)));
    EXPECT_EQ(blurRadiusOf(snapshotOf(kSafari)), 0);

    gCVAppSlider.appsMode = 3;
    openSwitcher();
    EXPECT_EQ(containerAlphaOf(snapshotOf(kMessages)), 0.5);
    EXPECT_EQ(containerAlphaOf(snapshotOf(kMail)), 1);

    gCVAppSlider.appsMode = 1;
    openSwitcher();
    EXPECT_EQ(pages(), (std::vector<std::string>{kHome, kMail, kSafari}));

    // A page of two applications stays, even with one of them not running.
    NSMutableArray *list = switcher()->m_appList;
    list->addObject(SBDisplayLayout::layoutWithItems(NSArray::arrayWithObjects(
        {SBDisplayItem::itemWithIdentifier(kMessages), SBDisplayItem::itemWithIdentifier(kMail)})));
    list->addObject(SBDisplayLayout::layoutWithItems(
        NSArray::arrayWithObjects({SBDisplayItem::itemWithIdentifier(kMessages)})));
    msg<void>(switcher(), "_layout"_sel);
    EXPECT_EQ(pages(), (std::vector<std::string>{kHome, kMail, kSafari, kMessages}));
    EXPECT_EQ(switcher()->m_appList->count(), 4u);
}

TEST_F(AppSwitcher, PageScaleTakesTheFactorAboveItsThreshold)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithApps(sim::DeviceProfile::kIOS8CoreFoundation);
    const double pageScale = 0.55, fullscreen = 1 / 0.55; // SpringBoard's own
    struct Case {
        double factor, page, fullscreen;
    };
    for (Case expected :
         {Case{0.02, pageScale, fullscreen}, Case{0.01, pageScale, fullscreen},
          Case{2.0, 2 * pageScale, fullscreen / 2}, Case{1.2, 1.2 * pageScale, fullscreen / 1.2}}) {
        gCVAppSlider.pageScaleFactor = expected.factor;
        nlohmann::json shown = openSwitcher();
        EXPECT_DOUBLE_EQ(shown["pageScale"].get<double>(), expected.page) << expected.factor;
        EXPECT_DOUBLE_EQ(shown["fullscreenScale"].get<double>(), expected.fullscreen);
        EXPECT_DOUBLE_EQ(switcher()->pageAt(1)->m_scale, expected.page);
    }
}

TEST_F(AppSwitcher, HomePageAndIcons)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithApps(sim::DeviceProfile::kIOS8CoreFoundation);
    EXPECT_EQ(openSwitcher()["visibleIcons"], (std::vector<int>{0, 1, 2}));
    gCVAppSlider.hideIcons = true;
    EXPECT_TRUE(openSwitcher()["visibleIcons"].empty());

    gCVAppSlider.homeAction = 0;
    EXPECT_FALSE(SwitcherHost::swipeUp(0));
    gCVAppSlider.homeAction = 1;
    EXPECT_TRUE(SwitcherHost::swipeUp(2));
    EXPECT_EQ(relaunches(), 0);
    EXPECT_TRUE(SwitcherHost::swipeUp(0));
    EXPECT_EQ(relaunches(), 1);
    EXPECT_EQ(pages(), (std::vector<std::string>{kMail, kMessages}));
}

} // namespace
