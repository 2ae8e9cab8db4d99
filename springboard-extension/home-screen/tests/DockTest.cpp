// The dock group as installed into SpringBoard: no dock at all, or a dock without its
// background, on the generations with and without their own band class.

#include "springboard-extension/frame/tests/ExtensionTest.h"

#include "springboard/HostViews.h"
#include "springboard/SBDockView.h"

namespace {

using test::phoneProfile;

class Dock : public test::ExtensionTest, public testing::WithParamInterface<double> {
protected:
    Dock() : ExtensionTest({"IconListsInit", "DockInit"}) {}

    static SBDockView *dock() { return rootFolderView()->m_dockView; }

    static void layOutDock()
    {
        msg<void>(dock(), "setNeedsLayout"_sel);
        msg<void>(dock(), "layoutIfNeeded"_sel);
    }

    // Whether each background view is hidden: band, accessibility band (absent: hidden),
    // shadow, highlight.
    static std::vector<bool> hiddenBackgrounds()
    {
        UIView *accessibility = dock()->m_accessibilityBackgroundView;
        return {dock()->m_backgroundView->isHidden(), !accessibility || accessibility->isHidden(),
                dock()->m_backgroundImageView->isHidden(), dock()->m_highlightView->isHidden()};
    }
};

// The object SpringBoard's initializer made is released once, and nothing keeps a
// pointer to it: the home screen simply has no dock, and its pages keep their height.
TEST_P(Dock, HiddenAtStartUpLeavesNoDockView)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    CGRect pages = sim::SpringBoardMetrics::pageFrame(1);
    launchWithExtension(phoneProfile(GetParam()),
                        "<key>CVDock</key><dict><key>hideDock</key><true/></dict>");
    EXPECT_EQ(dock(), nil);
    EXPECT_EQ(msg<id>(rootFolderView(), "dockView"_sel), nil);
    for (SBIconListView *list : iconController()->allIconLists())
        EXPECT_NE(object_getClass(list), SBDockIconListView::class_());
    EXPECT_RECT_NEAR(page(0)->superview()->frame(), 0, 0, pages.size.width, pages.size.height);
    // Everything that walks the home screen still works without a dock.
    relayout();
    sim::SpringBoardHost::rotate(3);
    sim::SpringBoardHost::setEditing(true);
    sim::SpringBoardHost::setEditing(false);
}

// The background goes and comes back live; an accessibility band follows the option only
// where SpringBoard has no band class of its own (iOS 7).
TEST_P(Dock, BackgroundHiddenAndShownAgainLive)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchWithExtension(phoneProfile(GetParam()));
    const std::vector<bool> shown{false, true, false, false};
    EXPECT_EQ(hiddenBackgrounds(), shown);
    gCVDock.hideBackground = true;
    layOutDock();
    EXPECT_EQ(hiddenBackgrounds(), (std::vector<bool>{true, true, true, true}));
    gCVDock.hideBackground = false;
    layOutDock();
    EXPECT_EQ(hiddenBackgrounds(), shown);
    EXPECT_FALSE(dock()->m_dockListView->isHidden());

    bool ownBandClass = objc_getClass("_SBDockBackgroundView") != nil;
    dock()->m_accessibilityBackgroundView = sim::newView(UIView::class_(), CGRectZero);
    gCVDock.hideBackground = true;
    layOutDock();
    EXPECT_EQ(dock()->m_accessibilityBackgroundView->isHidden(), !ownBandClass);
}

INSTANTIATE_TEST_SUITE_P(Generations, Dock, testing::ValuesIn(test::kGenerations),
                         test::generationName);

} // namespace
