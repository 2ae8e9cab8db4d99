#include "quartzcore/CATransform3D.h"

#include <array>
#include <bit>
#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr CGFloat kTolerance = 1e-12;
constexpr CGFloat kHalfRootThree = 0.86602540378443865; // sin 60°, cos 30°

using Elements = std::array<CGFloat, 16>;

CATransform3D matrix(const Elements &elements)
{
    return std::bit_cast<CATransform3D>(elements);
}

// The shared assertion for matrices: names every element that is off, by row and column.
testing::AssertionResult matricesMatch(const char *actualText, const char *expectedText,
                                       const CATransform3D &actual, const CATransform3D &expected)
{
    auto got = std::bit_cast<Elements>(actual), want = std::bit_cast<Elements>(expected);
    testing::AssertionResult result = testing::AssertionSuccess();
    for (int i = 0; i < 16; ++i) {
        if (std::fabs(got[i] - want[i]) <= kTolerance)
            continue;
        if (result)
            result = testing::AssertionFailure() << actualText << " differs from " << expectedText;
        result << "\n  m" << i / 4 + 1 << i % 4 + 1 << " is " << got[i] << ", expected " << want[i];
    }
    return result;
}
#define EXPECT_MATRIX(actual, expected) EXPECT_PRED_FORMAT2(matricesMatch, actual, expected)

void expectPoint(CGPoint actual, CGFloat x, CGFloat y)
{
    EXPECT_NEAR(actual.x, x, 1e-9);
    EXPECT_NEAR(actual.y, y, 1e-9);
}

CATransform3D withPerspective(CGFloat m34)
{
    CATransform3D t = CATransform3DIdentity;
    t.m34 = m34;
    return t;
}

// A matrix with no zero and no symmetry, perspective included.
const CATransform3D kGeneral =
    matrix({2, 0.5, 1, 0.001, 1, 3, -1, 0.01, 0.25, 1, 4, -0.002, 5, -3, 2, 1});

// ---- Affine transforms ----

TEST(CGAffineTransform, ConcatAndEachStepApplyTheFirstTransformFirst)
{
    CGAffineTransform shift = CGAffineTransformMakeTranslation(10, 0);
    CGAffineTransform turn = CGAffineTransformMakeRotation(M_PI_2);
    // (2, 3) moved to (12, 3), then turned a quarter to (-3, 12); the other way (-3, 2), (7, 2).
    expectPoint(CGPointApplyAffineTransform({2, 3}, CGAffineTransformConcat(shift, turn)), -3, 12);
    expectPoint(CGPointApplyAffineTransform({2, 3}, CGAffineTransformConcat(turn, shift)), 7, 2);

    // Translate, scale and rotate put their step first.
    CGAffineTransform scale = CGAffineTransformMakeScale(2, 3);
    expectPoint(CGPointApplyAffineTransform({0, 0}, CGAffineTransformTranslate(scale, 1, 1)), 2, 3);
    CGAffineTransform moved = CGAffineTransformMakeTranslation(5, 5);
    expectPoint(CGPointApplyAffineTransform({1, 1}, CGAffineTransformScale(moved, 2, 3)), 7, 8);
    expectPoint(CGPointApplyAffineTransform({1, 0}, CGAffineTransformRotate(moved, M_PI_2)), 5, 6);
}

TEST(CGAffineTransform, InvertUndoesAndKeepsASingularTransformAndIdentityIsExact)
{
    CGAffineTransform inverse = CGAffineTransformInvert(CGAffineTransformMake(2, 1, 3, 2, 3, 4));
    EXPECT_TRUE(
        CGAffineTransformEqualToTransform(inverse, CGAffineTransformMake(2, -1, -3, 2, 6, -5)));

    CGAffineTransform flat = CGAffineTransformMake(1, 2, 2, 4, 5, 6);
    EXPECT_TRUE(CGAffineTransformEqualToTransform(CGAffineTransformInvert(flat), flat));

    EXPECT_TRUE(CGAffineTransformIsIdentity(CGAffineTransformMakeRotation(0)));
    EXPECT_TRUE(CGAffineTransformIsIdentity(CGAffineTransformMakeTranslation(0, 0)));
    EXPECT_FALSE(CGAffineTransformIsIdentity(CGAffineTransformMakeTranslation(0, 1e-300)));
}

