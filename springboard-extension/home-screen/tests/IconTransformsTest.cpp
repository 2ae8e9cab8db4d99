// Icon transforms as SpringBoard shows them with the extension: resize, cover flow,
// labels and image alpha, and the icon views kept out of it while they crossfade.

#include "springboard-extension/frame/tests/ExtensionTest.h"

#include "springboard/CrossfadeViews.h"
#include "springboard/HostViews.h"
#include "springboard/SBFolderIconView.h"
#include "uikit/UIScrollView.h"

#include <cmath>
#include <functional>

namespace {

using sim::SpringBoardHost;
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

// A cover-flow icon's transform: a scale after a turn by `angle` about the vertical axis,
// `perspective` as m34 and `depth` as m43 before the turn.
void expectCoverFlow(const CATransform3D &transform, double angle, double scale, double depth,
                     double perspective)
{
    EXPECT_NEAR(transform.m11, scale * std::cos(angle), 1e-5);
    EXPECT_NEAR(transform.m13, -scale * std::sin(angle), 1e-5);
    EXPECT_NEAR(transform.m22, scale, 1e-5);
    EXPECT_NEAR(transform.m31, std::sin(angle), 1e-5);
    EXPECT_NEAR(transform.m33, std::cos(angle), 1e-5);
    EXPECT_NEAR(transform.m34, perspective * std::cos(angle), 1e-8);
    EXPECT_NEAR(transform.m43, depth, 1e-3);
}

class IconTransforms : public test::ExtensionTest {
protected:
    static CATransform3D transformOf(SBIconListView *list, std::size_t index)
    {
        return sublayerTransformOf(iconView(list, index));
    }
    static BOOL isCrossfading(UIView *view)
    {
        return msg<signed char>(view, "_CV_CrossfadingStatus_isCrossfading"_sel);
    }
    static CGFloat imageAlpha(SBIconView *view) { return view->m_iconImageView->alpha(); }
};

TEST_F(IconTransforms, CoverFlowTurnsAndScalesEachIconByItsPlaceInTheList)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    sim::DeviceProfile narrow = phoneProfile(); // 320-point pages
    narrow.screenWidth = 320;
    narrow.screenHeight = 568;
    launchWithExtension(narrow);
    gCVIcons.pages.coverflow.enabled = true;
    SBIconListView *list = page(0);
    auto placeAndUpdate = [list](CGFloat first, CGFloat second) {
        for (std::size_t index : {0, 1})
            msg<void, CGPoint>(iconView(list, index), "setCenter:"_sel,
                               {index ? second : first, iconView(list, index)->center().y});
        msg<void, signed char>(list, "CV_updateIcons:"_sel, NO);
    };
    placeAndUpdate(0, 161);
    expectCoverFlow(transformOf(list, 0), -0.725, 1.1, 0, kPerspective);
    expectCoverFlow(transformOf(list, 1), angleAt(161.0 / 320), scaleAt(161.0 / 320), 10000,
                    kPerspective);
    gCVIcons.pages.coverflow.outside = true;
    placeAndUpdate(0, 240);
    expectCoverFlow(transformOf(list, 1), angleAt(0.75), scaleAt(0.75), 10000, -kPerspective);

    // The list's own flow factor and perspective turn the resized icon: at p = 0.25 the
    // angle is 0.5 − 1 = −0.5, q = 0.525 and the scale 1.1q + 0.5(1 − q), times 0.5.
    gCVIcons.pages.coverflow.outside = false;
    gCVIcons.pages.coverflow.flowFactor = 2.0;
    gCVIcons.pages.coverflow.perspective = 0.5;
    gCVIcons.pages.resize = true;
    gCVIcons.pages.resizeFactor = 0.5;
    placeAndUpdate(80, 240);
    CATransform3D turned = transformOf(list, 0);
    EXPECT_NEAR(turned.m22, 0.5 * (1.1 * 0.525 + 0.5 * 0.475), 1e-5);
    EXPECT_NEAR(turned.m33, std::cos(-0.5), 1e-5);
}

