// The icon grid as SpringBoard draws it with the extension. On the default phone a page is
// 375 × 571 points, icons are 60 points wide, SpringBoard's page grid is 4 × 6 with
// x = 27 + 87(c − 1) and y = 27 + 88(r − 1); upright in landscape the dock is 96 × 375
// points, with SpringBoard's inset (375 − 4 × 74) / 5 = 15.8 along it.

#include "springboard-extension/frame/tests/ExtensionTest.h"

#include "springboard/IconListKinds.h"

#include <tuple>

namespace {

using sim::SpringBoardHost;

constexpr double kIconSide = 60;
constexpr double kUprightDockInset = 15.8;
constexpr double kTolerance = 1e-4;

void expectAt(CGPoint point, double x, double y)
{
    EXPECT_NEAR(point.x, x, kTolerance);
    EXPECT_NEAR(point.y, y, kTolerance);
}

class IconGrid : public test::ExtensionTest {
protected:
    static CGPoint pageIcon(std::size_t index) { return iconOrigin(page(0), index); }
    static CGPoint origin(SBIconListView *list, NSInteger row, NSInteger column)
    {
        return msg<CGPoint, SBIconCoordinate>(list, "originForIconAtCoordinate:"_sel,
                                              {row, column});
    }
    static NSUInteger count(Class cls, const char *selector, NSInteger orientation)
    {
        return msg<NSUInteger, NSInteger>(cls, sel_registerName(selector), orientation);
    }
};

// The page settings of a case and where they put icons of the first page.
struct PageGrid {
    unsigned char columns, rows;
    double sideInset, horizontalPadding, verticalPadding;
    std::vector<std::tuple<std::size_t, double, double>> icons; // index, x, y
};

TEST_F(IconGrid, PageIconsShareTheFreeRoomByTheWeightedInsetsAndPaddings)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchWithExtension();
    const PageGrid grids[] = {
        // Five columns share 375 − 300 in six gaps of 12.5; the rows stay SpringBoard's.
        {5, 0, 1, 1, 1, {{0, 12.5, 27}, {3, 230, 27}, {4, 302.5, 27}, {5, 12.5, 115}}},
        // A double side inset: outer gaps of 2 × 135 / 7, inner ones of 135 / 7.
        {4, 0, 2, 1, 1, {{0, 270.0 / 7, 27}, {1, 60 + 405.0 / 7, 27}, {3, 315 - 270.0 / 7, 27}}},
        // Five rows between the top inset 27 and the bottom one 30: six gaps of 214 / 6.
        {0, 5, 1, 1, 1, {{7, 288, 27 + 60 + 214.0 / 6}, {17, 114, 27 + 4 * (60 + 214.0 / 6)}}},
        // Weights that add up to nothing: the icons touch from the left.
        {4, 0, 0, 0, 1, {{0, 0, 27}, {1, 60, 27}, {3, 180, 27}}},
        // SpringBoard's counts: side inset 54 leaves 9 between columns, rows 7 apart.
        {0, 0, 2, 1, 0.5, {{5, 123, 108}, {15, 261, 270}}},
    };
    for (const PageGrid &grid : grids) {
        SCOPED_TRACE(testing::Message() << int(grid.columns) << " × " << int(grid.rows) << " "
                                        << grid.sideInset << " " << grid.verticalPadding);
        CVIconListEntity &pages = gCVIcons.pages;
        pages.iconColumns = grid.columns;
        pages.iconRows = grid.rows;
        pages.sideInset = grid.sideInset;
        pages.horizontalPadding = grid.horizontalPadding;
        pages.verticalPadding = grid.verticalPadding;
        relayout();
        for (auto [index, x, y] : grid.icons) {
            SCOPED_TRACE(index);
            expectAt(pageIcon(index), x, y);
        }
    }
}

