// The page-scroll effects at their edges: the two halves of each pair, icons exactly on
// the centre line, rows found from icon centres that do not line up, the fades that
// only one page of a swipe gets, and the windmill's drop.

#include "ScrollEffectsTest.h"

#include <string>

namespace {

using namespace scrolltest;

void run(CVUIScrollAnimationID identifier, UIView *page, double offset)
{
    CVUIScrollAnimationForID(identifier)(page, float(offset), kSize);
}

std::vector<CATransform3D> iconTransforms(UIView *page)
{
    std::vector<CATransform3D> transforms;
    for (UIView *icon : subviewsOf(page))
        transforms.push_back(transformOf(icon));
    return transforms;
}

// Where the icon's centre is drawn, relative to where it lies at rest.
CGPoint iconMovement(UIView *icon)
{
    return minus(drawnIconPoint(icon, {0, 0}), msg<CGPoint>(icon, "center"_sel));
}

class ScrollEffectPairs : public ScrollEffectsTest {
protected:
    std::vector<UIView *> pages = subviewsOf(makeHomeScreen());
    UIView *page = pages[0];
};

TEST_F(ScrollEffectPairs, RotateDirectionsTurnByOppositeAngles)
{
    for (double offset : {0.25 * kWidth, -0.6 * kWidth}) {
        run(CVUIScrollAnimationRotateClockwise, page, offset);
        std::vector<CATransform3D> clockwise = iconTransforms(page);
        run(CVUIScrollAnimationRotateCounterClockwise, page, -offset);
        std::vector<CATransform3D> counter = iconTransforms(page);
        ASSERT_EQ(clockwise.size(), counter.size());
        for (std::size_t k = 0; k < clockwise.size(); ++k)
            EXPECT_TRUE(sameTransform(clockwise[k], counter[k])) << "icon " << k;
        run(CVUIScrollAnimationRotateCounterClockwise, page, offset);
        EXPECT_FALSE(sameTransform(iconTransforms(page)[0], clockwise[0]));
    }
}

TEST_F(ScrollEffectPairs, ComeInAndGoDownAndUpDropTheLeavingPageOppositeWays)
{
    double offset = 0.3 * kWidth;
    run(CVUIScrollAnimationComeInAndGoDown, page, offset);
    CATransform3D down = transformOf(page);
    run(CVUIScrollAnimationComeInAndGoUp, page, offset);
    CATransform3D up = transformOf(page);
    EXPECT_NEAR(down.m42, offset * kHeight / kWidth, 1e-3);
    EXPECT_EQ(up.m42, -down.m42);
    up.m42 = down.m42;
    EXPECT_TRUE(sameTransform(up, down));
    // The entering page does not move with either.
    for (CVUIScrollAnimationID identifier :
         {CVUIScrollAnimationComeInAndGoDown, CVUIScrollAnimationComeInAndGoUp}) {
        run(identifier, pages[1], -offset);
        EXPECT_TRUE(CATransform3DIsIdentity(transformOf(pages[1])));
    }
}

TEST_F(ScrollEffectPairs, StretchAndCompressMoveIconsOppositeWaysAndOnlyStretchMovesThePage)
{
    double offset = -0.45 * kWidth;
    setTransformOf(page, untouchedTransform());
    run(CVUIScrollAnimationCompress, page, offset);
    EXPECT_TRUE(sameTransform(transformOf(page), untouchedTransform()));
    std::vector<CATransform3D> compressed = iconTransforms(page);
    run(CVUIScrollAnimationStretch, page, offset);
    EXPECT_NEAR(transformOf(page).m41, -0.4 * offset, 1e-4);
    std::vector<CATransform3D> stretched = iconTransforms(page);
    for (std::size_t k = 0; k < stretched.size(); ++k) {
        EXPECT_EQ(compressed[k].m41, -stretched[k].m41) << "icon " << k;
        EXPECT_EQ(compressed[k].m42, 0);
    }
}

TEST_F(ScrollEffectPairs, PulsesAgreeOnTheLeavingPageAndDifferOnTheEnteringOne)
{
    run(CVUIScrollAnimationPulse, page, 0.4 * kWidth);
    CATransform3D pulse = transformOf(subviewsOf(page)[3]);
    run(CVUIScrollAnimationAlternatePulse, page, 0.4 * kWidth);
    EXPECT_TRUE(sameTransform(transformOf(subviewsOf(page)[3]), pulse));
    EXPECT_NEAR(pulse.m33, 0.6, 1e-6);

    run(CVUIScrollAnimationPulse, page, -0.4 * kWidth);
    EXPECT_NEAR(transformOf(subviewsOf(page)[3]).m11, 0.6, 1e-6);
    run(CVUIScrollAnimationAlternatePulse, page, -0.4 * kWidth);
    CATransform3D swollen = transformOf(subviewsOf(page)[3]);
    EXPECT_NEAR(swollen.m11, 1.4, 1e-6);
    EXPECT_NEAR(swollen.m22, 1.4, 1e-6);
    EXPECT_NEAR(swollen.m33, 1.4, 1e-6);
}

TEST_F(ScrollEffectPairs, CubesTurnAboutTheEdgeTheyShareWithTheNeighbour)
{
    for (CVUIScrollAnimationID identifier :
         {CVUIScrollAnimationCubeInside, CVUIScrollAnimationCubeOutside}) {
        SCOPED_TRACE(identifier);
        // The leaving page turns about its right edge, the entering page about its left.
        run(identifier, pages[0], 0.4 * kWidth);
        run(identifier, pages[1], -0.6 * kWidth);
        for (double y : {0.0, kHeight / 3, kHeight}) {
            EXPECT_TRUE(pointsNear(drawnPoint(pages[0], {kWidth, y}), {kWidth, y}));
            EXPECT_TRUE(pointsNear(drawnPoint(pages[1], {0, y}), {0, y}));
        }
        // Inside brings the far edge of the leaving page towards the viewer, so that it
        // is drawn taller; Outside sends it away, so that it is drawn shorter.
        double farTop = drawnPoint(pages[0], {0, 0}).y;
        if (identifier == CVUIScrollAnimationCubeInside)
            EXPECT_LT(farTop, 0);
        else
            EXPECT_GT(farTop, 0);
    }
    // Inside: the far edge of a page leaving 0.4 of a width turns by 0.4 × 60° about the
    // hinge 320 points away, which raises it to 320 sin(24°) towards the eye 500 points
    // away.
    run(CVUIScrollAnimationCubeInside, pages[0], 0.4 * kWidth);
    double angle = 0.4 * M_PI / 3;
    double w = 1 + 320 * std::sin(angle) * (-1.0 / 500);
    EXPECT_TRUE(pointsNear(drawnPoint(pages[0], {0, kHeight / 2}),
                           {kWidth / 2 + (160 - 320 * std::cos(angle)) / w, kHeight / 2}));
}

// Angles that are multiples of π take the product t × π in double precision and round it
// to float; Rollerblade and Tear Apart take their 0.8 into that product, while the cube
// applies its third afterwards in float. Each offset is one where the other roundings
// give another angle, so the angles are compared exactly (a rotation about one axis
// holds the sine and cosine of its angle as they are).
TEST_F(ScrollEffectsTest, AnglesAreRoundedAsTheEffectsHaveAlwaysRoundedThem)
{
    UIView *page = subviewsOf(makeHomeScreen())[0];
    auto progressAt = [](float offset) { return offset / float(kWidth); };

    float t = progressAt(3);
    float halfTurn = float(double(t) * M_PI);
    ASSERT_NE(halfTurn, t * float(M_PI));
    run(CVUIScrollAnimationRollPage, page, 3);
    EXPECT_EQ(transformOf(page).m12, std::sin(double(-halfTurn)));

    t = progressAt(11);
    float rollerblade = float(double(t) * M_PI * 0.8);
    ASSERT_NE(rollerblade, float(double(t) * M_PI) * 0.8f);
    run(CVUIScrollAnimationRollerblade, page, 11);
    EXPECT_EQ(transformOf(subviewsOf(page)[0]).m12, std::sin(double(rollerblade)));
    run(CVUIScrollAnimationTearApart, page, 11); // the first icon lies left of the centre
    EXPECT_EQ(transformOf(subviewsOf(page)[0]).m12, std::sin(double(-rollerblade)));

    t = progressAt(7);
    float cube = float(double(t) * M_PI) * (1.0f / 3);
    ASSERT_NE(cube, float(double(t) * M_PI / 3));
    run(CVUIScrollAnimationCubeInside, page, 7);
    EXPECT_EQ(transformOf(page).m11, std::cos(double(cube)));
}

TEST_F(ScrollEffectsTest, BubbleShrinksEveryThirdIconFromTheFirstAndSwellsTheOthers)
{
    UIView *page = subviewsOf(makeHomeScreen())[0];
    run(CVUIScrollAnimationBubble, page, -0.3 * kWidth);
    std::vector<CATransform3D> transforms = iconTransforms(page);
    for (std::size_t k = 0; k < transforms.size(); ++k) {
        double expected = k % 3 == 0 ? 0.7 : 1.3;
        EXPECT_NEAR(transforms[k].m11, expected, 1e-6) << "icon " << k;
        EXPECT_NEAR(transforms[k].m22, expected, 1e-6) << "icon " << k;
        EXPECT_EQ(transforms[k].m33, 1);
    }
}

// A page whose icons stand on the centre line and just right of it.
class CentreLine : public ScrollEffectsTest {
protected:
    UIView *page = makeView(CGRectMake(0, 0, kWidth, kHeight));
    UIView *onLine = addIcon(page, kWidth / 2, 200);
    UIView *rightOfLine = addIcon(page, kWidth / 2 + 0.5, 300);
};

TEST_F(CentreLine, InterlaceTurnsAnIconOnTheLineTheNegativeWay)
{
    double t = 0.25;
    run(CVUIScrollAnimationInterlace, page, t * kWidth);
    // A rotation by a about z holds sin(a) in m12.
    EXPECT_NEAR(transformOf(onLine).m12, -std::sin(M_PI * t), 1e-6);
    EXPECT_NEAR(transformOf(rightOfLine).m12, std::sin(M_PI * t), 1e-6);
}

TEST_F(CentreLine, TearApartTurnsAndSendsAnIconOnTheLineToTheLeft)
{
    double t = 0.5;
    run(CVUIScrollAnimationTearApart, page, t * kWidth);
    double angle = -0.8 * M_PI * t;
    EXPECT_NEAR(transformOf(onLine).m12, std::sin(angle), 1e-6);
    CGPoint shift = {-t * (kWidth - kWidth / 2), -t * (kHeight - 200)};
    EXPECT_TRUE(pointsNear(iconMovement(onLine), rotated(shift, angle)));
    EXPECT_NEAR(transformOf(rightOfLine).m12, -std::sin(angle), 1e-6);
}

// Icons whose centres do not line up: the second is a little higher than the first
// (still the first row), the third a little lower than the first (a new row, as it lies
// lower than the icon that started the row), the fourth level with the third, and the
// fifth far below, alone in the last row.
class RowDetection : public ScrollEffectsTest {
protected:
    UIView *page = makeView(CGRectMake(0, 0, kWidth, kHeight));
    std::vector<UIView *> icons = {addIcon(page, 50, 100), addIcon(page, 130, 98),
                                   addIcon(page, 50, 101), addIcon(page, 130, 101),
                                   addIcon(page, 50, 200)};
    static constexpr double kOffset = 0.25 * kWidth;