// Resizing the pages leaves the dock and folders at the identity; a live update that turns
// every option off forces the dock back at once, the pages keep theirs until forced.
TEST_F(IconTransforms, ResizingReachesOnlyItsOwnListsAndALiveUpdateForcesTheDockBack)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchWithExtension();
    SpringBoardHost::unlock();
    SBFolder *folder = static_cast<SBFolderIcon *>(iconController()->folderIcons().at(0))->m_folder;
    auto *inFolder = msg<SBIconView *>(iconController()->m_iconViewMap.get(),
                                       "iconViewForIcon:"_sel, folder->m_icons->objectAtIndex(0));
    setSublayerTransform(inFolder, kDoubled);
    setSublayerTransform(iconView(dockList(), 3), kDoubled);
    gCVIcons.pages.resize = true;
    gCVIcons.pages.resizeFactor = 0.8;
    relayout();
    ASSERT_TRUE(SpringBoardHost::openFolder(0));
    sim::advanceVirtualClock(1);
    expectScale(transformOf(page(0), 0), 0.8f);
    expectScale(transformOf(dockList(), 3), 1);
    expectScale(sublayerTransformOf(inFolder), 1);

    gCVIcons.dock.resize = true;
    gCVIcons.dock.resizeFactor = 0.5;
    relayout();
    expectScale(transformOf(dockList(), 3), 0.5);
    gCVIcons.pages.resize = gCVIcons.dock.resize = false;
    gCVIcons.changeCallback();
    expectScale(transformOf(dockList(), 3), 1);
    expectScale(transformOf(page(0), 0), 0.8f);
}

// SpringBoard's own animated layout is left out here (its animation never runs), so that
// only the update the replacement adds shows.
void animateNothing(id, SEL, NSTimeInterval, std::function<void()>) {}

// The thousandth of a second is the single-precision constant widened to double.
TEST_F(IconTransforms, AnAnimatedLayoutUpdatesTheIconsOnlyAboveAThousandthOfASecond)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
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

// With nothing resized the transforms stay; labels and image alpha follow, but an image
// alpha of at most two hundredths is never set.
TEST_F(IconTransforms, WithNothingResizedTheTransformsStayAndLabelsAlphaAndScrollingFollow)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchWithExtension();
    SBIconView *view = iconView(page(0), 0);
    setSublayerTransform(view, kDoubled);
    gCVIcons.pages.hideLabels = true;
    for (double alpha : {0.5, 0.02, 0.0}) {
        gCVIcons.iconImageAlpha = alpha;
        relayout();
        EXPECT_DOUBLE_EQ(imageAlpha(view), 0.5) << alpha;
        EXPECT_DOUBLE_EQ(imageAlpha(iconView(dockList(), 0)), 0.5) << alpha;
    }
    expectScale(sublayerTransformOf(view), 2);
    EXPECT_TRUE(view->m_labelView->isHidden());
    EXPECT_FALSE(iconView(dockList(), 0)->m_labelView->isHidden());
    gCVIcons.pages.hideLabels = false;
    gCVIcons.iconImageAlpha = 0.03;
    relayout();
    EXPECT_FALSE(view->m_labelView->isHidden());
    EXPECT_NEAR(imageAlpha(view), 0.03, 1e-6);

    // A scroll view inside the dock moves the icons' positions by its offset; one elsewhere
    // does not. The dock's first icon is centred at 27 + 30 = 57.
    gCVIcons.dock.coverflow.enabled = true;
    auto scroller = sim::newView<UIScrollView>(UIScrollView::class_(), dockList()->bounds());
    msg<void, UIView *>(dockList(), "addSubview:"_sel, scroller.get());
    msg<void, CGSize>(scroller.get(), "setContentSize:"_sel, {750, 96});
    msg<void, CGPoint>(scroller.get(), "setContentOffset:"_sel, {50, 0});
    const double p = (57.0 - 50) / 375;
    expectCoverFlow(transformOf(dockList(), 0), angleAt(p), scaleAt(p), 0, kPerspective);
    msg<void, CGPoint>(rootFolderView()->m_searchScrollView.get(), "setContentOffset:"_sel,
                       {30, 0});
    expectCoverFlow(transformOf(dockList(), 0), angleAt(p), scaleAt(p), 0, kPerspective);
}

