// Control Center with the extension, on each generation: sections hidden alone and all
// together, their separators, the brightness slider, the AirDrop/AirPlay line and
// buttons, the backdrop with and without tint, the toggles' colours per state, and on
// iOS 9 the edge gesture withdrawn and restored.

#include "CentersTest.h"
#include "springboard-extension/frame/tests/OwnProcess.h"

#include "foundation/NSArray.h"
#include "foundation/NSDictionary.h"
#include "springboard-extension/system-ui/ControlCenter.h"
#include "springboard/SpringBoardFunctions.h"
#include "springboard/control-center/ControlCenterHost.h"

namespace {

using sim::SpringBoardHost;

constexpr const char *kSections[] = {
    "SBCCSettingsSectionController", "SBCCBrightnessSectionController",
    "SBCCMediaControlsSectionController", "SBCCAirStuffSectionController",
    "SBCCQuickLaunchSectionController"};

bool *hideFlag(std::size_t section)
{
    CVControlCenter &settings = gCVControlCenter;
    bool *flags[] = {&settings.hideSectionSettings, &settings.hideSectionBrightness,
                     &settings.hideSectionMediaControls, &settings.hideSectionAirStuff,
                     &settings.hideSectionQuickLaunch};
    return flags[section];
}

class ControlCenter : public test::CentersTest, public testing::WithParamInterface<double> {
protected:
    void launchAndOpen(const char *settings = "")
    {
        launchWithExtension(test::phoneProfile(GetParam()), settings);
        SpringBoardHost::unlock();
        ASSERT_TRUE(sim::openControlCenter());
    }

    static void relayout()
    {
        SBControlCenterContentView *content = controlCenterContent();
        msg<void>(content, "setNeedsLayout"_sel);
        msg<void>(content, "layoutIfNeeded"_sel);
    }

    static int separatorsShown()
    {
        int shown = 0;
        for (std::size_t i = 0; i + 1 < std::size(kSections); ++i)
            shown += separatorShown(i);
        return shown;
    }

    static bool isIOS9() { return GetParam() == sim::DeviceProfile::kIOS9CoreFoundation; }

