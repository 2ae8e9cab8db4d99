// Icon transforms as SpringBoard shows them with the extension: resize, cover flow,
// labels and image alpha, the icon views kept out of it while they crossfade, the live
// settings update, and the scroll view of a dock.

#include "HomeScreenTest.h"
#include "springboard-extension/frame/tests/OwnProcess.h"

#include "foundation/CoreFoundation.h"
#include "springboard/CrossfadeViews.h"
#include "springboard/HostViews.h"
#include "springboard/SBFolderIconView.h"
#include "uikit/UIScrollView.h"

#include <cmath>
#include <functional>

namespace {

using sim::SpringBoardHost;
using test::expectCoverFlow;
using test::expectScale;
using test::phoneProfile;

// The perspective term, the float 0x3C44CFBE.
constexpr double kPerspective = 0.01201242;

// p = (x − offset) / W; angle p × 1.45 − 0.725; q = |1.9p − 1|; scale 1.1q + 0.9(1 − q).
double angleAt(double p)
{
    return p * 1.45 - 0.725;
}

double scaleAt(double p)
{
    double q = std::fabs(1.9 * p - 1);
    return 1.1 * q + 0.9 * (1 - q);
}

const CATransform3D kDoubled = CATransform3DMakeScale(2, 2, 1);

class IconTransforms : public test::HomeScreenTest {
protected:
    // A phone 320 points wide, so the pages are 320-point lists.
    static void launchNarrowPhone()
    {
        sim::DeviceProfile narrow = phoneProfile();
        narrow.screenWidth = 320;
        narrow.screenHeight = 568;
        launchWithExtension(narrow);
    }

    static void moveCenterX(UIView *view, CGFloat x)
    {
        msg<void, CGPoint>(view, "setCenter:"_sel, {x, view->center().y});
    }

    // The added methods take and answer their flag as a signed char, as encoded ("c").
    static void updateIcons(SBIconListView *list, BOOL force)
    {
        msg<void, signed char>(list, "CV_updateIcons:"_sel, force);
    }

    static void setCrossfading(UIView *view, BOOL crossfading)
    {
        msg<void, signed char>(view, "_CV_CrossfadingStatus_setIsCrossfading:"_sel, crossfading);
    }

    static BOOL isCrossfading(UIView *view)
    {
        return msg<signed char>(view, "_CV_CrossfadingStatus_isCrossfading"_sel);
    }

    static CGFloat imageAlpha(SBIconView *view) { return view->m_iconImageView->alpha(); }
};

TEST_F(IconTransforms, CoverFlowTurnsAndScalesEachIconByItsPlaceInTheList)
{
    if (ranInProcessOfItsOwn())
        return;
    launchNarrowPhone();
    gCVIcons.pages.coverflow.enabled = true;
    SBIconListView *list = page(0);
    ASSERT_EQ(list->frame().size.width, 320);
    moveCenterX(iconView(list, 0), 0);
    moveCenterX(iconView(list, 1), 160);
    moveCenterX(iconView(list, 2), 161);
    updateIcons(list, NO);

    expectCoverFlow(sublayerTransformOf(iconView(list, 0)), -0.725, 1.1, 0, kPerspective);
    expectCoverFlow(sublayerTransformOf(iconView(list, 1)), 0, 0.91, 0, kPerspective);
    double p = 161.0 / 320;
    expectCoverFlow(sublayerTransformOf(iconView(list, 2)), angleAt(p), scaleAt(p), 10000,
                    kPerspective);
}

TEST_F(IconTransforms, OutsideFlipsOnlyThePerspective)
{
    if (ranInProcessOfItsOwn())
        return;
    launchNarrowPhone();
    gCVIcons.pages.coverflow.enabled = true;
    gCVIcons.pages.coverflow.outside = true;
    SBIconListView *list = page(0);
    moveCenterX(iconView(list, 0), 0);
    moveCenterX(iconView(list, 1), 240);
    updateIcons(list, NO);

    expectCoverFlow(sublayerTransformOf(iconView(list, 0)), -0.725, 1.1, 0, -kPerspective);
    expectCoverFlow(sublayerTransformOf(iconView(list, 1)), angleAt(0.75), scaleAt(0.75), 10000,
                    -kPerspective);
}

// The flow factor and perspective come from the list's own settings, and a resized list
// turns its resized icons.
TEST_F(IconTransforms, CoverFlowStartsFromTheResizedIcon)
{
    if (ranInProcessOfItsOwn())
        return;
    launchNarrowPhone();
    gCVIcons.pages.coverflow.enabled = true;
    gCVIcons.pages.coverflow.flowFactor = 2.0;
    gCVIcons.pages.coverflow.perspective = 0.5;
    gCVIcons.pages.resize = true;
    gCVIcons.pages.resizeFactor = 0.5;
    SBIconListView *list = page(0);
    moveCenterX(iconView(list, 0), 80);
    updateIcons(list, NO);

    // p = 0.25: angle 0.5 − 1 = −0.5; q = 0.525; scale 1.1q + 0.5(1 − q) = 0.815, times 0.5.
    CATransform3D transform = sublayerTransformOf(iconView(list, 0));
    double q = 0.525;
    double scale = 1.1 * q + 0.5 * (1 - q);
    EXPECT_NEAR(transform.m11, 0.5 * scale * std::cos(-0.5), 1e-5);
    EXPECT_NEAR(transform.m22, 0.5 * scale, 1e-5);
    EXPECT_NEAR(transform.m33, std::cos(-0.5), 1e-5);
}

TEST_F(IconTransforms, ResizingThePagesGivesTheDockAndFoldersTheIdentity)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    SpringBoardHost::unlock();
    // The folder's icons get their views now, so that they can be marked beforehand.
    SBFolderIcon *folderIcon = static_cast<SBFolderIcon *>(iconController()->folderIcons().at(0));
    std::vector<SBIconView *> folderIcons;
    for (id icon : *folderIcon->m_folder->m_icons)
        folderIcons.push_back(
            msg<SBIconView *>(iconController()->m_iconViewMap.get(), "iconViewForIcon:"_sel, icon));
    for (SBIconView *view : folderIcons)
        setSublayerTransform(view, kDoubled);
    for (std::size_t index = 0; index < 4; ++index)
        setSublayerTransform(iconView(dockList(), index), kDoubled);

