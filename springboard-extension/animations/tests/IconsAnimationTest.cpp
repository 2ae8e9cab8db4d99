// The page-scroll hooks on the home screen of each generation. Most cases choose "Long
// Leap", whose page transform is a translation by minus the page's offset, so the offset
// each page was given reads straight off its layer (m41).

#include "SpringBoardTest.h"

#include "effects/CVScrollAnimations.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/animations/IconsAnimation.h"
#include "springboard-extension/frame/Extension.h"
#include "springboard/SBFolderIconView.h"

#include <set>
#include <sstream>

namespace {

using sim::DeviceProfile;
using sim::SpringBoardHost;
using test::phoneProfile;

// The default phone's page width and screen.
constexpr CGFloat kWidth = 375;
constexpr CGSize kScreen = {375, 667};

constexpr double kIOS7 = DeviceProfile::kIOS7CoreFoundation;
constexpr double kIOS8 = DeviceProfile::kIOS8CoreFoundation;
constexpr double kIOS9 = DeviceProfile::kIOS9CoreFoundation;

class IconsAnimation : public test::SpringBoardTest {
protected:
    void SetUp() override
    {
        SpringBoardTest::SetUp();
        gCVAnimations.scrollAnimationType = CVUIScrollAnimationNone;
        gCVIcons.disableSpotlightValue = 0;
        gCVIcons.returnToFirstPage = false;
    }

    // SpringBoard of the generation, unlocked, with the hooks installed and `effect` chosen.
    static void launchWith(CVUIScrollAnimationID effect, double generation)
    {
        gCVAnimations.scrollAnimationType = effect;
        launch(phoneProfile(generation));
        IconsAnimationInit();
        SpringBoardHost::unlock();
    }

    static UIScrollView *pages() { return rootFolderView()->m_scrollView; }
    static CGFloat pagesX() { return pages()->contentOffset().x; }

    // Moves the pages as SpringBoard's own code would, one scroll step.
    static void scrollTo(CGFloat x)
    {
        msg<void, CGPoint>(pages(), "setContentOffset:"_sel, {x, 0});
    }

