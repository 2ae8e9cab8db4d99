// The effects that move, turn or scale the icons of a page, each icon in its own layer.
// Most also hold the page in place and fade it, so that only the icons seem to move.

#include "effects/CVScrollEffects.h"

using namespace CVScrollSteps;

namespace {

// Finds the rows of a page while its icons are walked in order. Pages lay their icons
// out row by row, so an icon whose centre lies lower than the first icon of the current
// row starts a new row; one that lies no lower belongs to the current row.
class RowFinder {
public:
    bool startsRow(UIView *icon)
    {
        float y = float(centreOf(icon).y);
        if (!(y > m_rowY))
            return false;
        m_rowY = y;
        return true;
    }

private:
    float m_rowY = 0;
};

void setAll(UIView *page, const CATransform3D &transform)
{
    forEachSubview(page, [&](UIView *icon) { setLayerTransform(icon, transform); });
}

// Rotate: every icon spins a full turn per page width.
void spin(UIView *page, const CVScrollGeometry &g, bool clockwise)
{
    float angle = 2 * halfTurns(g.progress);
    setAll(page, CATransform3DMakeRotation(clockwise ? angle : -angle, 0, 0, 1));
}

// Stretch moves the page less far than the scroll and pulls its icons apart from the
// centre line; Compress pushes them together and leaves the page to the scroll.
void spreadSideways(UIView *page, const CVScrollGeometry &g, bool stretch)
{
    if (stretch)
        setLayerTransform(page, CATransform3DMakeTranslation(-0.4f * g.offset, 0, 0));
    float spread = stretch ? std::fabs(g.progress) : -std::fabs(g.progress);
    forEachSubview(page, [&](UIView *icon) {
        float fromCentreLine = float(centreOf(icon).x) - g.width / 2;
        setLayerTransform(icon, CATransform3DMakeTranslation(spread * fromCentreLine, 0, 0));
    });
}

// Clash gathers the icons towards the page's centre (and past it); Spread sends them
// outwards from it.
void scatter(UIView *page, const CVScrollGeometry &g, bool outwards)
{
    holdInPlace(page, g);
    float reach = outwards ? 2 * g.progress : -2 * g.progress;
    forEachSubview(page, [&](UIView *icon) {
        CGPoint centre = centreOf(icon);
        float dx = reach * (float(centre.x) - g.width / 2);
        float dy = reach * (float(centre.y) - g.height / 2);
        setLayerTransform(icon, CATransform3DMakeTranslation(dx, dy, 0));
    });
    fade(page, g);
}

// Railway: Horizontal sends alternate rows to opposite sides; Vertical sends neighbours
// in a row up and down, starting afresh at every row.
void railway(UIView *page, const CVScrollGeometry &g, bool horizontal)
{
    holdInPlace(page, g);
    // The moves of icons whose parity is 1 and of those whose parity is 0.
    const CATransform3D parityOne = horizontal ? CATransform3DMakeTranslation(-g.offset, 0, 0)
                                               : CATransform3DMakeTranslation(0, g.offset, 0);
    const CATransform3D parityZero = horizontal ? CATransform3DMakeTranslation(g.offset, 0, 0)
                                                : CATransform3DMakeTranslation(0, -g.offset, 0);
    RowFinder rows;
    bool rowParity = false, iconParity = false;
    forEachSubview(page, [&](UIView *icon) {
        if (rows.startsRow(icon)) {
            rowParity = !rowParity;
            iconParity = false;
        }
        bool parity = horizontal ? rowParity : iconParity;
        setLayerTransform(icon, parity ? parityOne : parityZero);
        iconParity = !iconParity;
    });
    fade(page, g);
}

// Magic Flip turns around the vertical axis under perspective: the whole page a quarter
// turn per page width, or every icon half a turn while the page holds still.
void magicFlip(UIView *page, const CVScrollGeometry &g, bool wholePage)
{
    const float perspective = -1.0f / 500;
    if (wholePage) {
        CATransform3D flip =
            withPerspective(CATransform3DMakeTranslation(g.offset, 0, 0), perspective);
        setLayerTransform(page, CATransform3DRotate(flip, halfTurns(g.progress) / 2, 0, 1, 0));
    } else {
        holdInPlace(page, g);
        setAll(page, CATransform3DRotate(withPerspective(CATransform3DIdentity, perspective),
                                         halfTurns(g.progress), 0, 1, 0));
    }
    fade(page, g);
}

// Pulse shrinks the icons in depth too as either page moves away from rest; Alternate
// Pulse shrinks those of the leaving page and swells those of the entering one.
void pulse(UIView *page, const CVScrollGeometry &g, bool alternate)
{
    holdInPlace(page, g);
    float scale = alternate ? 1 - g.progress : 1 - std::fabs(g.progress);
    setAll(page, CATransform3DMakeScale(scale, scale, scale));
    fade(page, g);
}

} // namespace