    // The sign of each icon's movement along one axis, in icon order.
    std::vector<int> signsOf(bool vertical)
    {
        std::vector<int> signs;
        for (UIView *icon : icons) {
            double moved = vertical ? iconMovement(icon).y : iconMovement(icon).x;
            signs.push_back(moved > 0 ? 1 : moved < 0 ? -1 : 0);
        }
        return signs;
    }
};

TEST_F(RowDetection, RollerbladeTurnsTheFirstRowForwardsAndAlternatesByRow)
{
    run(CVUIScrollAnimationRollerblade, page, kOffset);
    double forwards = std::sin(0.8 * M_PI * 0.25);
    std::vector<double> expected = {forwards, forwards, -forwards, -forwards, forwards};
    for (std::size_t k = 0; k < icons.size(); ++k)
        EXPECT_NEAR(transformOf(icons[k]).m12, expected[k], 1e-6) << "icon " << k;
}

TEST_F(RowDetection, RailwayHorizontalSendsTheFirstRowLeftAndAlternatesByRow)
{
    run(CVUIScrollAnimationRailwayHorizontal, page, kOffset);
    EXPECT_EQ(signsOf(false), (std::vector<int>{-1, -1, 1, 1, -1}));
    EXPECT_EQ(signsOf(true), (std::vector<int>{0, 0, 0, 0, 0}));
}

TEST_F(RowDetection, RailwayVerticalStartsEveryRowUpwards)
{
    run(CVUIScrollAnimationRailwayVertical, page, kOffset);
    EXPECT_EQ(signsOf(true), (std::vector<int>{-1, 1, -1, 1, -1}));
    EXPECT_EQ(signsOf(false), (std::vector<int>{0, 0, 0, 0, 0}));
}

TEST_F(RowDetection, AlternateShuffleStartsEveryRowLeftwards)
{
    run(CVUIScrollAnimationAlternateShuffle, page, kOffset);
    EXPECT_EQ(signsOf(false), (std::vector<int>{-1, 1, -1, 1, -1}));
}

TEST_F(RowDetection, SeasideAlternatesLikeACheckerboardStartingUpwards)
{
    run(CVUIScrollAnimationSeaside, page, kOffset);
    EXPECT_EQ(signsOf(true), (std::vector<int>{-1, 1, 1, -1, -1}));
    EXPECT_NEAR(std::fabs(iconMovement(icons[0]).y), 8 * std::sin(M_PI * 0.25), 1e-4);
}

TEST_F(RowDetection, RowsAreFoundAfreshOnEveryCall)
{
    run(CVUIScrollAnimationRailwayHorizontal, page, kOffset);
    run(CVUIScrollAnimationRailwayHorizontal, page, kOffset);
    EXPECT_EQ(signsOf(false), (std::vector<int>{-1, -1, 1, 1, -1}));
    // An icon moved down since the last call is found in its new row.
    msg<void, CGPoint>(icons[1], "setCenter:"_sel, CGPoint{130, 150});
    run(CVUIScrollAnimationRailwayHorizontal, page, kOffset);
    EXPECT_EQ(signsOf(false), (std::vector<int>{-1, 1, 1, 1, -1}));
}

// A swipe from page 0 to page 1: the left page leaves with a positive offset while the
// right page enters with a negative one.
class SwipeFades : public ScrollEffectsTest {
protected:
    std::vector<UIView *> pages = subviewsOf(makeHomeScreen());

