// The iOS 7 app slider with AppSliderInit installed.

#include "SwitcherTest.h"
#include "springboard-extension/frame/tests/OwnProcess.h"

#include "foundation/NSLog.h"
#include "springboard/SpringBoardState.h"
#include "springboard/apps/ApplicationsHost.h"
#include "springboard/switcher/SBAppSliderController.h"
#include "springboard/switcher/SwitcherHost.h"

namespace {

using namespace test;
using sim::SwitcherHost;

class AppSlider : public SwitcherTest {
protected:
    static SBAppSliderController *slider()
    {
        return static_cast<SBAppSliderController *>(
            sim::springBoardState().switcherController.get());
    }
};

TEST_F(AppSlider, InactiveAppsAreShownBlurredDarkenedOrLeftOut)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithApps(sim::DeviceProfile::kIOS7CoreFoundation);
    gCVAppSlider.appsMode = 2;
    openSwitcher();
    EXPECT_EQ(blurRadiusOf(snapshotOf(kMessages)), 8.0);
    EXPECT_EQ(blurRadiusOf(snapshotOf(kMail)), 0);
    gCVAppSlider.appsMode = 3;
    openSwitcher();
    EXPECT_EQ(containerAlphaOf(snapshotOf(kMessages)), 0.5);
    EXPECT_EQ(containerAlphaOf(snapshotOf(kSafari)), 1);

    // Left out of the app list; scrolling past the end then lands on the last page.
    gCVAppSlider.appsMode = 1;
    nlohmann::json shown = openSwitcher();
    EXPECT_EQ(shown["appList"], (std::vector<std::string>{kMail, kSafari}));
    EXPECT_EQ(pages(), (std::vector<std::string>{kHome, kMail, kSafari}));
    EXPECT_EQ(slider()->m_appListAccessDepth, 0);
    EXPECT_TRUE(SwitcherHost::scroll(3));
    EXPECT_EQ(SwitcherHost::dump()["focused"], 2);
}

TEST_F(AppSlider, TapsOnItemsThatRefuseInteractionAreIgnoredAndLogged)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithApps(sim::DeviceProfile::kIOS7CoreFoundation);
    openSwitcher();
    auto *item = static_cast<UIView *>(slider()->m_pageController->m_items->objectAtIndex(2));
    msg<void, BOOL>(item, "setUserInteractionEnabled:"_sel, NO);
    sim::LogCapture log;
    EXPECT_TRUE(SwitcherHost::tap(2));
    EXPECT_TRUE(SwitcherHost::isOpen());
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find("sliderScroller:<SBAppSliderScrollingViewController: "),
              std::string::npos);
    EXPECT_NE(log.lines()[0].find("itemTapped:2]"), std::string::npos);

    EXPECT_TRUE(SwitcherHost::tap(1));
    EXPECT_FALSE(SwitcherHost::isOpen());
    EXPECT_EQ(sim::ApplicationsHost::dump()["frontmost"], kMail);
}

TEST_F(AppSlider, PageScaleHomePageAndIcons)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithApps(sim::DeviceProfile::kIOS7CoreFoundation);
    for (double factor : {0.02, 2.0}) {
        gCVAppSlider.pageScaleFactor = factor;
        nlohmann::json shown = openSwitcher();
        double applied = factor > 0.02 ? factor : 1.0;
        EXPECT_DOUBLE_EQ(shown["pageScale"].get<double>(), 0.55 * applied);
        EXPECT_DOUBLE_EQ(shown["fullscreenScale"].get<double>(), 1 / 0.55 / applied);
    }
    gCVAppSlider.hideIcons = true;
    EXPECT_TRUE(openSwitcher()["visibleIcons"].empty());

    gCVAppSlider.homeAction = 0;
    EXPECT_FALSE(SwitcherHost::swipeUp(0));
    gCVAppSlider.homeAction = 1;
    EXPECT_TRUE(SwitcherHost::swipeUp(0));
    EXPECT_EQ(relaunches(), 1);
    EXPECT_EQ(pages(), (std::vector<std::string>{kMail, kSafari, kMessages}));
}

} // namespace
