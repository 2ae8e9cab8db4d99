// The page-scroll effect engine: identifiers and titles, the random pick, the reset, and
// what every effect promises whatever it draws.

#include "ScrollEffectsTest.h"

#include "foundation/NSString.h"

#include <cmath>
#include <limits>
#include <set>
#include <string>

namespace {

using namespace scrolltest;

// The effect's title, for the traces of the tests that run every effect.
std::string titleOf(CVUIScrollAnimationID identifier)
{
    return CVUIScrollAnimationTitle(identifier)->str();
}

using ScrollAnimationTable = ScrollEffectsTest;

// Every identifier of the table has a title of its own, which the panel lists; None, the
// random pick and identifiers past the table have no effect, and those past it no title.
TEST_F(ScrollAnimationTable, EveryIdentifierHasATitleOfItsOwnAndNonePastTheTable)
{
    std::set<std::string> titles;
    for (CVUIScrollAnimationID identifier = 0; identifier < CVUIScrollAnimationCount;
         ++identifier) {
        ASSERT_NE(CVUIScrollAnimationTitle(identifier), nil) << identifier;
        titles.insert(titleOf(identifier));
    }
    EXPECT_EQ(titles.size(), CVUIScrollAnimationCount);
    EXPECT_EQ(titleOf(CVUIScrollAnimationNone), "None");
    EXPECT_EQ(titleOf(CVUIScrollAnimationRandom), "Random");
    for (CVUIScrollAnimationID past :
         {39u, CVUIScrollAnimationRandom - 1, CVUIScrollAnimationRandom + 1, ~0u}) {
        EXPECT_EQ(CVUIScrollAnimationTitle(past), nil) << past;
        EXPECT_EQ(CVUIScrollAnimationForID(past), nullptr) << past;
    }
    EXPECT_EQ(CVUIScrollAnimationForID(CVUIScrollAnimationNone), nullptr);
    EXPECT_EQ(CVUIScrollAnimationForID(CVUIScrollAnimationRandom), nullptr);
}

TEST_F(ScrollAnimationTable, TheRandomPickDrawsEveryEffectAndNeverNone)
{
    std::set<CVUIScrollAnimationFunction> table, drawn;
    for (CVUIScrollAnimationID identifier = 1; identifier < CVUIScrollAnimationCount; ++identifier)
        table.insert(CVUIScrollAnimationForID(identifier));
    // 38 equally likely effects are all drawn within 3000 draws but for a chance of
    // 38 × (37/38)^3000, below 10^-33.
    for (int draw = 0; draw < 3000; ++draw) {
        CVUIScrollAnimationFunction effect = CVUIRandomScrollAnimation();
        ASSERT_NE(effect, nullptr);
        ASSERT_TRUE(table.count(effect)) << "draw " << draw << " is no effect of the table";
        drawn.insert(effect);
    }
    EXPECT_EQ(drawn.size(), 38u);
}

class ScrollAnimationReset : public ScrollEffectsTest {
protected:
    UIScrollView *home = makeHomeScreen();
    std::vector<UIView *> pages = subviewsOf(home);

    void expectAtRest(UIView *view)
    {
        EXPECT_TRUE(CATransform3DIsIdentity(transformOf(view)));
        EXPECT_EQ(alphaOf(view), 1.0);
    }
};

// Every subview of the scroll view is reset, whatever it is: pages, their icons and the
// scroll indicator alike.
TEST_F(ScrollAnimationReset, ReturnsEveryPageAndIconToRestWhateverEffectRan)
{
    // Every label keeps a transform and alpha of its own, which the reset must not touch.
    for (UIView *page : pages)
        for (UIView *icon : subviewsOf(page)) {
            setTransformOf(subviewsOf(icon).front(), untouchedTransform());
            setAlphaOf(subviewsOf(icon).front(), kUntouchedAlpha);
        }
    UIView *indicator = makeView(CGRectMake(314, 0, 3, 40));
    addSubview(home, indicator);
    for (CVUIScrollAnimationID identifier = 1; identifier < CVUIScrollAnimationCount;
         ++identifier) {
        SCOPED_TRACE(titleOf(identifier));
        CVUIScrollAnimationFunction effect = CVUIScrollAnimationForID(identifier);
        effect(pages[0], float(0.3 * kWidth), kSize);
        effect(pages[1], float(-0.7 * kWidth), kSize);
        // Icon alpha is no effect's business, yet the reset restores it as well.
        setAlphaOf(subviewsOf(pages[1])[5], 0.5);
        setAlphaOf(indicator, 0);
        CVUIResetScrollAnimations(home);
        expectAtRest(indicator);
        for (UIView *page : pages) {
            expectAtRest(page);
            for (UIView *icon : subviewsOf(page)) {
                expectAtRest(icon);
                UIView *label = subviewsOf(icon).front();
                EXPECT_TRUE(
                    CATransform3DEqualToTransform(transformOf(label), untouchedTransform()));
                EXPECT_EQ(alphaOf(label), kUntouchedAlpha);
            }
        }
    }
    // The reset walks the scroll view's subviews, never the scroll view itself.
    auto *empty = makeView<UIScrollView>(UIScrollView::class_(), {{0, 0}, kSize});
    setTransformOf(empty, untouchedTransform());
    CVUIResetScrollAnimations(empty);
    CVUIResetScrollAnimations(nullptr);
    EXPECT_TRUE(CATransform3DEqualToTransform(transformOf(empty), untouchedTransform()));
}

using EveryEffect = ScrollEffectsTest;

// Without a measurable progress an effect leaves the page alone; and effects that share a
// move among the icons must not divide by their count.
TEST_F(EveryEffect, LeavesThePageAloneWithoutProgressAndAcceptsAPageWithoutIcons)
{
    UIView *page = subviewsOf(makeHomeScreen())[0];
    UIView *icon = subviewsOf(page)[9];
    UIView *bare = makeView(CGRectMake(0, 0, kWidth, kHeight));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (CVUIScrollAnimationID identifier = 1; identifier < CVUIScrollAnimationCount;
         ++identifier) {
        SCOPED_TRACE(titleOf(identifier));
        CVUIScrollAnimationFunction effect = CVUIScrollAnimationForID(identifier);
        for (auto [offset, size] : {std::pair{0.0f, CGSize{0, kHeight}},
                                    std::pair{120.0f, CGSize{0, kHeight}}, std::pair{nan, kSize}}) {
            setTransformOf(page, untouchedTransform());
            setAlphaOf(page, kUntouchedAlpha);
            setTransformOf(icon, untouchedTransform());
            effect(page, offset, size);
            EXPECT_TRUE(CATransform3DEqualToTransform(transformOf(page), untouchedTransform()));
            EXPECT_EQ(alphaOf(page), kUntouchedAlpha);
            EXPECT_TRUE(CATransform3DEqualToTransform(transformOf(icon), untouchedTransform()));
        }
        effect(bare, float(0.5 * kWidth), kSize);
        CATransform3D drawn = transformOf(bare);
        for (const CGFloat *entry = &drawn.m11; entry <= &drawn.m44; ++entry)
            EXPECT_TRUE(std::isfinite(*entry));
        EXPECT_TRUE(std::isfinite(alphaOf(bare)));
    }
}

} // namespace
