// The effects that move, turn, scale or fade the page as a whole and leave its icons
// alone.

#include "effects/CVScrollEffects.h"

#include <algorithm>

using namespace CVScrollSteps;

namespace {

// The vertical distance that keeps a page on the diagonal of the screen while it
// travels o across: o × H ÷ W.
float diagonalDrop(const CVScrollGeometry &g)
{
    return g.offset * g.height / g.width;
}

// Vertical Scroll: the page moves along the diagonal instead of sideways, and only the
// page on the side the effect is named for fades.
void scrollVertically(UIView *page, const CVScrollGeometry &g, bool down)
{
    float drop = diagonalDrop(g);
    setLayerTransform(page, CATransform3DMakeTranslation(g.offset, down ? drop : -drop, 0));
    if (down ? g.offset > 0 : g.offset < 0)
        fade(page, g);
}

// Cube: the page turns about the vertical edge it shares with its neighbour, the right
// edge while it leaves to the left and the left edge while it enters from the right (the
// layer's anchor is its centre, so the edge lies half a width away). Inside turns a
// third of a half-turn per page width under strong perspective; Outside turns five
// ninths the other way under weaker perspective.
void turnCube(UIView *page, const CVScrollGeometry &g, bool inside)
{
    const float perspective = inside ? -1.0f / 500 : -1.0f / 750;
    const float turnPerPage = inside ? 1.0f / 3 : -5.0f / 9;
    float hinge = g.width * 0.5f * (g.progress > 0 ? 1.0f : -1.0f);
    CATransform3D cube = withPerspective(CATransform3DMakeTranslation(hinge, 0, 0), perspective);
    cube = CATransform3DRotate(cube, halfTurns(g.progress) * turnPerPage, 0, 1, 0);
    cube = CATransform3DTranslate(cube, -hinge, 0, 0);
    setLayerTransform(page, cube);
}

// Come In and Go: the page that leaves drops away along the diagonal; the page that
// enters stays at rest and only fades in.
void comeInAndGo(UIView *page, const CVScrollGeometry &g, bool down)
{
    CATransform3D transform = CATransform3DIdentity;
    if (g.progress > 0) {
        float drop = diagonalDrop(g);
        transform = CATransform3DTranslate(transform, g.offset, down ? drop : -drop, 0);
    }
    setLayerTransform(page, transform);
    fade(page, g);
}

// Zoom: the page stays in place and grows (In) or shrinks (Out) as it leaves.
void zoom(UIView *page, const CVScrollGeometry &g, bool in)
{
    fade(page, g);
    float scale = in ? 1 + g.progress : 1 - g.progress;
    setLayerTransform(
        page, CATransform3DScale(CATransform3DMakeTranslation(g.offset, 0, 0), scale, scale, 1));
}

} // namespace

void CVScrollEffectStairwayUp(UIView *page, const CVScrollGeometry &g)
{
    setLayerTransform(page, CATransform3DMakeTranslation(-20 * g.progress, 80 * g.progress, 0));
}

void CVScrollEffectStairwayDown(UIView *page, const CVScrollGeometry &g)
{
    setLayerTransform(page, CATransform3DMakeTranslation(-20 * g.progress, -80 * g.progress, 0));
}

void CVScrollEffectLightFade(UIView *page, const CVScrollGeometry &g)
{
    fade(page, g);
}

void CVScrollEffectFadeInPlace(UIView *page, const CVScrollGeometry &g)
{
    fade(page, g);
    holdInPlace(page, g);
}

void CVScrollEffectTimeMachine(UIView *page, const CVScrollGeometry &g)
{
    fade(page, g);
    float scale = 1 + g.progress;
    setLayerTransform(page, CATransform3DMakeScale(scale, scale, 1));
}

// The translation against the scroll movement doubles the distance the page travels.
void CVScrollEffectLongLeap(UIView *page, const CVScrollGeometry &g)
{
    setLayerTransform(page, CATransform3DMakeTranslation(-g.offset, 0, 0));
}

void CVScrollEffectVerticalScrollDown(UIView *page, const CVScrollGeometry &g)
{
    scrollVertically(page, g, true);
}

void CVScrollEffectVerticalScrollUp(UIView *page, const CVScrollGeometry &g)
{
    scrollVertically(page, g, false);
}

void CVScrollEffectRollPage(UIView *page, const CVScrollGeometry &g)
{
    setLayerTransform(page, CATransform3DMakeRotation(-halfTurns(g.progress), 0, 0, 1));
}

void CVScrollEffectCubeInside(UIView *page, const CVScrollGeometry &g)
{
    turnCube(page, g, true);
}

void CVScrollEffectCubeOutside(UIView *page, const CVScrollGeometry &g)
{
    turnCube(page, g, false);
}

// The leaving page runs away at twice the scroll speed; the entering page comes in
// normally.
void CVScrollEffectShuffle(UIView *page, const CVScrollGeometry &g)
{
    float shift = g.progress > 0 ? 2 * g.offset : 0;
    setLayerTransform(page, CATransform3DMakeTranslation(shift, 0, 0));
    fade(page, g);
}

void CVScrollEffectComeInAndGoDown(UIView *page, const CVScrollGeometry &g)
{
    comeInAndGo(page, g, true);
}

void CVScrollEffectComeInAndGoUp(UIView *page, const CVScrollGeometry &g)
{
    comeInAndGo(page, g, false);
}

void CVScrollEffectZoomIn(UIView *page, const CVScrollGeometry &g)
{
    zoom(page, g, true);
}

void CVScrollEffectZoomOut(UIView *page, const CVScrollGeometry &g)
{
    zoom(page, g, false);
}

// The leaving page slides away normally and shrinks a little; the entering page grows in
// place.
void CVScrollEffectSlideAndZoom(UIView *page, const CVScrollGeometry &g)
{
    fade(page, g);
    if (g.progress > 0) {
        float scale = 1 - 0.15f * g.progress;
        setLayerTransform(page, CATransform3DMakeScale(scale, scale, 1));
        return;
    }
    float scale = 1 + g.progress;
    setLayerTransform(
        page, CATransform3DScale(CATransform3DMakeTranslation(g.offset, 0, 0), scale, scale, 1));
}

// The page swings like a windmill sail, turning 0.8 radians per page width (no factor π)
// and falling by the sagitta of a circle of radius 2W. The fade is one and a half times
// as fast, so the page is gone two thirds of the way across. Offsets beyond 2W, which no
// swipe gives, would leave the circle; the drop stops at its widest there instead of
// turning into a matrix of NaNs.
void CVScrollEffectWindmill(UIView *page, const CVScrollGeometry &g)
{
    setAlpha(page, 1 - std::fabs(1.5f * g.progress));
    float radicand = std::max(4 * g.width * g.width - g.offset * g.offset, 0.0f);
    float drop = 1.5f * (2 * g.width - std::sqrt(radicand));
    CATransform3D sail = CATransform3DRotate(CATransform3DIdentity, 0.8f * g.progress, 0, 0, -1);
    sail = CATransform3DTranslate(sail, -0.5f * g.offset, 0, 0);
    sail = CATransform3DTranslate(sail, 0, drop, 0);
    setLayerTransform(page, sail);
}