TEST(CGAffineTransform, SizesIgnoreTranslationAndRectsTakeTheBoundingBox)
{
    CGAffineTransform turn = CGAffineTransformConcat(CGAffineTransformMakeRotation(M_PI_2),
                                                     CGAffineTransformMakeTranslation(1, 1));
    CGSize size = CGSizeApplyAffineTransform(CGSizeMake(2, 1), turn);
    EXPECT_NEAR(size.width, -1, kTolerance);
    EXPECT_NEAR(size.height, 2, kTolerance);

    // Corners (0,0) (2,0) (0,1) (2,1) turn to (0,0) (0,2) (-1,0) (-1,2), then move by (1, 1).
    CGRect box = CGRectApplyAffineTransform(CGRectMake(2, 1, -2, -1), turn);
    expectPoint(box.origin, 0, 1);
    expectPoint({box.size.width, box.size.height}, 1, 2);
    EXPECT_TRUE(CGRectIsNull(CGRectApplyAffineTransform(CGRectNull, turn)));
}

// ---- Rotations ----

// Rows 1 to 3 of the 3 × 3 part: where the unit x, y and z vectors go.
struct RotationCase {
    const char *name;
    CGFloat angle, x, y, z;
    std::array<CGFloat, 9> rows;
};

class CATransform3DRotation : public testing::TestWithParam<RotationCase> {};

TEST_P(CATransform3DRotation, MatchesTheHandComputedMatrix)
{
    const RotationCase &rotation = GetParam();
    const auto &r = rotation.rows;
    EXPECT_MATRIX(
        CATransform3DMakeRotation(rotation.angle, rotation.x, rotation.y, rotation.z),
        matrix({r[0], r[1], r[2], 0, r[3], r[4], r[5], 0, r[6], r[7], r[8], 0, 0, 0, 0, 1}));
}

// Axes are given unnormalised on purpose. A third of a turn about the diagonal cycles the axes.
constexpr CGFloat c30 = kHalfRootThree, s30 = 0.5;
INSTANTIATE_TEST_SUITE_P(
    EachAxis, CATransform3DRotation,
    testing::Values(
        RotationCase{"ZQuarterTurnsXToY", M_PI_2, 0, 0, 3, {0, 1, 0, -1, 0, 0, 0, 0, 1}},
        RotationCase{"XQuarterTurnsYToZ", M_PI_2, 2, 0, 0, {1, 0, 0, 0, 0, 1, 0, -1, 0}},
        RotationCase{"YQuarterTurnsZToX", M_PI_2, 0, 5, 0, {0, 0, -1, 0, 1, 0, 1, 0, 0}},
        RotationCase{"Z30Degrees", M_PI / 6, 0, 0, 1, {c30, s30, 0, -s30, c30, 0, 0, 0, 1}},
        RotationCase{"DiagonalThirdTurn", 2 * M_PI / 3, 2, 2, 2, {0, 1, 0, 0, 0, 1, 1, 0, 0}},
        RotationCase{"ZeroAxisIsIdentity", 1.0, 0, 0, 0, {1, 0, 0, 0, 1, 0, 0, 0, 1}}),
    [](const testing::TestParamInfo<RotationCase> &info) { return info.param.name; });

// ---- Products, steps and inverses ----

TEST(CATransform3D, ConcatOrderDecidesWhetherTheTranslationTurns)
{
    CATransform3D shift = CATransform3DMakeTranslation(10, 0, 0);
    CATransform3D turn = CATransform3DMakeRotation(M_PI_2, 0, 0, 1);
    // Shift then turn: the offset (10, 0) turns into (0, 10). Turn then shift: it stays.
    CATransform3D shiftThenTurn = CATransform3DConcat(shift, turn);
    CATransform3D turnThenShift = CATransform3DConcat(turn, shift);
    EXPECT_MATRIX(shiftThenTurn, matrix({0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 10, 0, 1}));
    EXPECT_MATRIX(turnThenShift, matrix({0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1}));
    expectPoint(sim::projectPoint(shiftThenTurn, {1, 0}).point, 0, 11);
    expectPoint(sim::projectPoint(turnThenShift, {1, 0}).point, 10, 1);
}

TEST(CATransform3D, RotatingAboutNoAxisLeavesTheMatrix)
{
    EXPECT_MATRIX(CATransform3DRotate(kGeneral, 0.7, 0, 0, 0), kGeneral);
}

