// The icon grid: SpringBoard's own places, asked by message so that replacements move icons.

#include "SpringBoardTest.h"

#include "springboard/SBIconListPageControl.h"

namespace {

using sim::DeviceProfile;
using sim::SpringBoardHost;
using test::phoneProfile;

class IconLayout : public test::SpringBoardTest {
protected:
    static void relayout() { msg<void>(iconController(), "relayout"_sel); }

    static NSUInteger classCount(Class cls, const char *selector, NSInteger orientation)
    {
        return msg<NSUInteger, NSInteger>(cls, sel_registerName(selector), orientation);
    }
};

// On the default phone the first page is 571 points tall above the 96-point dock: four
// 60-point columns in gaps of 27 (one every 87), six 74-point rows in gaps of 14 (every 88).
TEST_F(IconLayout, EachDeviceAndKindHasSpringBoardsOwnGridAndDock)
{
    launch();
    SBIconListView *first = page(0);

    EXPECT_EQ(msg<NSUInteger>(first, "iconColumnsForCurrentOrientation"_sel), 4u);
    EXPECT_EQ(msg<NSUInteger>(first, "iconRowsForCurrentOrientation"_sel), 6u);
    EXPECT_DOUBLE_EQ(msg<CGFloat>(first, "sideIconInset"_sel), 27);
    EXPECT_DOUBLE_EQ(msg<CGFloat>(first, "horizontalIconPadding"_sel), 27);
    EXPECT_DOUBLE_EQ(msg<CGFloat>(first, "verticalIconPadding"_sel), 14);
    EXPECT_POINT_NEAR(iconOrigin(first, 0), 27, 27);
    EXPECT_POINT_NEAR(iconOrigin(first, 3), 288, 27);
    EXPECT_POINT_NEAR(iconOrigin(first, 5), 114, 115);
    EXPECT_POINT_NEAR(iconOrigin(first, 14), 201, 291);
    // The folder closes the first page, in row 5, column 2.
    EXPECT_STREQ(object_getClassName(iconView(first, 17)), "SBFolderIconView");
    EXPECT_POINT_NEAR(iconOrigin(first, 17), 114, 379);

    // The dock holds four icons across the bottom, (96 − 74) / 2 = 11 from its top.
    SBIconListView *dock = dockList();
    EXPECT_STREQ(object_getClassName(dock), "SBDockIconListView");
    EXPECT_EQ(rootFolderView()->m_dockView->frame().origin.y, 571);
    ASSERT_EQ(dock->m_icons->count(), 4u);
    for (std::size_t column = 0; column < 4; ++column)
        EXPECT_POINT_NEAR(iconOrigin(dock, column), 27 + 87.0 * double(column), 11);
    EXPECT_EQ(classCount(object_getClass(dock), "iconColumnsForInterfaceOrientation:", 1), 4u);
    EXPECT_EQ(msg<NSUInteger>(object_getClass(dock), "iconColumnsOrRows"_sel), 4u);

    // Each kind and device has its own counts.
    Class root = SBRootIconListView::class_();
    Class folder = SBFolderIconListView::class_();
    EXPECT_EQ(classCount(root, "iconColumnsForInterfaceOrientation:", 3), 6u);
    EXPECT_EQ(classCount(root, "iconRowsForInterfaceOrientation:", 3), 4u);
    EXPECT_EQ(classCount(root, "maxVisibleIconRowsInterfaceOrientation:", 1), 6u);
    EXPECT_EQ(classCount(folder, "iconColumnsForInterfaceOrientation:", 1), 3u);
    EXPECT_EQ(classCount(folder, "iconRowsForInterfaceOrientation:", 1), 3u);
    SpringBoardHost::terminate();

    DeviceProfile fourInch = phoneProfile();
    fourInch.screenWidth = 320;
    fourInch.screenHeight = 568;
    launch(fourInch);
    root = SBRootIconListView::class_();
    EXPECT_EQ(classCount(root, "iconRowsForInterfaceOrientation:", 1), 5u);
    EXPECT_EQ(classCount(root, "iconColumnsForInterfaceOrientation:", 3), 5u);
    // (320 − 4 × 60) / 5 = 16.
    EXPECT_DOUBLE_EQ(msg<CGFloat>(page(0), "sideIconInset"_sel), 16);
    SpringBoardHost::terminate();

    DeviceProfile pad = phoneProfile();
    pad.idiom = DeviceProfile::Pad;
    pad.screenWidth = 768;
    pad.screenHeight = 1024;
    launch(pad);
    root = SBRootIconListView::class_();
    EXPECT_EQ(classCount(root, "iconColumnsForInterfaceOrientation:", 1), 4u);
    EXPECT_EQ(classCount(root, "iconRowsForInterfaceOrientation:", 1), 5u);
    EXPECT_EQ(classCount(root, "iconColumnsForInterfaceOrientation:", 4), 5u);
    EXPECT_EQ(classCount(root, "iconRowsForInterfaceOrientation:", 4), 4u);
    // 76-point icons: (768 − 4 × 76) / 5 = 92.8.
    EXPECT_POINT_NEAR(iconOrigin(page(0), 1), 92.8 * 2 + 76, 54);
}

// Replaced counts, insets and paddings move icons in the extension's grid tests; here a
// replaced origin places every icon, and icons beyond a replaced row count are hidden.
TEST_F(IconLayout, ReplacedOriginsAndRowCountsAreAskedByTheLayout)
{
    launch();
    test::replaceMethod(SBIconListView::class_(), "originForIconAtCoordinate:",
                        reinterpret_cast<IMP>(+[](SBIconListView *, SEL, SBIconCoordinate c) {
                            return CGPointMake(CGFloat(c.col) * 10, CGFloat(c.row) * 100);
                        }));
    relayout();
    EXPECT_POINT_NEAR(iconOrigin(page(0), 6), 30, 200);

    class_replaceMethod(
        object_getClass(SBRootIconListView::class_()), "iconRowsForInterfaceOrientation:"_sel,
        reinterpret_cast<IMP>(+[](Class, SEL, NSInteger) -> NSUInteger { return 2; }), "Q@:q");
    relayout();
    EXPECT_EQ(msg<NSArray *>(page(0), "visibleIcons"_sel)->count(), 8u);
    EXPECT_FALSE(iconView(page(0), 7)->isHidden());
    EXPECT_TRUE(iconView(page(0), 8)->isHidden());
}

// In landscape the 571 × 375 pages have six columns in gaps of 211 / 7 beside an upright dock
// whose four icons stand in gaps of 15.8, (96 − 60) / 2 = 18 from its edge.
TEST_F(IconLayout, AphoneInLandscapeTurnsItsDockUpright)
{
    launch();
    // Code that places dock icons itself finds an upright dock's places down its rows.
    auto coordinate = [](NSUInteger index) {
        return msg<SBIconCoordinate, NSUInteger, NSInteger>(
            dockList(), "iconCoordinateForIndex:forOrientation:"_sel, index,
            msg<NSInteger>(dockList(), "orientation"_sel));
    };
    EXPECT_EQ(coordinate(2).row, 1);
    EXPECT_EQ(coordinate(2).col, 3);
    // A number that is no orientation changes nothing.
    EXPECT_FALSE(SpringBoardHost::rotate(5));
    EXPECT_FALSE(SpringBoardHost::rotate(0));
    EXPECT_EQ(DeviceProfile::current()->orientation, 1);
    ASSERT_TRUE(SpringBoardHost::rotate(3));

    EXPECT_RECT_NEAR(rootFolderView()->m_dockView->frame(), 571, 0, 96, 375);
    for (std::size_t position = 0; position < 4; ++position)
        EXPECT_POINT_NEAR(iconOrigin(dockList(), position), 18, 15.8 + 89.8 * double(position));
    CGFloat gap = 211.0 / 7;
    EXPECT_POINT_NEAR(iconOrigin(page(0), 1), gap + 60 + gap, 27);
    EXPECT_EQ(msg<NSInteger>(page(0), "orientation"_sel), 3);

    ASSERT_TRUE(SpringBoardHost::rotate(4));
    EXPECT_EQ(coordinate(2).row, 3);
    EXPECT_EQ(coordinate(2).col, 1);
    CGPoint third = msg<CGPoint, SBIconCoordinate>(dockList(), "originForIconAtCoordinate:"_sel,
                                                   SBIconCoordinate{3, 1});
    EXPECT_POINT_NEAR(third, 18, 15.8 + 2 * 89.8);
}

TEST_F(IconLayout, iOS7TurnsItsWindowsInsteadOfTheScreen)
{
    launch(phoneProfile(DeviceProfile::kIOS7CoreFoundation));
    SpringBoardHost::unlock();
    ASSERT_TRUE(SpringBoardHost::rotate(3));
    UIWindow *home = rootFolderView()->window();
    EXPECT_RECT_NEAR(home->bounds(), 0, 0, 667, 375);
    EXPECT_POINT_NEAR(home->center(), 187.5, 333.5);
    EXPECT_NEAR(home->transform().b, 1, 1e-12); // a quarter turn
    EXPECT_RECT_NEAR(home->frame(), 0, 0, 375, 667);
}

class PageDots : public test::SpringBoardTest {
protected:
    static SBIconListPageControl *pageControl() { return rootFolderView()->m_pageControl; }

