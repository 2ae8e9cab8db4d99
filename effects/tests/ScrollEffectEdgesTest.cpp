// The page-scroll effects at their edges: angles rounded as they have always been, icons
// on the centre line, rows found from icon centres that do not line up, the windmill far out.

#include "ScrollEffectsTest.h"

#include <string>

namespace {

using namespace scrolltest;

void run(CVUIScrollAnimationID identifier, UIView *page, double offset)
{
    CVUIScrollAnimationForID(identifier)(page, float(offset), kSize);
}

// Where the icon's centre is drawn, relative to where it lies at rest.
CGPoint iconMovement(UIView *icon)
{
    return minus(drawnIconPoint(icon, {0, 0}), msg<CGPoint>(icon, "center"_sel));
}

// Angles take t × π in double precision rounded to float; Rollerblade and Tear Apart take
// their 0.8 into that product, the cube its third afterwards in float. At each offset the
// other roundings give another angle, so the angles are compared exactly.
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

// A page whose icons stand on the centre line and just right of it.
class CentreLine : public ScrollEffectsTest {
protected:
    UIView *page = makeView(CGRectMake(0, 0, kWidth, kHeight));
    UIView *onLine = addIcon(page, kWidth / 2, 200);
    UIView *rightOfLine = addIcon(page, kWidth / 2 + 0.5, 300);
};

// An icon on the line counts as left of it: Interlace turns it the negative way, Tear
// Apart turns it and sends it to the left. (A rotation by a about z holds sin(a) in m12.)
TEST_F(CentreLine, AnIconOnTheLineIsTurnedAndMovedAsOneOnTheLeft)
{
    run(CVUIScrollAnimationInterlace, page, 0.25 * kWidth);
    EXPECT_NEAR(transformOf(onLine).m12, -std::sin(M_PI * 0.25), 1e-6);
    EXPECT_NEAR(transformOf(rightOfLine).m12, std::sin(M_PI * 0.25), 1e-6);

    double t = 0.5, angle = -0.8 * M_PI * t;
    run(CVUIScrollAnimationTearApart, page, t * kWidth);
    EXPECT_NEAR(transformOf(onLine).m12, std::sin(angle), 1e-6);
    CGPoint shift = {-t * (kWidth - kWidth / 2), -t * (kHeight - 200)};
    EXPECT_TRUE(pointsNear(iconMovement(onLine), rotated(shift, angle)));
    EXPECT_NEAR(transformOf(rightOfLine).m12, -std::sin(angle), 1e-6);
}

// Icons whose centres do not line up: the second a little higher than the first (still
// its row), the third a little lower (a new row), the fourth level with it, the fifth alone.
class RowDetection : public ScrollEffectsTest {
protected:
    UIView *page = makeView(CGRectMake(0, 0, kWidth, kHeight));
    std::vector<UIView *> icons = {addIcon(page, 50, 100), addIcon(page, 130, 98),
                                   addIcon(page, 50, 101), addIcon(page, 130, 101),
                                   addIcon(page, 50, 200)};
    static constexpr double kOffset = 0.25 * kWidth;

    // The sign of each icon's movement across or down, or of its turn, in icon order.
    enum Measure { Across, Down, Turn };
    std::vector<int> signsOf(Measure measure)
    {
        std::vector<int> signs;
        for (UIView *icon : icons) {
            double value = measure == Turn   ? transformOf(icon).m12
                           : measure == Down ? iconMovement(icon).y
                                             : iconMovement(icon).x;
            signs.push_back(value > 1e-9 ? 1 : value < -1e-9 ? -1 : 0);
        }
        return signs;
    }
};

// Each row is found afresh from the icon that starts it, the first row moving or turning
// one way and the next the other (or the columns, or both alternately).
TEST_F(RowDetection, AlternatingEffectsStartEachRowAsTheFirstAndAlternateByRowOrColumn)
{
    struct Case {
        CVUIScrollAnimationID identifier;
        std::vector<int> across, down, turn;
    };
    const std::vector<int> none(5, 0);
    const Case cases[] = {
        {CVUIScrollAnimationRailwayHorizontal, {-1, -1, 1, 1, -1}, none, none},
        {CVUIScrollAnimationRailwayVertical, none, {-1, 1, -1, 1, -1}, none},
        {CVUIScrollAnimationAlternateShuffle, {-1, 1, -1, 1, -1}, none, none},
        {CVUIScrollAnimationSeaside, none, {-1, 1, 1, -1, -1}, none},
        {CVUIScrollAnimationRollerblade, none, none, {1, 1, -1, -1, 1}},
    };
    for (const Case &effect : cases) {
        SCOPED_TRACE(effect.identifier);
        run(effect.identifier, page, kOffset);
        EXPECT_EQ(signsOf(Across), effect.across);
        EXPECT_EQ(signsOf(Down), effect.down);
        EXPECT_EQ(signsOf(Turn), effect.turn);
    }
}

TEST_F(RowDetection, RowsAreFoundAfreshOnEveryCall)
{
    run(CVUIScrollAnimationRailwayHorizontal, page, kOffset);
    run(CVUIScrollAnimationRailwayHorizontal, page, kOffset);
    EXPECT_EQ(signsOf(Across), (std::vector<int>{-1, -1, 1, 1, -1}));
    // An icon moved down since the last call is found in its new row.
    msg<void, CGPoint>(icons[1], "setCenter:"_sel, CGPoint{130, 150});
    run(CVUIScrollAnimationRailwayHorizontal, page, kOffset);
    EXPECT_EQ(signsOf(Across), (std::vector<int>{-1, 1, 1, 1, -1}));
}

TEST_F(ScrollEffectsTest, WindmillStaysOnItsCircleBeyondTwoWidths)
{
    UIView *page = subviewsOf(makeHomeScreen())[0];
    run(CVUIScrollAnimationWindmill, page, 2.5 * kWidth);
    // The drop is then the circle's full 2W × 1.5, before the turn by 2 rad.
    double angle = -0.8 * 2.5;
    CGPoint moved = {-1.25 * kWidth, 3 * kWidth};
    EXPECT_TRUE(
        pointsNear(drawnPoint(page, kPageCentre), plus(kPageCentre, rotated(moved, angle))));
    EXPECT_EQ(alphaOf(page), 0.0);
}

} // namespace
