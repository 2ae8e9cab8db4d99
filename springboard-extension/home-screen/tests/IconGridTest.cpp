// The icon grid as SpringBoard draws it with the extension: counts, origins, insets and
// paddings of pages, dock and folders. On the default phone (375 × 667 points) a page is
// 375 × 571 points, icons are S = 60 points wide, SpringBoard's own page grid is 4 × 6
// with x = 27 + 87(c − 1) and y = 27 + 88(r − 1), and the dock's icons stand 27 + 87(c − 1)
// across it.

#include "HomeScreenTest.h"
#include "springboard-extension/frame/tests/OwnProcess.h"

#include "springboard/IconListKinds.h"

#include <cmath>

namespace {

using sim::SpringBoardHost;
using test::phoneProfile;

constexpr double kPageWidth = 375;
constexpr double kPageHeight = 571;
constexpr double kIconSide = 60;
constexpr double kFloatTolerance = 1e-4;

class IconGrid : public test::HomeScreenTest {
protected:
    static NSUInteger classCount(Class cls, const char *selector, NSInteger orientation)
    {
        return msg<NSUInteger, NSInteger>(cls, sel_registerName(selector), orientation);
    }

    // The index-th icon's place on the first page.
    static CGPoint pageIcon(std::size_t index) { return iconOrigin(page(0), index); }
};

#define EXPECT_X_NEAR(point, x_) EXPECT_NEAR((point).x, (x_), kFloatTolerance)
#define EXPECT_Y_NEAR(point, y_) EXPECT_NEAR((point).y, (y_), kFloatTolerance)

TEST_F(IconGrid, FiveColumnsWithEqualWeightsShareTheFreeWidthInSixEqualGaps)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    gCVIcons.pages.iconColumns = 5;
    relayout();

    const double freeWidth = kPageWidth - 5 * kIconSide;
    for (std::size_t column = 0; column < 5; ++column)
        EXPECT_X_NEAR(pageIcon(column),
                      double(column) * kIconSide + double(column + 1) * freeWidth / 6);
    // Rows are SpringBoard's, which now places five icons to a row.
    EXPECT_Y_NEAR(pageIcon(4), 27);
    EXPECT_X_NEAR(pageIcon(5), freeWidth / 6);
    EXPECT_Y_NEAR(pageIcon(5), 27 + 88);
}

TEST_F(IconGrid, ADoubleSideInsetMakesTheOuterGapsTwiceTheInnerOnes)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    gCVIcons.pages.iconColumns = 4;
    gCVIcons.pages.sideInset = 2.0;
    relayout();

    const double freeWidth = kPageWidth - 4 * kIconSide;
    EXPECT_X_NEAR(pageIcon(0), 2 * freeWidth / 7);
    for (std::size_t column = 1; column < 4; ++column)
        EXPECT_NEAR(pageIcon(column).x - pageIcon(column - 1).x - kIconSide, freeWidth / 7,
                    kFloatTolerance);
    EXPECT_NEAR(kPageWidth - pageIcon(3).x - kIconSide, 2 * freeWidth / 7, kFloatTolerance);
}

TEST_F(IconGrid, RowsAloneAreRecomputedBelowTheTopInsetAndColumnsStaySpringBoards)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    gCVIcons.pages.iconRows = 5;
    relayout();

    // Top inset 27 and bottom inset 30 around five rows: six gaps share the rest.
    const double rowGap = (kPageHeight - 5 * kIconSide - (27 + 30)) / 6;
    EXPECT_X_NEAR(pageIcon(0), 27);
    EXPECT_Y_NEAR(pageIcon(0), 27);
    EXPECT_X_NEAR(pageIcon(7), 27 + 3 * 87);
    EXPECT_Y_NEAR(pageIcon(7), 27 + kIconSide + rowGap);
    EXPECT_X_NEAR(pageIcon(17), 27 + 87);
    EXPECT_Y_NEAR(pageIcon(17), 27 + 4 * (kIconSide + rowGap));
}