    gCVIcons.pages.resize = true;
    gCVIcons.pages.resizeFactor = 0.8;
    relayout();
    ASSERT_TRUE(SpringBoardHost::openFolder(0));
    sim::advanceVirtualClock(1);

    for (std::size_t index = 0; index < 17; ++index)
        expectScale(sublayerTransformOf(iconView(page(0), index)), 0.8f);
    for (std::size_t index = 0; index < 4; ++index)
        expectScale(sublayerTransformOf(iconView(dockList(), index)), 1);
    for (SBIconView *view : folderIcons)
        expectScale(sublayerTransformOf(view), 1);
}

// SpringBoard's own animated layout is left out here (its animation never runs), so that
// only the update the replacement adds shows.
void animateNothing(id, SEL, NSTimeInterval, std::function<void()>) {}

// An animated layout updates the icons only when it lasts longer than a thousandth of a
// second, the single-precision constant widened to double.
TEST_F(IconTransforms, AnAnimatedLayoutUpdatesTheIconsOnlyAboveAThousandthOfASecond)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    class_replaceMethod(object_getClass(UIView::class_()), "animateWithDuration:animations:"_sel,
                        reinterpret_cast<IMP>(animateNothing),
                        sim::encodeImplementation(animateNothing).c_str());
    SBIconView *view = iconView(page(0), 0);
    setSublayerTransform(view, kDoubled);
    gCVIcons.pages.resize = true;
    gCVIcons.pages.resizeFactor = 0.8;

    const double threshold = static_cast<double>(0.001f);
    for (double duration : {0.0005, 0.001, threshold}) {
        msg<void, NSTimeInterval, BOOL>(page(0), "layoutIconsIfNeeded:domino:"_sel, duration, NO);
        expectScale(sublayerTransformOf(view), 2);
    }
    msg<void, NSTimeInterval, BOOL>(page(0), "layoutIconsIfNeeded:domino:"_sel,
                                    std::nextafter(threshold, 1.0), NO);
    expectScale(sublayerTransformOf(view), 0.8f);
}

TEST_F(IconTransforms, WithNothingResizedTheTransformsStayAndLabelsAndAlphaFollow)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    SBIconView *view = iconView(page(0), 0);
    setSublayerTransform(view, kDoubled);
    gCVIcons.pages.hideLabels = true;
    gCVIcons.iconImageAlpha = 0.5;
    relayout();

    expectScale(sublayerTransformOf(view), 2);
    EXPECT_TRUE(view->m_labelView->isHidden());
    EXPECT_FALSE(iconView(dockList(), 0)->m_labelView->isHidden());
    EXPECT_DOUBLE_EQ(imageAlpha(view), 0.5);
    EXPECT_DOUBLE_EQ(imageAlpha(iconView(dockList(), 0)), 0.5);

    gCVIcons.pages.hideLabels = false;
    relayout();
    EXPECT_FALSE(view->m_labelView->isHidden());
}