TEST(CATransform3D, InvertMatchesHandInversesUndoesAGeneralMatrixAndKeepsASingularOne)
{
    CATransform3D shiftThenScale = CATransform3DConcat(CATransform3DMakeTranslation(10, 20, 30),
                                                       CATransform3DMakeScale(2, 4, 5));
    EXPECT_MATRIX(shiftThenScale, matrix({2, 0, 0, 0, 0, 4, 0, 0, 0, 0, 5, 0, 20, 80, 150, 1}));
    EXPECT_MATRIX(CATransform3DInvert(shiftThenScale),
                  matrix({0.5, 0, 0, 0, 0, 0.25, 0, 0, 0, 0, 0.2, 0, -10, -20, -30, 1}));
    EXPECT_MATRIX(CATransform3DInvert(CATransform3DMakeTranslation(1, 2, 3)),
                  CATransform3DMakeTranslation(-1, -2, -3));
    EXPECT_MATRIX(CATransform3DInvert(withPerspective(-0.002)), withPerspective(0.002));

    CATransform3D inverse = CATransform3DInvert(kGeneral);
    EXPECT_MATRIX(CATransform3DConcat(kGeneral, inverse), CATransform3DIdentity);
    EXPECT_MATRIX(CATransform3DConcat(inverse, kGeneral), CATransform3DIdentity);

    CATransform3D flattened = CATransform3DMakeScale(0, 0, 1);
    EXPECT_TRUE(CATransform3DEqualToTransform(CATransform3DInvert(flattened), flattened));
    CATransform3D repeatedRow = matrix({1, 2, 3, 0, 1, 2, 3, 0, 0, 0, 1, 0, 4, 5, 6, 1});
    EXPECT_TRUE(CATransform3DEqualToTransform(CATransform3DInvert(repeatedRow), repeatedRow));
}

// ---- Perspective and projection ----

// With m34 = −1/500 the eye is 500 in front of the plane.
TEST(CATransform3D, PointsAtOrBehindTheEyeAreNotInFront)
{
    CATransform3D perspective = withPerspective(-1.0 / 500);
    sim::ProjectedPoint behind = sim::projectPoint(perspective, {10, 20}, 600);
    EXPECT_FALSE(behind.inFront);
    expectPoint(behind.point, 10, 20);
    EXPECT_FALSE(sim::projectPoint(perspective, {10, 20}, 500).inFront);
    EXPECT_TRUE(sim::projectPoint(perspective, {10, 20}, 499).inFront);
}

// ---- Affine form and exact comparisons ----

TEST(CATransform3D, AffineTransformsEmbedInTheUpperLeftAndBottomRow)
{
    CGAffineTransform affine = CGAffineTransformMake(1, 2, 3, 4, 5, 6);
    CATransform3D embedded = CATransform3DMakeAffineTransform(affine);
    EXPECT_MATRIX(embedded, matrix({1, 2, 0, 0, 3, 4, 0, 0, 0, 0, 1, 0, 5, 6, 0, 1}));
    EXPECT_TRUE(CATransform3DIsAffine(embedded));
    EXPECT_TRUE(
        CGAffineTransformEqualToTransform(CATransform3DGetAffineTransform(embedded), affine));
    expectPoint(sim::projectPoint(embedded, {7, -1}).point, 7 * 1 - 3 + 5, 7 * 2 - 4 + 6);

    EXPECT_FALSE(CATransform3DIsAffine(withPerspective(-0.002)));
    EXPECT_FALSE(CATransform3DIsAffine(CATransform3DMakeRotation(0.5, 1, 0, 0)));
    EXPECT_FALSE(CATransform3DIsAffine(CATransform3DMakeScale(1, 1, 2)));
    EXPECT_FALSE(CATransform3DIsAffine(CATransform3DMakeTranslation(0, 0, 1)));
}

TEST(CATransform3D, ChangingAnyOneElementBreaksIdentityAndEquality)
{
    EXPECT_TRUE(CATransform3DIsIdentity(CATransform3DMakeRotation(0, 0, 0, 1)));
    EXPECT_TRUE(CATransform3DIsIdentity(CATransform3DMakeScale(1, 1, 1)));
    for (int i = 0; i < 16; ++i) {
        auto elements = std::bit_cast<Elements>(CATransform3DIdentity);
        elements[i] += 0.5;
        SCOPED_TRACE(testing::Message() << "element m" << i / 4 + 1 << i % 4 + 1);
        EXPECT_FALSE(CATransform3DIsIdentity(matrix(elements)));
        EXPECT_FALSE(CATransform3DEqualToTransform(matrix(elements), CATransform3DIdentity));
    }
}

} // namespace