void CVScrollEffectRotateClockwise(UIView *page, const CVScrollGeometry &g)
{
    spin(page, g, true);
}

void CVScrollEffectRotateCounterClockwise(UIView *page, const CVScrollGeometry &g)
{
    spin(page, g, false);
}

void CVScrollEffectStretch(UIView *page, const CVScrollGeometry &g)
{
    spreadSideways(page, g, true);
}

void CVScrollEffectCompress(UIView *page, const CVScrollGeometry &g)
{
    spreadSideways(page, g, false);
}

void CVScrollEffectShrink(UIView *page, const CVScrollGeometry &g)
{
    float scale = 1 - std::fabs(g.progress);
    setAll(page, CATransform3DMakeScale(scale, scale, 1));
}

void CVScrollEffectClash(UIView *page, const CVScrollGeometry &g)
{
    scatter(page, g, false);
}

void CVScrollEffectSpread(UIView *page, const CVScrollGeometry &g)
{
    scatter(page, g, true);
}

// Every third icon, from the first, shrinks while the others swell by as much.
void CVScrollEffectBubble(UIView *page, const CVScrollGeometry &g)
{
    float grow = std::fabs(g.progress);
    const CATransform3D shrunk = CATransform3DMakeScale(1 - grow, 1 - grow, 1);
    const CATransform3D swollen = CATransform3DMakeScale(1 + grow, 1 + grow, 1);
    unsigned index = 0;
    forEachSubview(
        page, [&](UIView *icon) { setLayerTransform(icon, index++ % 3 == 0 ? shrunk : swollen); });
}

// Neighbours in the subview order spin in opposite directions, a full turn per page.
void CVScrollEffectAlternateRoll(UIView *page, const CVScrollGeometry &g)
{
    float angle = 2 * halfTurns(g.progress);
    const CATransform3D odd = CATransform3DMakeRotation(angle, 0, 0, 1);
    const CATransform3D even = CATransform3DMakeRotation(-angle, 0, 0, 1);
    unsigned index = 0;
    forEachSubview(page, [&](UIView *icon) { setLayerTransform(icon, index++ % 2 ? odd : even); });
}

// Icons right of the centre line turn one way and those on or left of it the other,
// each sliding towards the page's bottom-right corner in its own turned frame. The two
// turns are made once per call: the sines and cosines are most of an effect's cost.
void CVScrollEffectInterlace(UIView *page, const CVScrollGeometry &g)
{
    float angle = halfTurns(g.progress);
    const CATransform3D turnedRight = CATransform3DMakeRotation(angle, 0, 0, 1);
    const CATransform3D turnedLeft = CATransform3DMakeRotation(-angle, 0, 0, 1);
    forEachSubview(page, [&](UIView *icon) {
        CGPoint centre = centreOf(icon);
        bool right = float(centre.x) > g.width / 2;
        setLayerTransform(icon,
                          CATransform3DTranslate(right ? turnedRight : turnedLeft,
                                                 g.progress * (g.width - float(centre.x)),
                                                 g.progress * (g.height - float(centre.y)), 0));
    });
}

