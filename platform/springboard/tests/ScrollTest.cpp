// A finger on the home screen's pages, heard through replaced scroll methods; iOS 9's Spotlight.

#include "SpringBoardTest.h"

#include "foundation/NSLog.h"
#include "springboard/SBFolderIconView.h"

#include <cmath>

namespace {

using sim::DeviceProfile;
using sim::SpringBoardHost;
using test::phoneProfile;

std::vector<std::string> g_calls;
IMP g_didScroll = nullptr;
IMP g_willBeginDragging = nullptr;
IMP g_didEndDecelerating = nullptr;

// Consecutive scroll steps count as one entry.
void record(const std::string &call)
{
    if (call == "didScroll" && !g_calls.empty() && g_calls.back() == call)
        return;
    g_calls.push_back(call);
}

using ScrollMethod = void (*)(SBFolderView *, SEL, UIScrollView *);

void didScroll(SBFolderView *self, SEL cmd, UIScrollView *scrollView)
{
    reinterpret_cast<ScrollMethod>(g_didScroll)(self, cmd, scrollView);
    record("didScroll");
}

void willBeginDragging(SBFolderView *self, SEL cmd, UIScrollView *scrollView)
{
    reinterpret_cast<ScrollMethod>(g_willBeginDragging)(self, cmd, scrollView);
    record("willBeginDragging");
}

void didEndDecelerating(SBFolderView *self, SEL cmd, UIScrollView *scrollView)
{
    reinterpret_cast<ScrollMethod>(g_didEndDecelerating)(self, cmd, scrollView);
    record("didEndDecelerating");
}

class Swipes : public test::SpringBoardTest {
protected:
    void launchWatching(const DeviceProfile &profile = phoneProfile())
    {
        launch(profile);
        SpringBoardHost::unlock();
        g_calls.clear();
        Class folderView = SBFolderView::class_();
        g_didScroll = test::replaceMethod(folderView,
                                          "scrollViewDidScroll:", reinterpret_cast<IMP>(didScroll));
        g_willBeginDragging = test::replaceMethod(
            folderView, "scrollViewWillBeginDragging:", reinterpret_cast<IMP>(willBeginDragging));
        g_didEndDecelerating = test::replaceMethod(
            folderView, "scrollViewDidEndDecelerating:", reinterpret_cast<IMP>(didEndDecelerating));
    }

    static UIScrollView *pages() { return rootFolderView()->m_scrollView; }
};

TEST_F(Swipes, ASwipeEndsAtRestOnThePageWithTheDelegateHearingEveryStage)
{
    launchWatching(phoneProfile(DeviceProfile::kIOS8CoreFoundation));
    ASSERT_DOUBLE_EQ(pages()->contentOffset().x, 0);

    SpringBoardHost::swipePages(1, false);

    EXPECT_DOUBLE_EQ(pages()->contentOffset().x, 375);
    EXPECT_FALSE(msg<BOOL>(pages(), "isDecelerating"_sel));
    EXPECT_FALSE(msg<BOOL>(pages(), "isTracking"_sel));
    EXPECT_EQ(g_calls,
              (std::vector<std::string>{"willBeginDragging", "didScroll", "didEndDecelerating"}));
    EXPECT_EQ(msg<NSInteger>(rootFolderView()->m_pageControl, "currentPage"_sel), 1);

    // A page position that is no number is refused; past the last page the pages spring
    // back, however far.
    g_calls.clear();
    sim::LogCapture capture;
    SpringBoardHost::swipePages(std::nan(""), false);
    EXPECT_TRUE(g_calls.empty());
    ASSERT_EQ(capture.lines().size(), 1u);
    EXPECT_EQ(capture.lines()[0].rfind("SpringBoard: cannot swipe to page position", 0), 0u);
    for (double far : {1.3, 1e12}) {
        SpringBoardHost::swipePages(far, false);
        EXPECT_DOUBLE_EQ(pages()->contentOffset().x, 375) << far;
    }
}

// Folder icons follow the wallpaper as the pages move under a held finger.
TEST_F(Swipes, AHeldFingerStaysWhereItWasAndTheNextSwipeGoesOnFromThere)
{
    launchWatching(phoneProfile(DeviceProfile::kIOS8CoreFoundation));
    auto *folder = static_cast<SBFolderIconView *>(iconView(page(0), 17));
    // The folder's image is centred at (114 + 30, 379 + 30) on the first page.
    EXPECT_POINT_NEAR(folder->m_backgroundView->m_wallpaperRelativeCenter, 144, 409);

    SpringBoardHost::swipePages(0.5, true);
    EXPECT_NEAR(pages()->contentOffset().x, 187.5, 1e-9);
    EXPECT_TRUE(msg<BOOL>(pages(), "isTracking"_sel));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"willBeginDragging", "didScroll"}));
    EXPECT_POINT_NEAR(folder->m_backgroundView->m_wallpaperRelativeCenter, 144 - 187.5, 409);

    SpringBoardHost::swipePages(1, false);
    EXPECT_DOUBLE_EQ(pages()->contentOffset().x, 375);
    EXPECT_EQ(g_calls,
              (std::vector<std::string>{"willBeginDragging", "didScroll", "didEndDecelerating"}));
}

TEST_F(Swipes, OniOS9SpotlightIsLeftOfTheFirstPageResetAndPullDownWork)
{
    launchWatching();
    SBRootFolderView *root = rootFolderView();
    EXPECT_DOUBLE_EQ(msg<CGFloat>(root, "_scrollOffsetForFirstListView"_sel), 375);
    EXPECT_DOUBLE_EQ(pages()->contentOffset().x, 375);
    EXPECT_EQ(msg<NSInteger>(root, "currentPageIndex"_sel), 0);

    // resetIconListViews puts every page back untransformed.
    SBIconListView *second = page(1);
    second->layer()->setTransform(CATransform3DMakeScale(0.5, 0.5, 1));
    msg<void, CGFloat>(second, "setAlpha:"_sel, 0.2);

    msg<void>(rootFolderView(), "resetIconListViews"_sel);

    EXPECT_TRUE(CATransform3DIsIdentity(second->layer()->transform()));
    EXPECT_DOUBLE_EQ(second->alpha(), 1);
    EXPECT_RECT_NEAR(second->frame(), 750, 0, 375, 571);

    // The pull-down opens only while icons are not being edited.
    SBSearchScrollView *search = rootFolderView()->m_searchScrollView;
    msg<void, CGPoint>(search, "setContentOffset:"_sel, CGPointMake(0, -40));
    EXPECT_DOUBLE_EQ(search->contentOffset().y, -40);

    msg<void, CGPoint>(search, "setContentOffset:"_sel, CGPointZero);
    SpringBoardHost::setEditing(true);
    EXPECT_FALSE(msg<BOOL>(search, "_canScrollY"_sel));
    msg<void, CGPoint>(search, "setContentOffset:"_sel, CGPointMake(0, -40));
    EXPECT_DOUBLE_EQ(search->contentOffset().y, 0);
    SpringBoardHost::setEditing(false);

    SpringBoardHost::swipePages(-1, false);

    EXPECT_DOUBLE_EQ(pages()->contentOffset().x, 0);
    EXPECT_EQ(msg<NSInteger>(root, "currentPageIndex"_sel), -1);
    auto *spotlight = static_cast<UIView *>(pages()->m_subviews.front());
    EXPECT_STREQ(object_getClassName(spotlight), "UIView");
    EXPECT_RECT_NEAR(spotlight->frame(), 0, 0, 375, 571);
}

} // namespace