    static bool dotHasImage(std::size_t index)
    {
        return pageControl()->m_indicators.at(index)->m_image;
    }
};

TEST_F(PageDots, OneDotPerPageTheCurrentOneBrightAsTheIndicatorMethodSets)
{
    launch();
    SBIconListPageControl *dots = pageControl();
    ASSERT_EQ(dots->m_indicators.size(), 2u);
    EXPECT_EQ(dots->m_indicators[0]->m_image.get(), dots->m_currentPageImage.get());
    EXPECT_EQ(dots->m_indicators[1]->m_image.get(), dots->m_pageImage.get());

    // An indicator method that passes no image view leaves the dots empty.
    static IMP original = nullptr;
    original = test::replaceMethod(
        SBIconListPageControl::class_(), "_setIndicatorImage:toEnabled:index:",
        reinterpret_cast<IMP>(+[](SBIconListPageControl *self, SEL cmd, UIImageView *, BOOL enabled,
                                  NSInteger index) {
            reinterpret_cast<void (*)(SBIconListPageControl *, SEL, UIImageView *, BOOL,
                                      NSInteger)>(original)(self, cmd, nil, enabled, index);
        }));
    msg<void, NSInteger>(pageControl(), "setNumberOfPages:"_sel, 3);
    EXPECT_FALSE(dotHasImage(0));
    EXPECT_FALSE(dotHasImage(2));
}

TEST_F(PageDots, iOS8AsksTheIndicatorMethodWithoutIndex)
{
    launch(phoneProfile(DeviceProfile::kIOS8CoreFoundation));
    static int calls = 0;
    static IMP original = nullptr;
    original = test::replaceMethod(
        SBIconListPageControl::class_(), "_setIndicatorImage:toEnabled:",
        reinterpret_cast<IMP>(
            +[](SBIconListPageControl *self, SEL cmd, UIImageView *view, BOOL enabled) {
                ++calls;
                reinterpret_cast<void (*)(SBIconListPageControl *, SEL, UIImageView *, BOOL)>(
                    original)(self, cmd, view, enabled);
            }));
    msg<void, NSInteger>(pageControl(), "setCurrentPage:"_sel, 1);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(pageControl()->m_indicators[1]->m_image.get(),
              pageControl()->m_currentPageImage.get());
}

} // namespace