TEST_F(IconGrid, WithoutCountsSpringBoardPlacesTheIconsWithTheWeightedInsetsAndPaddings)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    SBIconListView *first = page(0);
    EXPECT_POINT_NEAR(pageIcon(5), 27 + 87, 27 + 88);

    gCVIcons.pages.sideInset = 2.0;
    gCVIcons.pages.verticalPadding = 0.5;
    relayout();
    // Side inset 54 leaves (375 − 108 − 240) / 3 = 9 between columns; rows 7 apart.
    EXPECT_DOUBLE_EQ(msg<CGFloat>(first, "sideIconInset"_sel), 54);
    EXPECT_DOUBLE_EQ(msg<CGFloat>(first, "horizontalIconPadding"_sel), 9);
    EXPECT_DOUBLE_EQ(msg<CGFloat>(first, "verticalIconPadding"_sel), 7);
    EXPECT_POINT_NEAR(pageIcon(5), 54 + 69, 27 + 81);
    EXPECT_POINT_NEAR(pageIcon(15), 54 + 3 * 69, 27 + 3 * 81);
}

TEST_F(IconGrid, TheCountMethodsTakeLandscapeKeysForEveryOrientationButPortrait)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    gCVIcons.pages.iconColumns = 3;
    gCVIcons.pages.iconColumnsLandscape = 7;
    gCVIcons.pages.iconRows = 2;
    gCVIcons.pages.iconRowsLandscape = 8;
    gCVIcons.folders.iconColumns = 2;
    gCVIcons.folders.iconColumnsLandscape = 5;
    gCVIcons.folders.iconRowsLandscape = 6;
    gCVIcons.dock.iconColumns = 6;
    Class root = SBRootIconListView::class_();
    Class folder = SBFolderIconListView::class_();
    Class dock = SBDockIconListView::class_();

    for (NSInteger orientation : {0, 3, 4, 7}) {
        EXPECT_EQ(classCount(root, "iconColumnsForInterfaceOrientation:", orientation), 7u);
        EXPECT_EQ(classCount(root, "iconRowsForInterfaceOrientation:", orientation), 8u);
        EXPECT_EQ(classCount(root, "maxVisibleIconRowsInterfaceOrientation:", orientation), 8u);
        EXPECT_EQ(classCount(folder, "iconColumnsForInterfaceOrientation:", orientation), 5u);
        EXPECT_EQ(classCount(folder, "maxVisibleIconRowsInterfaceOrientation:", orientation), 6u);
        EXPECT_EQ(classCount(dock, "iconColumnsForInterfaceOrientation:", orientation), 6u);
    }
    for (NSInteger orientation : {1, 2}) {
        EXPECT_EQ(classCount(root, "iconColumnsForInterfaceOrientation:", orientation), 3u);
        EXPECT_EQ(classCount(root, "maxVisibleIconRowsInterfaceOrientation:", orientation), 2u);
        EXPECT_EQ(classCount(folder, "iconColumnsForInterfaceOrientation:", orientation), 2u);
        // The folders' portrait rows are unset: SpringBoard's 3.
        EXPECT_EQ(classCount(folder, "iconRowsForInterfaceOrientation:", orientation), 3u);
        EXPECT_EQ(classCount(dock, "iconColumnsForInterfaceOrientation:", orientation), 6u);
    }
    // The dock's rows are unset: SpringBoard's single row.
    EXPECT_EQ(classCount(dock, "iconRowsForInterfaceOrientation:", 3), 1u);
}

// A list of orientation 0 places its icons by the portrait keys. SpringBoard itself asks
// its counts for orientation 0 and so gets the landscape ones.
TEST_F(IconGrid, TheOriginTakesPortraitKeysForEveryOrientationButLandscape)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    SBIconListView *first = page(0);
    msg<void, NSInteger>(first, "setOrientation:"_sel, 0);
    auto origin = [first](NSInteger row, NSInteger column) {
        return msg<CGPoint, SBIconCoordinate>(first, "originForIconAtCoordinate:"_sel,
                                              SBIconCoordinate{row, column});
    };

    gCVIcons.pages.iconColumns = 5;
    EXPECT_X_NEAR(origin(1, 2), kIconSide + 2 * (kPageWidth - 5 * kIconSide) / 6);

    gCVIcons.pages.iconColumns = 0;
    gCVIcons.pages.iconColumnsLandscape = 5;
    // SpringBoard's own place: five columns (asked for orientation 0) after its side inset
    // of 27, four gaps of (375 − 54 − 300) / 4 = 5.25.
    EXPECT_X_NEAR(origin(1, 2), 27 + kIconSide + 5.25);
}

