// The page-scroll effect engine: the table behind the identifiers and titles, the random
// pick, the reset that returns pages to rest, and what every effect promises whatever it
// draws (rest at offset 0, nothing touched beyond the page and its icons' layers, nothing
// done without a measurable progress).

#include "ScrollEffectsTest.h"

#include "foundation/NSString.h"

#include <array>
#include <limits>
#include <set>
#include <string>

namespace {

using namespace scrolltest;

constexpr std::array<const char *, 39> kTitles = {
    "None",
    "Rotate (Clockwise)",
    "Rotate (Counter Clockwise)",
    "Stairway Up",
    "Stairway Down",
    "Light Fade",
    "Fade In Place",
    "Time Machine",
    "Long Leap",
    "Stretch",
    "Compress",
    "Shrink",
    "Vertical Scroll (Down)",
    "Vertical Scroll (Up)",
    "Roll Page",
    "Clash",
    "Spread",
    "Cube (Inside)",
    "Cube (Outside)",
    "Bubble",
    "Alternate Roll",
    "Interlace",
    "Tear Apart",
    "Shuffle",
    "Come In and Go Down",
    "Come In and Go Up",
    "Zoom In",
    "Zoom Out",
    "Rollerblade",
    "Railway (Horizontal)",
    "Railway (Vertical)",
    "Alternate Shuffle",
    "Magic Flip (Page)",
    "Magic Flip (Icons)",
    "Pulse",
    "Alternate Pulse",
    "Seaside",
    "Slide and Zoom",
    "Windmill",
};

std::vector<CVUIScrollAnimationFunction> everyEffect()
{
    std::vector<CVUIScrollAnimationFunction> effects;
    for (CVUIScrollAnimationID identifier = 1; identifier < CVUIScrollAnimationCount; ++identifier)
        effects.push_back(CVUIScrollAnimationForID(identifier));
    return effects;
}

using ScrollAnimationTable = ScrollEffectsTest;

TEST_F(ScrollAnimationTable, NoneAndValuesPastTheTableHaveNoEffect)
{
    EXPECT_EQ(CVUIScrollAnimationForID(CVUIScrollAnimationNone), nullptr);
    EXPECT_EQ(CVUIScrollAnimationForID(39), nullptr);
    EXPECT_EQ(CVUIScrollAnimationForID(CVUIScrollAnimationRandom), nullptr);
    EXPECT_EQ(CVUIScrollAnimationForID(std::numeric_limits<CVUIScrollAnimationID>::max()), nullptr);
}

TEST_F(ScrollAnimationTable, EveryIdentifierFromOneTo38HasAnEffectOfItsOwn)
{
    std::set<CVUIScrollAnimationFunction> distinct;
    for (CVUIScrollAnimationFunction effect : everyEffect()) {
        EXPECT_NE(effect, nullptr);
        distinct.insert(effect);
    }
    EXPECT_EQ(distinct.size(), 38u);
}

TEST_F(ScrollAnimationTable, TitlesAreThoseThePanelShows)
{
    for (CVUIScrollAnimationID identifier = 0; identifier < kTitles.size(); ++identifier) {
        NSString *title = CVUIScrollAnimationTitle(identifier);
        ASSERT_NE(title, nil) << identifier;
        EXPECT_EQ(title->str(), kTitles[identifier]) << identifier;
    }
    ASSERT_NE(CVUIScrollAnimationTitle(CVUIScrollAnimationRandom), nil);
    EXPECT_EQ(CVUIScrollAnimationTitle(CVUIScrollAnimationRandom)->str(), "Random");
    EXPECT_EQ(CVUIScrollAnimationTitle(39), nil);
    EXPECT_EQ(CVUIScrollAnimationTitle(CVUIScrollAnimationRandom - 1), nil);
    EXPECT_EQ(CVUIScrollAnimationTitle(CVUIScrollAnimationRandom + 1), nil);
}

TEST_F(ScrollAnimationTable, TitlesAreConstantStrings)
{
    NSString *first = CVUIScrollAnimationTitle(CVUIScrollAnimationWindmill);
    {
        AutoreleasePool inner;
        EXPECT_EQ(CVUIScrollAnimationTitle(CVUIScrollAnimationWindmill), first);
    }
    EXPECT_EQ(first->str(), "Windmill");
    EXPECT_EQ(CVUIScrollAnimationTitle(CVUIScrollAnimationRandom),
              CVUIScrollAnimationTitle(CVUIScrollAnimationRandom));
}

TEST_F(ScrollAnimationTable, TheRandomPickDrawsEveryEffectAndNeverNone)
{
    std::vector<CVUIScrollAnimationFunction> effects = everyEffect();
    std::set<CVUIScrollAnimationFunction> table(effects.begin(), effects.end());
    std::set<CVUIScrollAnimationFunction> drawn;
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

    // Every label keeps a transform and alpha of its own, which the reset must not touch.
    void dressLabels()
    {
        for (UIView *page : pages)
            for (UIView *icon : subviewsOf(page))
                for (UIView *label : subviewsOf(icon)) {
                    setTransformOf(label, untouchedTransform());
                    setAlphaOf(label, kUntouchedAlpha);
                }
    }

    void expectAtRest(UIView *view)
    {
        EXPECT_TRUE(CATransform3DIsIdentity(transformOf(view)));
        EXPECT_EQ(alphaOf(view), 1.0);
    }
};

TEST_F(ScrollAnimationReset, ReturnsEveryPageAndIconToRestWhateverEffectRan)
{
    dressLabels();
    for (CVUIScrollAnimationID identifier = 1; identifier < CVUIScrollAnimationCount;
         ++identifier) {
        SCOPED_TRACE(kTitles[identifier]);
        CVUIScrollAnimationFunction effect = CVUIScrollAnimationForID(identifier);
        effect(pages[0], float(0.3 * kWidth), kSize);
        effect(pages[1], float(-0.7 * kWidth), kSize);
        // Icon alpha is no effect's business, yet the reset restores it as well.
        setAlphaOf(subviewsOf(pages[1])[5], 0.5);
        CVUIResetScrollAnimations(home);
        for (UIView *page : pages) {
            expectAtRest(page);
            for (UIView *icon : subviewsOf(page)) {
                expectAtRest(icon);
                UIView *label = subviewsOf(icon).front();
                EXPECT_TRUE(sameTransform(transformOf(label), untouchedTransform()));
                EXPECT_EQ(alphaOf(label), kUntouchedAlpha);
            }
        }
    }
}

TEST_F(ScrollAnimationReset, ResetsEverySubviewOfTheScrollViewWhateverItIs)
{
    UIView *indicator = makeView(CGRectMake(314, 0, 3, 40));
    addSubview(home, indicator);
    setTransformOf(indicator, CATransform3DMakeScale(2, 2, 1));
    setAlphaOf(indicator, 0);
    CVUIResetScrollAnimations(home);
    expectAtRest(indicator);
}

TEST_F(ScrollAnimationReset, AnEmptyScrollViewOrNoneAtAllIsWalkedWithoutEffect)
{
    auto *empty = static_cast<UIScrollView *>(
        autorelease(msg<id, CGRect>(msg<id>(UIScrollView::class_(), "alloc"_sel),
                                    "initWithFrame:"_sel, CGRectMake(0, 0, kWidth, kHeight))));
    CVUIResetScrollAnimations(empty);
    CVUIResetScrollAnimations(nullptr);
    EXPECT_TRUE(subviewsOf(empty).empty());
}

using EveryEffect = ScrollEffectsTest;

TEST_F(EveryEffect, LeavesAPageInViewAtRest)
{
    UIView *page = subviewsOf(makeHomeScreen())[0];
    for (CVUIScrollAnimationID identifier = 1; identifier < CVUIScrollAnimationCount;
         ++identifier) {
        SCOPED_TRACE(kTitles[identifier]);
        CVUIResetScrollAnimations(
            static_cast<UIScrollView *>(msg<UIView *>(page, "superview"_sel)));
        CVUIScrollAnimationForID(identifier)(page, 0, kSize);
        for (CGPoint p : {CGPoint{0, 0}, CGPoint{kWidth, kHeight}, CGPoint{100, 300}})
            EXPECT_TRUE(pointsNear(drawnPoint(page, p), p));
        EXPECT_EQ(alphaOf(page), 1.0);
        for (UIView *icon : subviewsOf(page))
            for (CGPoint d : {CGPoint{0, 0}, CGPoint{-30, -37}, CGPoint{30, 37}})
                EXPECT_TRUE(
                    pointsNear(drawnIconPoint(icon, d), plus(msg<CGPoint>(icon, "center"_sel), d)));
    }
}

TEST_F(EveryEffect, LeavesThePageAloneWhenTheScrollViewHasNoWidth)
{
    UIView *page = subviewsOf(makeHomeScreen())[0];
    UIView *icon = subviewsOf(page)[9];
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (CVUIScrollAnimationID identifier = 1; identifier < CVUIScrollAnimationCount;
         ++identifier) {
        SCOPED_TRACE(kTitles[identifier]);
        for (auto [offset, size] : {std::pair{0.0f, CGSize{0, kHeight}},
                                    std::pair{120.0f, CGSize{0, kHeight}}, std::pair{nan, kSize}}) {
            setTransformOf(page, untouchedTransform());
            setAlphaOf(page, kUntouchedAlpha);
            setTransformOf(icon, untouchedTransform());
            CVUIScrollAnimationForID(identifier)(page, offset, size);
            EXPECT_TRUE(sameTransform(transformOf(page), untouchedTransform()));
            EXPECT_EQ(alphaOf(page), kUntouchedAlpha);
            EXPECT_TRUE(sameTransform(transformOf(icon), untouchedTransform()));
        }
    }
}

TEST_F(EveryEffect, AcceptsAPageWithoutIcons)
{
    UIView *page = makeView(CGRectMake(0, 0, kWidth, kHeight));
    for (CVUIScrollAnimationFunction effect : everyEffect())
        effect(page, float(0.5 * kWidth), kSize);
    EXPECT_TRUE(subviewsOf(page).empty());
}

} // namespace