    static std::vector<UIColor *> glyphColors()
    {
        std::vector<UIColor *> colors;
        for (SBCCButtonLikeSectionView *toggle : sim::controlCenterToggles())
            colors.push_back(msg<UIColor *>(toggle->m_glyphView, "backgroundColor"_sel));
        return colors;
    }
};

void expectColor(UIColor *color, double red, double green, double blue)
{
    ASSERT_TRUE(color);
    EXPECT_DOUBLE_EQ(color->m_red, red);
    EXPECT_DOUBLE_EQ(color->m_green, green);
    EXPECT_DOUBLE_EQ(color->m_blue, blue);
    EXPECT_DOUBLE_EQ(color->m_alpha, 1.0);
}

TEST_P(ControlCenter, EachSectionHiddenAloneTakesNoRoomAndItsSeparatorGoesWithIt)
{
    if (ranInProcessOfItsOwn())
        return;
    launchAndOpen();
    EXPECT_EQ(separatorsShown(), 4);
    const double fullHeight = controlCenterContent()->m_contentHeight;
    for (std::size_t hidden = 0; hidden < std::size(kSections); ++hidden) {
        *hideFlag(hidden) = true;
        relayout();
        CGSize size =
            msg<CGSize, NSInteger>(section(kSections[hidden]), "contentSizeForOrientation:"_sel, 1);
        EXPECT_EQ(size.width, 0.0) << kSections[hidden];
        EXPECT_EQ(size.height, 0.0) << kSections[hidden];
        for (std::size_t other = 0; other < std::size(kSections); ++other)
            EXPECT_EQ(sectionView(kSections[other])->isHidden(), other == hidden)
                << kSections[other] << " with " << kSections[hidden] << " hidden";
        EXPECT_EQ(separatorsShown(), 3) << kSections[hidden];
        EXPECT_LT(controlCenterContent()->m_contentHeight, fullHeight);
        *hideFlag(hidden) = false;
    }
    for (std::size_t hidden = 0; hidden < std::size(kSections); ++hidden)
        *hideFlag(hidden) = true;
    relayout();
    EXPECT_EQ(separatorsShown(), 0) << "every separator goes with all five sections hidden";
    EXPECT_EQ(controlCenterContent()->m_contentHeight, 0.0);
}

TEST_P(ControlCenter, HiddenBrightnessHidesItsSliderAndTheSeparatorBelowIt)
{
    if (ranInProcessOfItsOwn())
        return;
    launchAndOpen("<key>CVControlCenter</key><dict>"
                  "<key>hideSectionBrightness</key><true/></dict>");
    auto *brightness =
        static_cast<SBCCBrightnessSectionController *>(section("SBCCBrightnessSectionController"));
    EXPECT_TRUE(brightness->m_slider->isHidden());
    EXPECT_TRUE(separatorShown(0));
    EXPECT_FALSE(separatorShown(1));
    EXPECT_FALSE((msg<id, NSUInteger>(controlCenterContent(), "_separatorAtIndex:"_sel, 1)));

    gCVControlCenter.hideSectionBrightness = false;
    relayout();
    EXPECT_FALSE(brightness->m_slider->isHidden());
    EXPECT_TRUE(separatorShown(1));
}

TEST_P(ControlCenter, HiddenSeparatorsGoEverywhereAndTheAirStuffLineOnlyWithoutButtonModules)
{
    if (ranInProcessOfItsOwn())
        return;
    launchAndOpen("<key>CVControlCenter</key><dict>"
                  "<key>hideSeparators</key><true/>"
                  "<key>hideSectionQuickLaunch</key><true/></dict>");
    EXPECT_EQ(separatorsShown(), 0);
    auto *airStuff =
        static_cast<SBCCAirStuffSectionController *>(section("SBCCAirStuffSectionController"));
    msg<void, BOOL>(airStuff, "_updateSubsectionVisibilityAnimated:"_sel, NO);
    EXPECT_EQ(airStuff->m_separatorLine->isHidden(), !isIOS9());
    EXPECT_FALSE(airStuff->m_airDropButton->isHidden());

    // The quick launch buttons are hidden one by one where SpringBoard has no modules.
    auto *quickLaunch = static_cast<SBCCQuickLaunchSectionController *>(
        section("SBCCQuickLaunchSectionController"));
    for (const auto &button : *static_cast<NSArray *>(quickLaunch->m_buttons.get()))
        EXPECT_EQ(static_cast<UIView *>(button.get())->isHidden(), !isIOS9());

    gCVControlCenter.hideSeparators = false;
    gCVControlCenter.hideSectionAirStuff = true;
    msg<void, BOOL>(airStuff, "_updateSubsectionVisibilityAnimated:"_sel, NO);
    EXPECT_FALSE(airStuff->m_separatorLine->isHidden());
    EXPECT_EQ(airStuff->m_airDropButton->isHidden(), !isIOS9());
    EXPECT_EQ(airStuff->m_airPlayButton->isHidden(), !isIOS9());
}

TEST_P(ControlCenter, TheBackdropTakesTheRadiusAlwaysAndTheTintOnlyWhenAsked)
{
    if (ranInProcessOfItsOwn())
        return;
    launchAndOpen("<key>CVControlCenter</key><dict>"
                  "<key>customBackdropColor</key><true/>"
                  "<key>backdropColor</key><array><integer>255</integer><integer>0</integer>"
                  "<integer>0</integer><integer>1</integer></array>"
                  "<key>backdropColorAlpha</key><real>0.05</real>"
                  "<key>blurRadius</key><real>12</real></dict>");
    _UIBackdropViewSettings *settings = controlCenterBackdrop();
    EXPECT_DOUBLE_EQ(settings->m_blurRadius, 12);
    expectColor(settings->m_colorTint, 1, 0, 0);
    EXPECT_NEAR(settings->m_colorTintAlpha, 0.05, 1e-6);

    // Off: the clear colour each time the panel is shown, the radius still applied.
    ASSERT_TRUE(sim::closeControlCenter());
    gCVControlCenter.customBackdropColor = false;
    gCVControlCenter.blurRadius = 40;
    ASSERT_TRUE(sim::openControlCenter());
    EXPECT_DOUBLE_EQ(settings->m_blurRadius, 40);
    ASSERT_TRUE(settings->m_colorTint);
    EXPECT_EQ(settings->m_colorTint->m_alpha, 0.0);
}

TEST_P(ControlCenter, ControlColoursReplaceOnlyTheirOwnStatesAndFallBackToSpringBoards)
{
    if (ranInProcessOfItsOwn())
        return;
    launchAndOpen();
    UIColor *springBoardNormal = _SBUIControlCenterControlColorForState(0);
    UIColor *springBoardSelected = _SBUIControlCenterControlColorForState(4);
    gCVControlCenter.customHighlightedControlColor = true;
    gCVControlCenter.highlightedControlColor = {0, 255, 0, 1};
    expectColor(_SBUIControlCenterControlColorForState(1), 0, 1, 0);
    EXPECT_TRUE(_SBUIControlCenterControlColorForState(0)->isEqualToColor(springBoardNormal));
    EXPECT_TRUE(_SBUIControlCenterControlColorForState(4)->isEqualToColor(springBoardSelected));

    gCVControlCenter.customHighlightedControlColor = false;
    gCVControlCenter.customNormalControlColor = true;
    gCVControlCenter.normalControlColor = {0, 0, 255, 0};
    expectColor(_SBUIControlCenterControlColorForState(0), 0, 0, 1);
    expectColor(_SBUIControlCenterControlColorForState(4), 0, 0, 1);
    EXPECT_NE(_SBUIControlCenterControlColorForState(1)->m_blue, 1.0);

    // The live update tells SpringBoard, whose toggles fetch their colours again.
    ASSERT_EQ(gCVControlCenter.changeCallback, &applyControlCenterSettings);
    gCVControlCenter.changeCallback();
    std::vector<std::string> keys = sim::controlCenterSettingsChanges();
    ASSERT_GE(keys.size(), 2u);
    EXPECT_EQ(keys[keys.size() - 2], "highlight");
    EXPECT_EQ(keys.back(), "highlightColor");
    for (UIColor *color : glyphColors())
        expectColor(color, 0, 0, 1);
    ASSERT_TRUE(sim::tapControlCenterToggle(1));
    EXPECT_TRUE(msg<UIColor *>(sim::controlCenterToggles()[1]->m_glyphView, "backgroundColor"_sel)
                    ->isEqualToColor(_SBUIControlCenterControlColorForState(1)));
}

TEST_P(ControlCenter, DisablingWithdrawsTheGestureOnIOS9OnlyOnceEachWay)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension(test::phoneProfile(GetParam()), "<key>CVControlCenter</key><dict>"
                                                        "<key>disableCC</key><true/></dict>");
    SpringBoardHost::unlock();
    static int removals = 0;
    static int additions = 0;
    static IMP remove = nullptr;
    static IMP add = nullptr;
    if (isIOS9()) {
        remove = test::replaceMethod(
            FBSystemGestureManager::class_(), "removeGestureRecognizer:fromDisplay:",
            reinterpret_cast<IMP>(+[](id self, SEL cmd, id r, id d) {
                ++removals;
                reinterpret_cast<void (*)(id, SEL, id, id)>(remove)(self, cmd, r, d);
            }));
        add = test::replaceMethod(
            FBSystemGestureManager::class_(), "addGestureRecognizer:toDisplay:",
            reinterpret_cast<IMP>(+[](id self, SEL cmd, id r, id d) {
                ++additions;
                reinterpret_cast<void (*)(id, SEL, id, id)>(add)(self, cmd, r, d);
            }));
    }
    // Applied once SpringBoard had launched: on iOS 9 the center does not open.
    EXPECT_EQ(sim::openControlCenter(), !isIOS9());
    sim::closeControlCenter();
    for (bool disabled : {true, false, false, true, true, false}) {
        gCVControlCenter.disableCC = disabled;
        gCVControlCenter.changeCallback();
        EXPECT_EQ(sim::openControlCenter(), !disabled || !isIOS9()) << disabled;
        sim::closeControlCenter();
    }
    EXPECT_EQ(removals, isIOS9() ? 1 : 0);
    EXPECT_EQ(additions, isIOS9() ? 2 : 0);
}

INSTANTIATE_TEST_SUITE_P(Generations, ControlCenter, testing::ValuesIn(test::kGenerations),
                         test::generationName);

} // namespace
