#pragma once
// The 38 page-scroll effects behind the table of CVScrollAnimations.cpp, and the steps
// they are made of. Library-private: callers reach the effects through the table.
//
// Terms the effects share (lengths in points, angles in radians):
//
// - o is the page's offset, W and H the scroll view's width and height, t = o ÷ W.
// - Arithmetic is in single precision, as the effects have always computed it, with one
//   exception: an angle that is a multiple of π forms the product t × π in double
//   precision and rounds it to float (halfTurns); the other constant factors follow in
//   float, apart from the 0.8 of Tear Apart and Rollerblade, which joins the double
//   product.
// - hold in place: the page layer is translated by (o, 0, 0), which cancels the scroll
//   movement so that the page stays where it is on screen while the effect acts on it.
// - fade: the page's alpha becomes 1 − |t|.
// - icons: the page's direct subviews in `subviews` order; their centres are read afresh
//   on every call, as pages lay their icons out again between swipes.
//
// Transforms follow CATransform3D.h: CATransform3DTranslate, Scale and Rotate put their
// step before the matrix they are given, so "M then T(…)" translates first and M acts on
// the result.

#include "effects/CVScrollAnimations.h"

#include "foundation/NSArray.h"
#include "quartzcore/CATransform3D.h"
#include "uikit/UIView.h"

#include <cmath>

// The quantities of one call, in single precision.
struct CVScrollGeometry {
    float offset;
    float width;
    float height;
    float progress;

    CVScrollGeometry(float o, const CGSize &size)
        : offset(o), width(float(size.width)), height(float(size.height)), progress(o / width)
    {
    }

    // A scroll view without width, or an offset that is not a number, gives no progress.
    // Effects then leave the page as it is rather than fill its layers with infinities.
    bool isMeasurable() const { return std::isfinite(progress); }
};

// Every effect: the page and the geometry of this call, which the table has already
// found measurable.
using CVScrollEffect = void (*)(UIView *page, const CVScrollGeometry &g);

// Page transforms and fades (CVScrollPageEffects.cpp).
void CVScrollEffectStairwayUp(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectStairwayDown(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectLightFade(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectFadeInPlace(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectTimeMachine(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectLongLeap(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectVerticalScrollDown(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectVerticalScrollUp(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectRollPage(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectCubeInside(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectCubeOutside(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectShuffle(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectComeInAndGoDown(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectComeInAndGoUp(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectZoomIn(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectZoomOut(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectSlideAndZoom(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectWindmill(UIView *page, const CVScrollGeometry &g);

// Icon transforms, and Magic Flip (Page), which shares its routine with Magic Flip (Icons)
// (CVScrollIconEffects.cpp).
void CVScrollEffectRotateClockwise(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectRotateCounterClockwise(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectStretch(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectCompress(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectShrink(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectClash(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectSpread(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectBubble(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectAlternateRoll(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectInterlace(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectTearApart(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectRollerblade(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectRailwayHorizontal(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectRailwayVertical(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectAlternateShuffle(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectMagicFlipPage(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectMagicFlipIcons(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectPulse(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectAlternatePulse(UIView *page, const CVScrollGeometry &g);
void CVScrollEffectSeaside(UIView *page, const CVScrollGeometry &g);

namespace CVScrollSteps {

// The angle of t half-turns, t × π, formed in double precision and rounded to float;
// with a factor, t × π × factor, the factor joining the double product.
inline float halfTurns(float t, double factor = 1)
{
    return float(double(t) * M_PI * factor);
}

inline void setLayerTransform(UIView *view, const CATransform3D &transform)
{
    msg<void, CATransform3D>(msg<CALayer *>(view, "layer"_sel), "setTransform:"_sel, transform);
}

inline void setAlpha(UIView *view, float alpha)
{
    msg<void, CGFloat>(view, "setAlpha:"_sel, alpha);
}

inline void fade(UIView *page, const CVScrollGeometry &g)
{
    setAlpha(page, 1 - std::fabs(g.progress));
}

inline void holdInPlace(UIView *page, const CVScrollGeometry &g)
{
    setLayerTransform(page, CATransform3DMakeTranslation(g.offset, 0, 0));
}

// The matrix with its perspective element overwritten: the eye at distance −1/m34.
inline CATransform3D withPerspective(CATransform3D transform, float m34)
{
    transform.m34 = m34;
    return transform;
}

// Calls visit(subview) for every direct subview, in order: the icons of a page, or the
// pages of a scroll view.
template <class Visit> void forEachSubview(UIView *view, Visit visit)
{
    NSArray *subviews = msg<NSArray *>(view, "subviews"_sel);
    if (!subviews)
        return;
    for (id subview : *subviews)
        visit(static_cast<UIView *>(subview));
}

inline CGPoint centreOf(UIView *icon)
{
    return msg<CGPoint>(icon, "center"_sel);
}

} // namespace CVScrollSteps