TEST_F(IconTransforms, AnImageAlphaOfAtMostTwoHundredthsIsNeverSet)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    SBIconView *view = iconView(page(0), 0);
    msg<void, CGFloat>(view, "setIconImageAlpha:"_sel, 0.75);
    for (double alpha : {0.02, 0.01, 0.0}) {
        gCVIcons.iconImageAlpha = alpha;
        relayout();
        EXPECT_DOUBLE_EQ(imageAlpha(view), 0.75) << alpha;
    }
    gCVIcons.iconImageAlpha = 0.03;
    relayout();
    EXPECT_NEAR(imageAlpha(view), 0.03, 1e-6);
}

TEST_F(IconTransforms, ACrossfadingIconViewKeepsItsIdentityAndAlpha)
{
    if (ranInProcessOfItsOwn())
        return;
    launchNarrowPhone();
    SBIconView *view = iconView(page(0), 1);
    EXPECT_FALSE(isCrossfading(view));
    msg<void, CGFloat>(view, "setIconImageAlpha:"_sel, 0.75);
    setCrossfading(view, YES);
    EXPECT_TRUE(isCrossfading(view));
    gCVIcons.pages.coverflow.enabled = true;
    gCVIcons.pages.hideLabels = true;
    gCVIcons.iconImageAlpha = 0.5;
    relayout();
    updateIcons(page(0), YES);

    expectScale(sublayerTransformOf(view), 1);
    EXPECT_DOUBLE_EQ(imageAlpha(view), 0.75);
    EXPECT_FALSE(view->m_labelView->isHidden());
    EXPECT_NE(sublayerTransformOf(iconView(page(0), 0)).m34, 0);

    setCrossfading(view, NO);
    relayout();
    EXPECT_NE(sublayerTransformOf(view).m34, 0);
    EXPECT_DOUBLE_EQ(imageAlpha(view), 0.5);
}

// A crossfade that zooms out of an application icon marks the icon view at each of its
// layout passes and unmarks it once the crossfade has been started.
TEST_F(IconTransforms, AZoomingCrossfadeMarksTheIconViewItStartsFrom)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    SpringBoardHost::unlock();
    gCVIcons.pages.coverflow.enabled = true;
    relayout();
    SBIconView *icon = iconView(page(0), 2);
    ASSERT_NE(sublayerTransformOf(icon).m34, 0);
    UIView *container = rootFolderView()->superview();
    auto crossfade = StrongRef<SBZoomableCrossfadeView>::adopt(
        sim::createZoomableCrossfade(container, icon->m_iconImageView, iconView(dockList(), 0)));

    msg<void>(crossfade.get(), "layoutSubviews"_sel);
    EXPECT_TRUE(isCrossfading(icon));
    expectScale(sublayerTransformOf(icon), 1);
    EXPECT_TRUE(CATransform3DIsIdentity(icon->layer()->transform()));
    relayout();
    expectScale(sublayerTransformOf(icon), 1);

    msg<void, std::function<void(BOOL)>>(crossfade.get(), "crossfadeWithCompletion:"_sel, {});
    EXPECT_FALSE(isCrossfading(icon));
    relayout();
    EXPECT_NE(sublayerTransformOf(icon).m34, 0);
    msg<void>(crossfade.get(), "removeFromSuperview"_sel);
}

TEST_F(IconTransforms, AnOpeningFolderIconIsMarkedUntilItsFolderCloses)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    SpringBoardHost::unlock();
    gCVIcons.pages.coverflow.enabled = true;
    relayout();
    auto *folderIcon = static_cast<SBFolderIconView *>(iconView(page(0), 17));
    ASSERT_STREQ(object_getClassName(folderIcon), "SBFolderIconView");
    ASSERT_NE(sublayerTransformOf(folderIcon).m34, 0);

    ASSERT_TRUE(SpringBoardHost::openFolder(0));
    sim::advanceVirtualClock(1);
    EXPECT_TRUE(isCrossfading(folderIcon));
    expectScale(sublayerTransformOf(folderIcon), 1);
    relayout();
    expectScale(sublayerTransformOf(folderIcon), 1);

    SpringBoardHost::closeFolder();
    sim::advanceVirtualClock(1);
    EXPECT_FALSE(isCrossfading(folderIcon));
    relayout();
    EXPECT_NE(sublayerTransformOf(folderIcon).m34, 0);
}

