// The iOS 9 card deck with DeckSwitcherInit installed.

#include "SwitcherTest.h"
#include "springboard-extension/frame/tests/OwnProcess.h"

#include "springboard/SpringBoardState.h"
#include "springboard/apps/ApplicationsHost.h"
#include "springboard/switcher/SBDeckSwitcherViewController.h"
#include "springboard/switcher/SwitcherHost.h"

namespace {

using namespace test;
using sim::SwitcherHost;

class DeckSwitcher : public SwitcherTest {
protected:
    static SBDeckSwitcherViewController *deck()
    {
        return static_cast<SBDeckSwitcherViewController *>(
            sim::springBoardState().switcherController.get());
    }
    static CGFloat presentedScale(CGFloat progress)
    {
        return msg<CGFloat, CGFloat>(deck(), "_scaleForPresentedProgress:"_sel, progress);
    }
};

TEST_F(DeckSwitcher, InactiveAppsAreShownBlurredDarkenedOrLeftOut)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithApps(sim::DeviceProfile::kIOS9CoreFoundation);

    gCVAppSlider.appsMode = 0;
    openSwitcher();
    EXPECT_EQ(pages(), (std::vector<std::string>{kHome, kMail, kSafari, kMessages}));
    EXPECT_EQ(blurRadiusOf(snapshotOf(kMessages)), 0);
    EXPECT_EQ(containerAlphaOf(snapshotOf(kMessages)), 1);

    gCVAppSlider.appsMode = 2;
    openSwitcher();
    EXPECT_EQ(blurRadiusOf(snapshotOf(kMessages)), 8.0);
    EXPECT_TRUE(isRasterized(snapshotOf(kMessages)));
    EXPECT_EQ(blurRadiusOf(snapshotOf(kMail)), 0);
    EXPECT_FALSE(isRasterized(snapshotOf(kMail)));

    gCVAppSlider.appsMode = 3;
    openSwitcher();
    EXPECT_EQ(containerAlphaOf(snapshotOf(kMessages)), 0.5);
    EXPECT_EQ(blurRadiusOf(snapshotOf(kMessages)), 0);
    EXPECT_EQ(containerAlphaOf(snapshotOf(kSafari)), 1);

    // Left out through removeDisplayItem:… with its own reason; the deck stays in step.
    gCVAppSlider.appsMode = 1;
    openSwitcher();
    EXPECT_EQ(pages(), (std::vector<std::string>{kHome, kMail, kSafari}));
    EXPECT_EQ(deck()->m_displayItems->count(), 3u);
    EXPECT_TRUE(SwitcherHost::tap(2));
    EXPECT_EQ(sim::ApplicationsHost::dump()["frontmost"], kSafari);
}

TEST_F(DeckSwitcher, PresentedScaleFollowsTheFactorUpToItsLimit)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithApps(sim::DeviceProfile::kIOS9CoreFoundation);
    openSwitcher();
    const CGFloat springBoards = 0.85; // SpringBoard's own scale halfway in
    for (double factor : {0.02, 1.0, 2.0, 1.2, 1.21}) {
        gCVAppSlider.pageScaleFactor = factor;
        EXPECT_DOUBLE_EQ(presentedScale(0.5), springBoards) << factor;
    }
    gCVAppSlider.pageScaleFactor = 1.0;
    EXPECT_DOUBLE_EQ(presentedScale(1.0), 0.75);
    gCVAppSlider.pageScaleFactor = 0.02;
    EXPECT_DOUBLE_EQ(presentedScale(1.0), 0.02 * 0.75);
    gCVAppSlider.pageScaleFactor = 1.2;
    EXPECT_DOUBLE_EQ(presentedScale(1.0), 1.2 * 0.75);
    for (double factor : {1.21, 2.0}) {
        gCVAppSlider.pageScaleFactor = factor;
        EXPECT_DOUBLE_EQ(presentedScale(1.0), 0.9f) << factor;
    }
    // The cards show it.
    openSwitcher();
    EXPECT_DOUBLE_EQ(deck()->containerAt(1)->m_scale, 0.9f);
}

TEST_F(DeckSwitcher, HomeCardGoesOnlyWhenAskedAndRelaunchesOnlyForRespring)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithApps(sim::DeviceProfile::kIOS9CoreFoundation);
    gCVAppSlider.homeAction = 0;
    openSwitcher();
    EXPECT_FALSE(SwitcherHost::swipeUp(0));
    EXPECT_TRUE(SwitcherHost::swipeUp(3)); // an app's card goes, and its app ends
    EXPECT_EQ(pages(), (std::vector<std::string>{kHome, kMail, kSafari}));

    gCVAppSlider.homeAction = 2;
    EXPECT_TRUE(SwitcherHost::swipeUp(0));
    EXPECT_EQ(relaunches(), 0);
    EXPECT_EQ(pages(), (std::vector<std::string>{kMail, kSafari}));

    gCVAppSlider.homeAction = 1;
    openSwitcher();
    EXPECT_TRUE(SwitcherHost::swipeUp(1));
    EXPECT_EQ(relaunches(), 0);
    EXPECT_TRUE(SwitcherHost::swipeUp(0));
    EXPECT_EQ(relaunches(), 1);
}

TEST_F(DeckSwitcher, HiddenIconsReadAndWriteAsTransparent)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithApps(sim::DeviceProfile::kIOS9CoreFoundation);
    gCVAppSlider.hideIcons = true;
    openSwitcher();
    SBDeckSwitcherItemContainer *card = deck()->containerAt(1);
    EXPECT_EQ(card->m_titleLabel->alpha(), 0);
    EXPECT_EQ(card->m_iconView->alpha(), 0);
    gCVAppSlider.hideIcons = false;
    msg<void, CGFloat>(card, "setTitleOpacity:"_sel, 0.4);
    EXPECT_NEAR(msg<CGFloat>(card, "titleOpacity"_sel), 0.4, 1e-6);
    gCVAppSlider.hideIcons = true;
    EXPECT_EQ(msg<CGFloat>(card, "titleOpacity"_sel), 0);
    EXPECT_EQ(msg<CGFloat>(card, "titleAndIconOpacity"_sel), 0);
    EXPECT_NEAR(card->m_titleOpacity, 0.4, 1e-6); // SpringBoard's own value is kept
}

} // namespace