// The page holds still and its two halves tear away from the centre line, the icons
// turning as they go.
void CVScrollEffectTearApart(UIView *page, const CVScrollGeometry &g)
{
    fade(page, g);
    holdInPlace(page, g);
    float angle = halfTurns(g.progress, 0.8);
    const CATransform3D turnedRight = CATransform3DMakeRotation(angle, 0, 0, 1);
    const CATransform3D turnedLeft = CATransform3DMakeRotation(-angle, 0, 0, 1);
    float reach = std::fabs(g.progress);
    forEachSubview(page, [&](UIView *icon) {
        CGPoint centre = centreOf(icon);
        float dx = reach * (g.width - float(centre.x));
        float dy = -reach * (g.height - float(centre.y));
        if (float(centre.x) > g.width / 2)
            setLayerTransform(icon, CATransform3DTranslate(turnedRight, dx, dy, 0));
        else
            setLayerTransform(icon, CATransform3DTranslate(turnedLeft, -dx, dy, 0));
    });
}

// Alternate rows roll in opposite directions, the first row forwards.
void CVScrollEffectRollerblade(UIView *page, const CVScrollGeometry &g)
{
    float angle = halfTurns(g.progress, 0.8);
    const CATransform3D forwards = CATransform3DMakeRotation(angle, 0, 0, 1);
    const CATransform3D backwards = CATransform3DMakeRotation(-angle, 0, 0, 1);
    RowFinder rows;
    bool rowParity = false;
    forEachSubview(page, [&](UIView *icon) {
        if (rows.startsRow(icon))
            rowParity = !rowParity;
        setLayerTransform(icon, rowParity ? forwards : backwards);
    });
}

void CVScrollEffectRailwayHorizontal(UIView *page, const CVScrollGeometry &g)
{
    railway(page, g, true);
}

void CVScrollEffectRailwayVertical(UIView *page, const CVScrollGeometry &g)
{
    railway(page, g, false);
}

// Neighbours in a row part sideways, the first of every row to the left.
void CVScrollEffectAlternateShuffle(UIView *page, const CVScrollGeometry &g)
{
    holdInPlace(page, g);
    const CATransform3D right = CATransform3DMakeTranslation(g.offset, 0, 0);
    const CATransform3D left = CATransform3DMakeTranslation(-g.offset, 0, 0);
    RowFinder rows;
    bool iconParity = false;
    forEachSubview(page, [&](UIView *icon) {
        if (rows.startsRow(icon))
            iconParity = false;
        setLayerTransform(icon, iconParity ? right : left);
        iconParity = !iconParity;
    });
    fade(page, g);
}

void CVScrollEffectMagicFlipPage(UIView *page, const CVScrollGeometry &g)
{
    magicFlip(page, g, true);
}

void CVScrollEffectMagicFlipIcons(UIView *page, const CVScrollGeometry &g)
{
    magicFlip(page, g, false);
}

void CVScrollEffectPulse(UIView *page, const CVScrollGeometry &g)
{
    pulse(page, g, false);
}

void CVScrollEffectAlternatePulse(UIView *page, const CVScrollGeometry &g)
{
    pulse(page, g, true);
}

// The icons bob like boats, neighbours in opposite directions on a checkerboard whose
// first icon moves up, reaching 8 points half way across.
void CVScrollEffectSeaside(UIView *page, const CVScrollGeometry &g)
{
    float bob = 8 * std::sin(halfTurns(std::fabs(g.progress)));
    const CATransform3D down = CATransform3DMakeTranslation(0, bob, 0);
    const CATransform3D up = CATransform3DMakeTranslation(0, -bob, 0);
    RowFinder rows;
    bool rowParity = true, iconParity = true;
    forEachSubview(page, [&](UIView *icon) {
        if (rows.startsRow(icon)) {
            rowParity = !rowParity;
            iconParity = rowParity;
        }
        setLayerTransform(icon, iconParity ? down : up);
        iconParity = !iconParity;
    });
}
