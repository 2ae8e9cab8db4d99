#include "HomeScreenTest.h"

#include <cmath>

namespace test {

void HomeScreenTest::relayout()
{
    msg<void>(iconController(), "relayout"_sel);
}

CATransform3D HomeScreenTest::sublayerTransformOf(UIView *view)
{
    return msg<CATransform3D>(view->layer(), "sublayerTransform"_sel);
}

void HomeScreenTest::setSublayerTransform(UIView *view, const CATransform3D &transform)
{
    msg<void, CATransform3D>(view->layer(), "setSublayerTransform:"_sel, transform);
}

void expectCoverFlow(const CATransform3D &transform, double angle, double scale, double depth,
                     double perspective)
{
    constexpr double kFloatTolerance = 1e-5;
    EXPECT_NEAR(transform.m11, scale * std::cos(angle), kFloatTolerance);
    EXPECT_NEAR(transform.m13, -scale * std::sin(angle), kFloatTolerance);
    EXPECT_NEAR(transform.m22, scale, kFloatTolerance);
    EXPECT_NEAR(transform.m31, std::sin(angle), kFloatTolerance);
    EXPECT_NEAR(transform.m33, std::cos(angle), kFloatTolerance);
    EXPECT_NEAR(transform.m34, perspective * std::cos(angle), 1e-8);
    EXPECT_NEAR(transform.m43, depth, 1e-3);
    EXPECT_NEAR(transform.m44, 1, kFloatTolerance);
}

void expectScale(const CATransform3D &transform, double scale)
{
    CATransform3D expected = CATransform3DIdentity;
    expected.m11 = expected.m22 = scale;
    const CGFloat *actual = &transform.m11;
    const CGFloat *wanted = &expected.m11;
    for (int element = 0; element < 16; ++element)
        EXPECT_NEAR(actual[element], wanted[element], 1e-6) << "element " << element;
}

} // namespace test