// Turning every option off live: the dock is forced back to the identity at once, the
// pages keep their last transforms until something forces them.
TEST_F(IconTransforms, ALiveUpdateForcesTheDockBackToTheIdentity)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    gCVIcons.pages.resize = true;
    gCVIcons.pages.resizeFactor = 0.8;
    gCVIcons.dock.resize = true;
    gCVIcons.dock.resizeFactor = 0.5;
    relayout();
    expectScale(sublayerTransformOf(iconView(dockList(), 0)), 0.5);

    gCVIcons.pages.resize = false;
    gCVIcons.dock.resize = false;
    ASSERT_TRUE(gCVIcons.changeCallback);
    gCVIcons.changeCallback();
    for (std::size_t index = 0; index < 4; ++index)
        expectScale(sublayerTransformOf(iconView(dockList(), index)), 1);
    expectScale(sublayerTransformOf(iconView(page(0), 0)), 0.8f);
}

// A scroll view inside the dock (as a dock that holds more icons than it shows has)
// moves the icons' positions by its offset as it scrolls.
TEST_F(IconTransforms, AScrollViewInTheDockShiftsTheIconsPositions)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    gCVIcons.dock.coverflow.enabled = true;
    SBIconListView *dock = dockList();
    auto scroller = sim::newView<UIScrollView>(UIScrollView::class_(), dock->bounds());
    msg<void, UIView *>(dock, "addSubview:"_sel, scroller.get());
    msg<void, CGSize>(scroller.get(), "setContentSize:"_sel, {750, 96});

    msg<void, CGPoint>(scroller.get(), "setContentOffset:"_sel, {50, 0});
    // The dock's first icon is centred at 27 + 30 = 57 in its 375-point list.
    double p = (57.0 - 50) / 375;
    expectCoverFlow(sublayerTransformOf(iconView(dock, 0)), angleAt(p), scaleAt(p), 0,
                    kPerspective);
    p = (318.0 - 50) / 375;
    expectCoverFlow(sublayerTransformOf(iconView(dock, 3)), angleAt(p), scaleAt(p), 10000,
                    kPerspective);

    // A scroll view elsewhere does not move the dock's icons.
    CATransform3D before = sublayerTransformOf(iconView(dock, 0));
    msg<void, CGPoint>(rootFolderView()->m_searchScrollView.get(), "setContentOffset:"_sel,
                       {30, 0});
    EXPECT_TRUE(CATransform3DEqualToTransform(sublayerTransformOf(iconView(dock, 0)), before));
}

class ImageCrossfade : public IconTransforms {
protected:
    // An image crossfade over the folder icon, as opening its folder makes one.
    static CATransform3D crossfadeTransform(CATransform3D *iconTransform)
    {
        SBIconView *folderIcon = iconView(page(0), 17);
        *iconTransform = sublayerTransformOf(folderIcon);
        auto crossfade = StrongRef<SBIconImageCrossfadeView>::adopt(
            sim::createIconImageCrossfade(folderIcon, folderIcon->m_iconImageView));
        CATransform3D transform = crossfade->layer()->transform();
        msg<void>(crossfade.get(), "removeFromSuperview"_sel);
        return transform;
    }
};

TEST_F(ImageCrossfade, OniOS9ItUndoesTheIconsCoverFlow)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    gCVIcons.pages.coverflow.enabled = true;
    relayout();
    CATransform3D iconTransform;
    CATransform3D transform = crossfadeTransform(&iconTransform);
    ASSERT_NE(iconTransform.m34, 0);
    CATransform3D product = CATransform3DConcat(transform, iconTransform);
    expectScale(product, 1);

    // With cover flow off everywhere the crossfade keeps SpringBoard's identity, even over a
    // resized icon.
    gCVIcons.pages.coverflow.enabled = false;
    gCVIcons.pages.resize = true;
    gCVIcons.pages.resizeFactor = 0.5;
    relayout();
    EXPECT_TRUE(CATransform3DIsIdentity(crossfadeTransform(&iconTransform)));
}

TEST_F(ImageCrossfade, BeforeiOS9ItIsLeftAlone)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension(phoneProfile(sim::DeviceProfile::kIOS8CoreFoundation));
    gCVIcons.dock.coverflow.enabled = true;
    gCVIcons.pages.coverflow.enabled = true;
    relayout();
    CATransform3D iconTransform;
    EXPECT_TRUE(CATransform3DIsIdentity(crossfadeTransform(&iconTransform)));
    EXPECT_NE(iconTransform.m34, 0);
}

} // namespace