// A crossfade from an application icon marks its view until started, an opening folder's
// icon until its folder closes; a marked view keeps the identity, its label and its alpha.
TEST_F(IconTransforms, CrossfadesMarkTheIconViewTheyStartFrom)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchWithExtension();
    SpringBoardHost::unlock();
    gCVIcons.pages.coverflow.enabled = true;
    SBIconView *icon = iconView(page(0), 2);
    SBIconView *folderIcon = iconView(page(0), 17);
    auto expectMarked = [](SBIconView *view, bool marked) {
        EXPECT_EQ(isCrossfading(view), marked);
        relayout();
        if (marked)
            expectScale(sublayerTransformOf(view), 1);
        else
            EXPECT_NE(sublayerTransformOf(view).m34, 0);
    };
    expectMarked(icon, false);
    auto crossfade = StrongRef<SBZoomableCrossfadeView>::adopt(sim::createZoomableCrossfade(
        rootFolderView()->superview(), icon->m_iconImageView, iconView(dockList(), 0)));
    msg<void>(crossfade.get(), "layoutSubviews"_sel);
    EXPECT_TRUE(CATransform3DIsIdentity(icon->layer()->transform()));
    gCVIcons.pages.hideLabels = true;
    gCVIcons.iconImageAlpha = 0.5;
    expectMarked(icon, true);
    EXPECT_FALSE(icon->m_labelView->isHidden());
    EXPECT_DOUBLE_EQ(imageAlpha(icon), 1);
    msg<void, std::function<void(BOOL)>>(crossfade.get(), "crossfadeWithCompletion:"_sel, {});
    expectMarked(icon, false);
    EXPECT_DOUBLE_EQ(imageAlpha(icon), 0.5);
    msg<void>(crossfade.get(), "removeFromSuperview"_sel);

    expectMarked(folderIcon, false);
    ASSERT_TRUE(SpringBoardHost::openFolder(0));
    sim::advanceVirtualClock(1);
    expectMarked(folderIcon, true);
    SpringBoardHost::closeFolder();
    sim::advanceVirtualClock(1);
    expectMarked(folderIcon, false);
}

// An image crossfade over the folder icon, as opening its folder makes one on iOS 9: it
// undoes the icon's cover flow and keeps SpringBoard's identity over a merely resized icon.
TEST_F(IconTransforms, AnImageCrossfadeUndoesTheIconsCoverFlow)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchWithExtension(phoneProfile(sim::DeviceProfile::kIOS9CoreFoundation));
    gCVIcons.pages.coverflow.enabled = true;
    relayout();
    SBIconView *folderIcon = iconView(page(0), 17);
    auto crossfadeTransform = [folderIcon] {
        auto crossfade = StrongRef<SBIconImageCrossfadeView>::adopt(
            sim::createIconImageCrossfade(folderIcon, folderIcon->m_iconImageView));
        msg<void>(crossfade.get(), "removeFromSuperview"_sel);
        return crossfade->layer()->transform();
    };
    ASSERT_NE(sublayerTransformOf(folderIcon).m34, 0);
    expectScale(CATransform3DConcat(crossfadeTransform(), sublayerTransformOf(folderIcon)), 1);
    gCVIcons.pages.coverflow.enabled = false;
    gCVIcons.pages.resize = true;
    gCVIcons.pages.resizeFactor = 0.5;
    relayout();
    EXPECT_TRUE(CATransform3DIsIdentity(crossfadeTransform()));
}

} // namespace