// Upright at the right edge in landscape, the dock is 96 × 375 points; SpringBoard's side
// inset along it is (375 − 4 × 74) / 5 = 15.8 and its icons stand 18 points from its edge.
TEST_F(IconGrid, AnUprightDockSpreadsItsColumnsDownBetweenItsSideInsets)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    gCVIcons.dock.iconColumns = 6;
    gCVIcons.dock.iconColumnsLandscape = 6;
    ASSERT_TRUE(SpringBoardHost::rotate(3));
    ASSERT_EQ(msg<NSInteger>(dockList(), "orientation"_sel), 3);

    const double inset = 15.8;
    const double gap = (375 - 6 * kIconSide - 2 * inset) / 7;
    for (std::size_t place = 0; place < 4; ++place) {
        CGPoint origin = iconOrigin(dockList(), place);
        EXPECT_X_NEAR(origin, 18);
        EXPECT_Y_NEAR(origin, inset + double(place) * (kIconSide + gap));
    }

    // Turned the other way, the same; back upright, the dock lies along the bottom again and
    // the origin follows the portrait key, six across.
    ASSERT_TRUE(SpringBoardHost::rotate(4));
    EXPECT_Y_NEAR(iconOrigin(dockList(), 3), inset + 3 * (kIconSide + gap));
    ASSERT_TRUE(SpringBoardHost::rotate(1));
    EXPECT_X_NEAR(iconOrigin(dockList(), 1), kIconSide + 2 * (kPageWidth - 6 * kIconSide) / 7);
}

// The upright dock swaps its axes: with rows set the rows run across its 96 points and the
// columns down it; without columns only the rows are spread down it and x stays
// SpringBoard's. Its side inset of 15.8 is the inset at both ends.
TEST_F(IconGrid, AnUprightDockTakesItsRowsAcrossAndWithoutColumnsKeepsItsX)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    ASSERT_TRUE(SpringBoardHost::rotate(3));
    auto origin = [](NSInteger row, NSInteger col) {
        return msg<CGPoint, SBIconCoordinate>(dockList(), "originForIconAtCoordinate:"_sel,
                                              {row, col});
    };
    const double inset = 15.8;
    const double springBoardX = origin(2, 2).x;

    gCVIcons.dock.iconColumnsLandscape = 6;
    gCVIcons.dock.iconRowsLandscape = 2;
    // Across: two rows in 96 points leave (96 − 120) / 3 = −8 for each gap.
    EXPECT_X_NEAR(origin(1, 1), -8);
    EXPECT_X_NEAR(origin(1, 2), kIconSide - 16);
    // Down: six columns share 375 − 360 − 2 × 15.8 in seven gaps below the top inset.
    const double gap = (375 - 6 * kIconSide - 2 * inset) / 7;
    EXPECT_Y_NEAR(origin(3, 1), inset + 2 * (kIconSide + gap));

    gCVIcons.dock.iconColumnsLandscape = 0;
    const double rowGap = (375 - 2 * kIconSide - 2 * inset) / 3;
    EXPECT_X_NEAR(origin(2, 2), springBoardX);
    EXPECT_Y_NEAR(origin(2, 2), inset + kIconSide + rowGap);
}

TEST_F(IconGrid, TheDocksSingleCountFollowsItsRowsOnly)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    Class dock = SBDockIconListView::class_();
    gCVIcons.dock.iconColumns = 6;
    EXPECT_EQ(msg<NSUInteger>(dock, "iconColumnsOrRows"_sel), 4u);
    gCVIcons.dock.iconRows = 2;
    EXPECT_EQ(msg<NSUInteger>(dock, "iconColumnsOrRows"_sel), 2u);
}