// The count methods take the landscape keys for every orientation but portrait (1, 2);
// a list of orientation 0 places its icons by the portrait keys, a folder by its own.
TEST_F(IconGrid, CountsAndOriginsTakeTheKeysOfTheirOrientation)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchWithExtension();
    gCVIcons.pages.iconColumns = 3;
    gCVIcons.pages.iconColumnsLandscape = 7;
    gCVIcons.pages.iconRows = 2;
    gCVIcons.pages.iconRowsLandscape = 8;
    gCVIcons.folders.iconColumns = 2;
    gCVIcons.folders.iconColumnsLandscape = 5;
    gCVIcons.folders.iconRowsLandscape = 6;
    gCVIcons.dock.iconColumns = 6;
    Class root = SBRootIconListView::class_(), folder = SBFolderIconListView::class_(),
          dock = SBDockIconListView::class_();
    const struct {
        Class cls;
        const char *selector;
        NSUInteger portrait, landscape;
    } counts[] = {{root, "iconColumnsForInterfaceOrientation:", 3, 7},
                  {root, "iconRowsForInterfaceOrientation:", 2, 8},
                  {root, "maxVisibleIconRowsInterfaceOrientation:", 2, 8},
                  {folder, "iconColumnsForInterfaceOrientation:", 2, 5},
                  {folder, "iconRowsForInterfaceOrientation:", 3, 6},
                  {dock, "iconColumnsForInterfaceOrientation:", 6, 6},
                  {dock, "iconRowsForInterfaceOrientation:", 1, 1}};
    for (NSInteger orientation : {0, 1, 2, 3, 4, 7})
        for (const auto &expected : counts)
            EXPECT_EQ(count(expected.cls, expected.selector, orientation),
                      orientation == 1 || orientation == 2 ? expected.portrait : expected.landscape)
                << class_getName(expected.cls) << " " << expected.selector << orientation;

    SBIconListView *first = page(0);
    msg<void, NSInteger>(first, "setOrientation:"_sel, 0);
    gCVIcons.pages.iconColumns = 5;
    EXPECT_NEAR(origin(first, 1, 2).x, kIconSide + 2 * 75.0 / 6, kTolerance);
    // Unset, SpringBoard's place: it asks for orientation 0 and gets five columns after its
    // side inset of 27, with four gaps of (375 − 54 − 300) / 4 = 5.25.
    gCVIcons.pages.iconColumns = 0;
    gCVIcons.pages.iconColumnsLandscape = 5;
    EXPECT_NEAR(origin(first, 1, 2).x, 27 + kIconSide + 5.25, kTolerance);

    // The dock's single count follows its rows only.
    EXPECT_EQ(msg<NSUInteger>(dock, "iconColumnsOrRows"_sel), 4u);
    gCVIcons.dock.iconRows = 2;
    EXPECT_EQ(msg<NSUInteger>(dock, "iconColumnsOrRows"_sel), 2u);

    // A dock or folder class whose own count method calls its superclass's reaches the page
    // lists' replacement as the receiving class, and gets SpringBoard's own count.
    gCVIcons.pages.iconColumns = 5;
    SEL columns = "iconColumnsForInterfaceOrientation:"_sel;
    auto pageColumns = reinterpret_cast<NSUInteger (*)(Class, SEL, NSInteger)>(
        class_getMethodImplementation(object_getClass(root), columns));
    EXPECT_EQ(pageColumns(root, columns, 1), 5u);
    EXPECT_EQ(pageColumns(dock, columns, 1), 4u);
    EXPECT_EQ(pageColumns(folder, columns, 1), 4u);
}

// Upright, the dock's columns run down it and its rows across its 96 points; with rows set
// and no columns only the rows are spread down it and x stays SpringBoard's.
TEST_F(IconGrid, AnUprightDockSpreadsItsColumnsDownAndItsRowsAcross)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchWithExtension();
    gCVIcons.dock.iconColumns = 6;
    gCVIcons.dock.iconColumnsLandscape = 6;
    ASSERT_TRUE(SpringBoardHost::rotate(3));
    ASSERT_EQ(msg<NSInteger>(dockList(), "orientation"_sel), 3);
    const double gap = (375 - 6 * kIconSide - 2 * kUprightDockInset) / 7;
    for (std::size_t place = 0; place < 4; ++place)
        expectAt(iconOrigin(dockList(), place), 18,
                 kUprightDockInset + double(place) * (kIconSide + gap));
    ASSERT_TRUE(SpringBoardHost::rotate(4));
    EXPECT_NEAR(iconOrigin(dockList(), 3).y, kUprightDockInset + 3 * (kIconSide + gap), kTolerance);

    const double springBoardX = origin(dockList(), 2, 2).x;
    gCVIcons.dock.iconRowsLandscape = 2;
    // Across: two rows in 96 points leave (96 − 120) / 3 = −8 for each gap.
    expectAt(origin(dockList(), 1, 1), -8, kUprightDockInset);
    EXPECT_NEAR(origin(dockList(), 1, 2).x, kIconSide - 16, kTolerance);
    EXPECT_NEAR(origin(dockList(), 3, 1).y, kUprightDockInset + 2 * (kIconSide + gap), kTolerance);
    gCVIcons.dock.iconColumnsLandscape = 0;
    const double rowGap = (375 - 2 * kIconSide - 2 * kUprightDockInset) / 3;
    expectAt(origin(dockList(), 2, 2), springBoardX, kUprightDockInset + kIconSide + rowGap);

    // Back upright, the dock lies along the bottom and follows the portrait key.
    ASSERT_TRUE(SpringBoardHost::rotate(1));
    EXPECT_NEAR(iconOrigin(dockList(), 1).x, kIconSide + 2 * (375 - 6 * kIconSide) / 7, kTolerance);
}

} // namespace