    void swipeTo(CVUIScrollAnimationID identifier, double contentX)
    {
        run(identifier, pages[0], contentX);
        run(identifier, pages[1], contentX - kWidth);
    }
};

TEST_F(SwipeFades, VerticalScrollDownFadesOnlyTheLeavingPage)
{
    setAlphaOf(pages[1], 0.6);
    swipeTo(CVUIScrollAnimationVerticalScrollDown, 0.25 * kWidth);
    EXPECT_NEAR(alphaOf(pages[0]), 0.75, 1e-6);
    EXPECT_NEAR(alphaOf(pages[1]), 0.6, 1e-6);
}

TEST_F(SwipeFades, VerticalScrollUpFadesOnlyTheEnteringPage)
{
    setAlphaOf(pages[0], 0.6);
    swipeTo(CVUIScrollAnimationVerticalScrollUp, 0.25 * kWidth);
    EXPECT_NEAR(alphaOf(pages[0]), 0.6, 1e-6);
    EXPECT_NEAR(alphaOf(pages[1]), 0.25, 1e-6);
}

TEST_F(SwipeFades, WindmillFadesOneAndAHalfTimesAsFast)
{
    swipeTo(CVUIScrollAnimationWindmill, 0.25 * kWidth);
    EXPECT_NEAR(alphaOf(pages[0]), 0.625, 1e-6);
    EXPECT_EQ(alphaOf(pages[1]), 0.0);
}

TEST_F(ScrollEffectsTest, WindmillDropsThePageBySagittaOfTheCircleOfTwiceTheWidth)
{
    UIView *page = subviewsOf(makeHomeScreen())[1];
    // At a whole page the centre has moved by (−W/2, 1.5 (2 − √3) W) and turned by
    // −0.8 rad about the page's centre; seen from that centre it lies where the turn
    // takes the movement.
    run(CVUIScrollAnimationWindmill, page, -kWidth);
    CGPoint moved = {0.5 * kWidth, 1.5 * (2 - std::sqrt(3.0)) * kWidth};
    CGPoint turned = {moved.x * std::cos(0.8) - moved.y * std::sin(0.8),
                      moved.x * std::sin(0.8) + moved.y * std::cos(0.8)};
    EXPECT_TRUE(pointsNear(drawnPoint(page, kPageCentre), plus(kPageCentre, turned)));
}

TEST_F(ScrollEffectsTest, WindmillStaysOnItsCircleBeyondTwoWidths)
{
    UIView *page = subviewsOf(makeHomeScreen())[0];
    run(CVUIScrollAnimationWindmill, page, 2.5 * kWidth);
    CATransform3D sail = transformOf(page);
    for (CGFloat element : {sail.m11, sail.m12, sail.m21, sail.m22, sail.m41, sail.m42})
        EXPECT_TRUE(std::isfinite(element));
    // The drop is then the circle's full 2W × 1.5, before the turn by 2 rad.
    double angle = -0.8 * 2.5;
    CGPoint moved = {-1.25 * kWidth, 3 * kWidth};
    EXPECT_TRUE(
        pointsNear(drawnPoint(page, kPageCentre), plus(kPageCentre, rotated(moved, angle))));
    EXPECT_EQ(alphaOf(page), 0.0);
}

} // namespace