// A subclass's own count method that calls its superclass's reaches the page lists'
// replacement with itself as the receiving class.
TEST_F(IconGrid, ADockOrFolderClassAskingThePageCountsGetsSpringBoardsOwn)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    gCVIcons.pages.iconColumns = 5;
    gCVIcons.pages.iconRows = 3;
    Class root = SBRootIconListView::class_();
    auto pageCount = [root](Class receiver, const char *selector) {
        SEL name = sel_registerName(selector);
        auto method = reinterpret_cast<NSUInteger (*)(Class, SEL, NSInteger)>(
            class_getMethodImplementation(object_getClass(root), name));
        return method(receiver, name, 1);
    };

    EXPECT_EQ(pageCount(root, "iconColumnsForInterfaceOrientation:"), 5u);
    EXPECT_EQ(pageCount(root, "iconRowsForInterfaceOrientation:"), 3u);
    EXPECT_EQ(pageCount(root, "maxVisibleIconRowsInterfaceOrientation:"), 3u);
    for (Class other : {SBDockIconListView::class_(), SBFolderIconListView::class_()}) {
        EXPECT_EQ(pageCount(other, "iconColumnsForInterfaceOrientation:"), 4u);
        EXPECT_EQ(pageCount(other, "iconRowsForInterfaceOrientation:"), 6u);
    }
}

// The dock inherits its side inset from the page lists, so its factor is divided by the
// pages' one, which the inherited value already carries. SpringBoard's dock inset is
// (375 − 4 × 60) / 5 = 27.
TEST_F(IconGrid, TheDockKeepsItsOwnSideInsetFactorWhateverThePagesFactor)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    gCVIcons.pages.sideInset = 2.0;
    EXPECT_NEAR(msg<CGFloat>(dockList(), "sideIconInset"_sel), 27, kFloatTolerance);
    gCVIcons.dock.sideInset = 3.0;
    EXPECT_NEAR(msg<CGFloat>(dockList(), "sideIconInset"_sel), 81, kFloatTolerance);

    // A pages factor of 0 puts the page icons at the edges and leaves the dock its own.
    gCVIcons.pages.sideInset = 0;
    gCVIcons.dock.sideInset = 1.5;
    relayout();
    EXPECT_NEAR(msg<CGFloat>(dockList(), "sideIconInset"_sel), 40.5, kFloatTolerance);
    for (std::size_t column = 0; column < 4; ++column) {
        // (375 − 81 − 240) / 3 = 18 between dock icons, (375 − 240) / 3 = 45 on the page.
        EXPECT_X_NEAR(iconOrigin(dockList(), column), 40.5 + 78 * double(column));
        EXPECT_X_NEAR(pageIcon(column), 105 * double(column));
    }
}

TEST_F(IconGrid, WeightsThatAddUpToNothingLeaveTheColumnsToSpringBoard)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    gCVIcons.pages.iconColumns = 4;
    gCVIcons.pages.sideInset = 0;
    gCVIcons.pages.horizontalPadding = 0;
    relayout();
    // SpringBoard's inset and padding, both weighted to 0: the icons touch from the left.
    for (std::size_t column = 0; column < 4; ++column) {
        CGPoint origin = pageIcon(column);
        ASSERT_TRUE(std::isfinite(origin.x));
        EXPECT_X_NEAR(origin, kIconSide * double(column));
    }
}

TEST_F(IconGrid, FoldersTakeTheirOwnCountsAndWeights)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    SpringBoardHost::unlock();
    gCVIcons.folders.iconColumns = 2;
    gCVIcons.pages.iconColumns = 5;
    ASSERT_TRUE(SpringBoardHost::openFolder(0));
    sim::advanceVirtualClock(1);
    SBFolderController *open = iconController()->m_openFolderController;
    ASSERT_TRUE(open);
    auto *list =
        static_cast<SBIconListView *>(open->m_contentView->m_iconListViews->objectAtIndex(0));
    ASSERT_STREQ(object_getClassName(list), "SBFolderIconListView");

    const double width = list->frame().size.width;
    const double gap = (width - 2 * kIconSide) / 3;
    EXPECT_X_NEAR(iconOrigin(list, 0), gap);
    EXPECT_X_NEAR(iconOrigin(list, 1), 2 * gap + kIconSide);
    EXPECT_X_NEAR(iconOrigin(list, 2), gap);
}

} // namespace
