#pragma once
// What the page-scroll effect tests share: a home screen of two 320 × 480 pages, each with
// 24 labelled icon views (60 × 74) in 4 columns and 6 rows; and probes that project points
// through a layer's matrix as the renderer does, so that expectations are geometry.

#include "effects/CVScrollAnimations.h"

#include "quartzcore/CATransform3D.h"
#include "uikit/UIScrollView.h"
#include "uikit/UIView.h"
#include "uikit/tests/UIKitTest.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace scrolltest {

constexpr double kWidth = 320;
constexpr double kHeight = 480;
constexpr CGSize kSize = {kWidth, kHeight};
constexpr int kColumns = 4;
constexpr int kRows = 6;
constexpr double kIconWidth = 60;
constexpr double kIconHeight = 74;
// The icon columns and rows: 16-point margins and gaps across, 78 points from row to row.
constexpr double kFirstColumnX = 46, kColumnStep = 76;
constexpr double kFirstRowY = 45, kRowStep = 78;

// Offsets at which every effect is checked: at rest, part of a page and a whole page either
// way, and one that is no simple fraction.
inline const std::vector<double> kOffsets = {0,      0.25 * kWidth, -0.5 * kWidth,
                                             kWidth, -kWidth,       -0.81 * kWidth};

// Values no effect ever sets, so that a probe can tell what an effect left alone.
constexpr double kUntouchedAlpha = 0.375;
inline CATransform3D untouchedTransform()
{
    return CATransform3DMakeTranslation(3, 5, 7);
}

// The view messages the probes and the effects' bookkeeping go through.
inline void addSubview(UIView *parent, UIView *child)
{
    msg<void, UIView *>(parent, "addSubview:"_sel, child);
}

inline CATransform3D transformOf(UIView *view)
{
    return msg<CATransform3D>(msg<CALayer *>(view, "layer"_sel), "transform"_sel);
}

inline void setTransformOf(UIView *view, const CATransform3D &transform)
{
    msg<void, CATransform3D>(msg<CALayer *>(view, "layer"_sel), "setTransform:"_sel, transform);
}

inline CGFloat alphaOf(UIView *view)
{
    return msg<CGFloat>(view, "alpha"_sel);
}

inline void setAlphaOf(UIView *view, double alpha)
{
    msg<void, CGFloat>(view, "setAlpha:"_sel, alpha);
}

inline std::vector<UIView *> subviewsOf(UIView *view)
{
    std::vector<UIView *> views;
    for (id subview : *msg<NSArray *>(view, "subviews"_sel))
        views.push_back(static_cast<UIView *>(subview));
    return views;
}

// An icon view centred at (x, y) with a label inside it.
inline UIView *addIcon(UIView *page, double x, double y)
{
    UIView *icon =
        makeView(CGRectMake(x - kIconWidth / 2, y - kIconHeight / 2, kIconWidth, kIconHeight));
    addSubview(icon, makeView(CGRectMake(0, 62, kIconWidth, 12)));
    addSubview(page, icon);
    return icon;
}

// A page at the given position of the scroll view with its 24 icons, row after row.
inline UIView *addHomePage(UIScrollView *scrollView, int index)
{
    UIView *page = makeView(CGRectMake(index * kWidth, 0, kWidth, kHeight));
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            addIcon(page, kFirstColumnX + column * kColumnStep, kFirstRowY + row * kRowStep);
    addSubview(scrollView, page);
    return page;
}

inline UIScrollView *makeHomeScreen()
{
    auto *scrollView = makeView<UIScrollView>(UIScrollView::class_(), {{0, 0}, kSize});
    addHomePage(scrollView, 0);
    addHomePage(scrollView, 1);
    return scrollView;
}

// Where the point p of the view's bounds is drawn in its superview, relative to where it
// lies at rest: the layer's transform acts about the view's centre (its anchor point).
inline CGPoint drawnPoint(UIView *view, CGPoint p)
{
    CGRect bounds = msg<CGRect>(view, "bounds"_sel);
    CGPoint anchor = {bounds.size.width / 2, bounds.size.height / 2};
    sim::ProjectedPoint drawn =
        sim::projectPoint(transformOf(view), {p.x - anchor.x, p.y - anchor.y});
    EXPECT_TRUE(drawn.inFront);
    return {anchor.x + drawn.point.x, anchor.y + drawn.point.y};
}

// Where the point at `fromCentre` of an icon is drawn in its page's coordinates.
inline CGPoint drawnIconPoint(UIView *icon, CGPoint fromCentre)
{
    CGPoint centre = msg<CGPoint>(icon, "center"_sel);
    sim::ProjectedPoint drawn = sim::projectPoint(transformOf(icon), fromCentre);
    EXPECT_TRUE(drawn.inFront);
    return {centre.x + drawn.point.x, centre.y + drawn.point.y};
}

// Closed forms used by the expectations.
inline CGPoint rotated(CGPoint v, double angle)
{
    return {v.x * std::cos(angle) - v.y * std::sin(angle),
            v.x * std::sin(angle) + v.y * std::cos(angle)};
}

inline CGPoint plus(CGPoint a, CGPoint b)
{
    return {a.x + b.x, a.y + b.y};
}

inline CGPoint minus(CGPoint a, CGPoint b)
{
    return {a.x - b.x, a.y - b.y};
}

inline CGPoint times(double factor, CGPoint v)
{
    return {factor * v.x, factor * v.y};
}

constexpr CGPoint kPageCentre = {kWidth / 2, kHeight / 2};

// Effects compute in single precision, so positions agree to a few thousandths of a point.
constexpr double kTolerance = 2e-3;

inline testing::AssertionResult pointsNear(CGPoint actual, CGPoint expected)
{
    if (std::fabs(actual.x - expected.x) <= kTolerance &&
        std::fabs(actual.y - expected.y) <= kTolerance)
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "drawn at (" << actual.x << ", " << actual.y << "), expected (" << expected.x << ", "
           << expected.y << ")";
}

class ScrollEffectsTest : public testing::Test {
protected:
    AutoreleasePool pool;
};

} // namespace scrolltest
