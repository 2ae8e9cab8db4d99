#include "quartzcore/CGGeometry.h"

#include <array>
#include <gtest/gtest.h>

namespace {

// Exact, so that a rect covering the same area with a negative size does not pass.
void expectRect(CGRect actual, CGFloat x, CGFloat y, CGFloat width, CGFloat height)
{
    EXPECT_EQ(actual.origin.x, x);
    EXPECT_EQ(actual.origin.y, y);
    EXPECT_EQ(actual.size.width, width);
    EXPECT_EQ(actual.size.height, height);
}

TEST(CGGeometry, NegativeSizesDescribeTheSameAreaAsTheirStandardForm)
{
    CGRect flipped = CGRectMake(10, 20, -4, -6);
    EXPECT_EQ((std::array{CGRectGetMinX(flipped), CGRectGetMidX(flipped), CGRectGetMaxX(flipped),
                          CGRectGetMinY(flipped), CGRectGetMidY(flipped), CGRectGetMaxY(flipped),
                          CGRectGetWidth(flipped), CGRectGetHeight(flipped)}),
              (std::array<CGFloat, 8>{6, 8, 10, 14, 17, 20, 4, 6}));
    expectRect(CGRectStandardize(flipped), 6, 14, 4, 6);
    EXPECT_TRUE(CGRectEqualToRect(flipped, CGRectMake(6, 14, 4, 6)));
    EXPECT_FALSE(CGRectIsEmpty(flipped));
}

TEST(CGGeometry, NullIsEmptyButAZeroSizedRectStillHasAPlaceAndPoints)
{
    EXPECT_TRUE(CGRectIsNull(CGRectNull));
    EXPECT_TRUE(CGRectIsEmpty(CGRectNull));
    EXPECT_EQ(CGRectGetWidth(CGRectNull), 0);
    EXPECT_EQ(CGRectGetMinX(CGRectNull), INFINITY);
    expectRect(CGRectStandardize(CGRectNull), INFINITY, INFINITY, 0, 0);

    CGRect dot = CGRectMake(3, 4, 0, 0);
    EXPECT_TRUE(CGRectIsEmpty(dot));
    EXPECT_FALSE(CGRectIsNull(dot));
    EXPECT_FALSE(CGRectEqualToRect(dot, CGRectNull));
    EXPECT_TRUE(CGRectEqualToRect(CGRectNull, CGRectMake(INFINITY, INFINITY, 5, 5)));
    EXPECT_FALSE(CGRectIsNull(CGRectInfinite));

    // A rect contains the points on its minimum edges only.
    CGRect square = CGRectMake(0, 0, 10, 10);
    EXPECT_TRUE(CGRectContainsPoint(square, CGPointMake(0, 0)));
    EXPECT_TRUE(CGRectContainsPoint(square, CGPointMake(9.5, 9.5)));
    EXPECT_FALSE(CGRectContainsPoint(square, CGPointMake(10, 5)));
    EXPECT_FALSE(CGRectContainsPoint(square, CGPointMake(5, 10)));
    EXPECT_FALSE(CGRectContainsPoint(square, CGPointMake(-0.5, 5)));

    CGRect flipped = CGRectMake(10, 10, -10, -10);
    EXPECT_TRUE(CGRectContainsPoint(flipped, CGPointMake(0, 0)));
    EXPECT_FALSE(CGRectContainsPoint(flipped, CGPointMake(10, 10)));
    EXPECT_FALSE(CGRectContainsPoint(CGRectNull, CGPointMake(INFINITY, INFINITY)));
    EXPECT_TRUE(CGRectContainsPoint(CGRectInfinite, CGPointMake(-1e300, 1e300)));
}

TEST(CGGeometry, IntersectionKeepsOnlySharedAreaOrIsNull)
{
    expectRect(CGRectIntersection(CGRectMake(0, 0, 10, 10), CGRectMake(5, -5, 10, 10)), 5, 0, 5, 5);
    expectRect(CGRectIntersection(CGRectMake(10, 10, -10, -10), CGRectMake(15, 15, -10, -10)), 5, 5,
               5, 5);
    expectRect(CGRectIntersection(CGRectInfinite, CGRectMake(1, 2, 3, 4)), 1, 2, 3, 4);
    EXPECT_TRUE(CGRectIntersectsRect(CGRectMake(0, 0, 10, 10), CGRectMake(9, 9, 5, 5)));

    CGRect square = CGRectMake(0, 0, 10, 10);
    const CGRect strangers[] = {CGRectMake(20, 20, 5, 5), CGRectMake(10, 0, 5, 5),
                                CGRectMake(0, -5, 10, 5), CGRectMake(5, 5, 0, 0), CGRectNull};
    for (CGRect other : strangers) {
        EXPECT_TRUE(CGRectIsNull(CGRectIntersection(square, other)));
        EXPECT_TRUE(CGRectIsNull(CGRectIntersection(other, square)));
        EXPECT_FALSE(CGRectIntersectsRect(square, other));
    }
}

TEST(CGGeometry, UnionIgnoresNullButNotZeroSizedRectsAndContainsWhatItCovers)
{
    expectRect(CGRectUnion(CGRectMake(0, 0, 2, 2), CGRectMake(5, 5, -1, -1)), 0, 0, 5, 5);
    expectRect(CGRectUnion(CGRectNull, CGRectMake(3, 3, -1, -2)), 2, 1, 1, 2);
    expectRect(CGRectUnion(CGRectMake(3, 3, -1, -2), CGRectNull), 2, 1, 1, 2);
    expectRect(CGRectUnion(CGRectMake(0, 0, 1, 1), CGRectMake(4, 5, 0, 0)), 0, 0, 4, 5);
    EXPECT_TRUE(CGRectIsNull(CGRectUnion(CGRectNull, CGRectNull)));

    CGRect square = CGRectMake(0, 0, 10, 10);
    EXPECT_TRUE(CGRectContainsRect(square, CGRectMake(2, 2, 3, 3)));
    EXPECT_TRUE(CGRectContainsRect(square, CGRectMake(10, 10, -10, -10)));
    EXPECT_TRUE(CGRectContainsRect(square, CGRectNull));
    EXPECT_FALSE(CGRectContainsRect(square, CGRectMake(8, 8, 5, 5)));
    EXPECT_FALSE(CGRectContainsRect(CGRectNull, square));
}

TEST(CGGeometry, OffsetInsetAndIntegralWorkOnTheStandardForm)
{
    expectRect(CGRectOffset(CGRectMake(5, 5, -2, -2), 1, 1), 4, 4, 2, 2);
    expectRect(CGRectInset(CGRectMake(0, 0, 10, 6), 2, 1), 2, 1, 6, 4);
    expectRect(CGRectInset(CGRectMake(10, 6, -10, -6), -1, -1), -1, -1, 12, 8);
    expectRect(CGRectInset(CGRectMake(0, 0, 10, 6), 5, 3), 5, 3, 0, 0);
    EXPECT_TRUE(CGRectIsNull(CGRectInset(CGRectMake(0, 0, 10, 6), 6, 0)));
    EXPECT_TRUE(CGRectIsNull(CGRectOffset(CGRectNull, 1, 1)));
    EXPECT_TRUE(CGRectIsNull(CGRectInset(CGRectNull, -1, -1)));

    // Integral rounds outwards.
    expectRect(CGRectIntegral(CGRectMake(0.5, -0.5, 0.8, 1.0)), 0, -1, 2, 2);
    expectRect(CGRectIntegral(CGRectMake(2.5, 2.5, -1.25, -1.25)), 1, 1, 2, 2);
    expectRect(CGRectIntegral(CGRectMake(-3, 4, 5, 6)), -3, 4, 5, 6);
    EXPECT_TRUE(CGRectIsNull(CGRectIntegral(CGRectNull)));
}

} // namespace