    static CATransform3D transformOf(UIView *view) { return view->layer()->transform(); }
};

// Each page's side tag and the offset its Long Leap translation shows.
#define EXPECT_ANIMATED(page_, tag_, offset_)                                                      \
    do {                                                                                           \
        EXPECT_EQ((page_)->m_tag, (tag_));                                                         \
        EXPECT_DOUBLE_EQ(transformOf(page_).m41, -(offset_));                                      \
    } while (0)

// Before iOS 9 (iOS 8 takes the same path) the left and right pages get their own offsets;
// a page exactly in view is animated once, as the left-hand page; rubber-banding left
// animates the first page as the right-hand one.
TEST_F(IconsAnimation, BeforeIOS9EachPageGetsItsOwnOffsetAndAPageInViewIsAnimatedOnce)
{
    launchWith(CVUIScrollAnimationLongLeap, kIOS7);
    scrollTo(0.35 * kWidth);
    EXPECT_ANIMATED(page(0), 1, 0.35 * kWidth);
    EXPECT_ANIMATED(page(1), 2, 0.35 * kWidth - kWidth);
    for (CGFloat x : {0.0, kWidth, -50.0}) {
        SCOPED_TRACE(x);
        scrollTo(0.5 * kWidth);
        CVUIResetScrollAnimations(pages());
        page(0)->m_tag = page(1)->m_tag = 0;
        scrollTo(x);
        SBIconListView *shown = page(x == kWidth ? 1 : 0);
        EXPECT_ANIMATED(shown, x < 0 ? 2 : 1, x < 0 ? x : 0.0);
        SBIconListView *neighbour = page(x == kWidth ? 0 : 1);
        EXPECT_EQ(neighbour->m_tag, 0);
        EXPECT_TRUE(CATransform3DIsIdentity(transformOf(neighbour)));
    }
}

TEST_F(IconsAnimation, OnIOS9PagesCountFromTheFirstIconPageAndLeftSpotlightCanBeKeptOff)
{
    launchWith(CVUIScrollAnimationLongLeap, kIOS9);
    // The Spotlight page comes first: the first icon page starts one width in.
    const CGFloat first = kWidth;

    scrollTo(first + 0.35 * kWidth);
    EXPECT_ANIMATED(page(0), 1, 0.35 * kWidth);
    EXPECT_ANIMATED(page(1), 2, 0.35 * kWidth - kWidth);

    scrollTo(first);
    EXPECT_ANIMATED(page(0), 1, 0.0);
    EXPECT_ANIMATED(page(1), 2, -kWidth);

    // Left of the first icon page SpringBoard's current page is −1, which is skipped.
    scrollTo(first - 100);
    EXPECT_ANIMATED(page(0), 2, -100.0);

    // The left Spotlight page is kept off screen with the values 1 and 3.
    for (std::uint32_t value : {0u, 1u, 2u, 3u}) {
        SCOPED_TRACE(value);
        gCVIcons.disableSpotlightValue = value;
        scrollTo(first);
        scrollTo(first - 100);
        bool clamped = value == 1 || value == 3;
        EXPECT_DOUBLE_EQ(pagesX(), clamped ? first : first - 100);
    }
}

TEST_F(IconsAnimation, ALiveChangeTakesEffectAtOnceAndEditingPlaysNothing)
{
    launchWith(CVUIScrollAnimationNone, kIOS8);
    scrollTo(0.35 * kWidth);
    ASSERT_TRUE(CATransform3DIsIdentity(transformOf(page(0))));
    gCVAnimations.scrollAnimationType = CVUIScrollAnimationLongLeap;
    gCVAnimations.changeCallback();
    scrollTo(0.4 * kWidth);
    EXPECT_ANIMATED(page(0), 1, 0.4 * kWidth);

    CVUIResetScrollAnimations(pages());
    SpringBoardHost::setEditing(true);
    scrollTo(0.35 * kWidth);
    EXPECT_TRUE(CATransform3DIsIdentity(transformOf(page(0))));
    EXPECT_TRUE(CATransform3DIsIdentity(transformOf(page(1))));
}

// At the swipe's end an effect resets even what it never touches; with none nothing is reset.
TEST_F(IconsAnimation, OnlyWithAnEffectTheSwipesEndResetsTheIcons)
{
    for (CVUIScrollAnimationID effect : {CVUIScrollAnimationNone, CVUIScrollAnimationLongLeap}) {
        launchWith(effect, kIOS8);
        UIView *icon = iconView(page(0), 0);
        msg<void, CGFloat>(icon, "setAlpha:"_sel, 0.5);
        SpringBoardHost::swipePages(1, false);
        EXPECT_DOUBLE_EQ(pagesX(), kWidth);
        EXPECT_EQ(icon->alpha(), effect == CVUIScrollAnimationNone ? 0.5 : 1) << effect;
        SpringBoardHost::terminate();
    }
}

// What the effect made of both pages and their icons, as text.
std::string poseOfPages(SBIconListView *left, SBIconListView *right)
{
    std::ostringstream pose;
    for (UIView *pageView : {static_cast<UIView *>(left), static_cast<UIView *>(right)}) {
        pose << pageView->alpha();
        std::vector<UIView *> layers{pageView};
        for (UIView *icon : pageView->m_subviews)
            layers.push_back(icon);
        for (UIView *view : layers) {
            const CATransform3D &t = view->layer()->transform();
            for (CGFloat element : {t.m11, t.m12, t.m21, t.m22, t.m34, t.m41, t.m42, t.m43})
                pose << ' ' << element;
        }
        pose << '\n';
    }
    return pose.str();
}

// Enough draws that one effect drawn every time (1 in 38 to the 7th) never happens.
constexpr int kDraws = 8;

// "Random" draws a new effect after every swipe that comes to rest; moving on without coming
// to rest keeps it.
TEST_F(IconsAnimation, RandomDrawsANewEffectAfterEverySwipeThatComesToRest)
{
    launchWith(CVUIScrollAnimationRandom, kIOS8);
    std::set<std::string> afterSwipes;
    for (int draw = 0; draw < kDraws; ++draw) {
        SpringBoardHost::swipePages(0.35, true);
        std::string pose = poseOfPages(page(0), page(1));
        SpringBoardHost::swipePages(0.6, true);
        SpringBoardHost::swipePages(0.35, true);
        EXPECT_EQ(poseOfPages(page(0), page(1)), pose);
        afterSwipes.insert(pose);
        SpringBoardHost::swipePages(0, false);
        ASSERT_DOUBLE_EQ(pagesX(), 0);
    }
    EXPECT_GT(afterSwipes.size(), 1u);
}

TEST_F(IconsAnimation, OnIOS9ADragBeginsWithTheIconListsPutBackOnlyWhenAnEffectIsChosen)
{
    // No effect touches a sublayer transform, SpringBoard's resetIconListViews does.
    const CATransform3D marker = CATransform3DMakeScale(0.5, 0.5, 1);
    struct Case {
        CVUIScrollAnimationID effect;
        double generation;
        bool putBack;
    };
    for (Case c : {Case{CVUIScrollAnimationLongLeap, kIOS9, true},
                   Case{CVUIScrollAnimationNone, kIOS9, false},
                   Case{CVUIScrollAnimationLongLeap, kIOS8, false}}) {
        SCOPED_TRACE(testing::Message() << c.effect << " on " << c.generation);
        launchWith(c.effect, c.generation);
        page(1)->layer()->setSublayerTransform(marker);

        SpringBoardHost::swipePages(0.2, true);

        EXPECT_EQ(CATransform3DIsIdentity(page(1)->layer()->sublayerTransform()), c.putBack);
        SpringBoardHost::terminate();
    }
}

TEST_F(IconsAnimation, FolderIconsSampleTheWallpaperOnlyWithinTheScreen)
{
    launchWith(CVUIScrollAnimationNone, kIOS8);
    auto *folder = static_cast<SBFolderIconView *>(iconView(page(0), 17));
    SBFolderIconBackgroundView *background = folder->m_backgroundView;
    CGSize size = background->frame().size;

    auto keptCenter = [&](CGPoint center) {
        msg<void, CGPoint>(background, "setWallpaperRelativeCenter:"_sel, center);
        return background->m_wallpaperRelativeCenter;
    };
    // Half the view's size from the top-left edges, its whole size from the others.
    EXPECT_POINT_NEAR(keptCenter({1, 2}), size.width / 2, size.height / 2);
    EXPECT_POINT_NEAR(keptCenter({374, 660}), kScreen.width - size.width,
                      kScreen.height - size.height);
    EXPECT_POINT_NEAR(keptCenter({100, 300}), 100, 300);
}

// The only case that lets the lock handler look SBIconController up: it keeps the class it
// found for the process, and each case launches SpringBoard's classes anew.
TEST_F(IconsAnimation, OnIOS9LockingReturnsToTheFirstPageWhenAsked)
{
    launchWith(CVUIScrollAnimationNone, kIOS9);
    const CGFloat first = kWidth;
    gCVIcons.returnToFirstPage = true;
    SpringBoardHost::swipePages(1, false);
    SpringBoardHost::lock();
    sim::advanceVirtualClock(0);
    EXPECT_DOUBLE_EQ(pagesX(), first);

    SpringBoardHost::unlock();
    gCVIcons.returnToFirstPage = false;
    SpringBoardHost::swipePages(1, false);
    SpringBoardHost::lock();
    sim::advanceVirtualClock(0);
    EXPECT_DOUBLE_EQ(pagesX(), first + kWidth);

    // Once the extension has exited, nothing calls into it at a lock any more.
    SpringBoardHost::unlock();
    gCVIcons.returnToFirstPage = true;
    ExtensionExit();
    SpringBoardHost::lock();
    sim::advanceVirtualClock(0);
    EXPECT_DOUBLE_EQ(pagesX(), first + kWidth);
    gCVIcons.returnToFirstPage = false;
}

} // namespace
