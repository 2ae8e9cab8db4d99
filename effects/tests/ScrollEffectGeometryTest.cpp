// Every page-scroll effect against the geometry it describes: where points of the page and
// of every icon are drawn, and the page's alpha, from a whole page right to a whole page
// left, as closed forms in double precision. What an effect must leave alone carries a
// value no effect sets (page transform and alpha it does not name, icons' alpha, labels).

#include "ScrollEffectsTest.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>
#include <string>

namespace {

using namespace scrolltest;

// Where a point of the page (in its own coordinates) is drawn, in the same coordinates.
using PageMap = std::function<CGPoint(CGPoint point)>;
// Where the point at `fromCentre` of icon number `index`, centred at `centre`, is drawn.
using IconMap = std::function<CGPoint(int index, CGPoint centre, CGPoint fromCentre)>;

// What an effect does at a scroll offset; an empty member (nullptr) means it leaves that
// alone (the page layer's transform, every icon's transform, or the page's alpha).
struct Case {
    CVUIScrollAnimationID identifier;
    std::function<PageMap(double offset)> page = {};
    std::function<IconMap(double offset)> icons = {};
    std::function<std::optional<double>(double offset)> alpha = {};
};

// The effect's title as a test name: its letters and digits.
std::string nameOf(CVUIScrollAnimationID identifier)
{
    std::string name;
    for (char c : CVUIScrollAnimationTitle(identifier)->str())
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
    return name;
}

// The closed forms, from the progress t = offset ÷ width.
double progress(double offset)
{
    return offset / kWidth;
}

double fadeAt(double offset)
{
    return 1 - std::fabs(progress(offset));
}

std::optional<double> fadeIf(bool fading, double offset)
{
    return fading ? std::optional(fadeAt(offset)) : std::nullopt;
}

PageMap translatedBy(double dx, double dy)
{
    return [=](CGPoint p) { return plus(p, {dx, dy}); };
}

PageMap heldInPlace(double offset)
{
    return translatedBy(offset, 0);
}

// Moved with the scroll, and down (`down` = 1) or up (−1) by as much of the page's height.
PageMap slid(double offset, double down)
{
    return translatedBy(offset, down * offset * kHeight / kWidth);
}

// Scaled about the page's centre, then moved by (dx, 0).
PageMap scaledAboutCentre(double scale, double dx = 0)
{
    return [=](CGPoint p) {
        return plus(plus(kPageCentre, times(scale, minus(p, kPageCentre))), {dx, 0});
    };
}

PageMap turnedAboutCentre(double angle)
{
    return [=](CGPoint p) { return plus(kPageCentre, rotated(minus(p, kPageCentre), angle)); };
}

// The cube's turn about the vertical line through the hinge edge (half a width right of the
// centre for a leaving page, left for an entering one): a point u from the hinge moves to
// hinge + u cos(angle) at depth −u sin(angle), divided by 1 − perspective × u sin(angle).
PageMap cubeTurn(double offset, double perspective, double turnPerPage)
{
    double t = progress(offset);
    double hinge = (t > 0 ? 1 : -1) * kWidth / 2;
    double angle = M_PI * t * turnPerPage;
    return [=](CGPoint p) {
        CGPoint fromCentre = minus(p, kPageCentre);
        double u = fromCentre.x - hinge;
        double w = 1 - perspective * u * std::sin(angle);
        return plus(kPageCentre, {(hinge + u * std::cos(angle)) / w, fromCentre.y / w});
    };
}

IconMap iconsTurned(std::function<double(int index, CGPoint centre)> angleOf)
{
    return [=](int k, CGPoint centre, CGPoint d) {
        return plus(centre, rotated(d, angleOf(k, centre)));
    };
}

IconMap allTurned(double angle)
{
    return iconsTurned([=](int, CGPoint) { return angle; });
}

IconMap iconsShifted(std::function<CGPoint(int index, CGPoint centre)> shiftOf)
{
    return
        [=](int k, CGPoint centre, CGPoint d) { return plus(plus(centre, d), shiftOf(k, centre)); };
}

IconMap iconsScaled(std::function<double(int index)> scaleOf)
{
    return [=](int k, CGPoint centre, CGPoint d) { return plus(centre, times(scaleOf(k), d)); };
}

IconMap allScaled(double scale)
{
    return iconsScaled([=](int) { return scale; });
}

// Each icon moved by `factor` times its distance across from the centre line.
IconMap spreadAcross(double factor)
{
    return iconsShifted([=](int, CGPoint c) { return CGPoint{factor * (c.x - kWidth / 2), 0}; });
}

// Each icon moved by `factor` times its offset from the page's centre.
IconMap spreadFromCentre(double factor)
{
    return iconsShifted([=](int, CGPoint c) { return times(factor, minus(c, kPageCentre)); });
}

// Each icon moved by ±o across or down, the sign alternating by row or by column.
enum Alternation { ByRow, ByColumn };
enum Direction { Across, Down };
IconMap alternately(double o, Alternation alternation, Direction direction)
{
    return iconsShifted([=](int k, CGPoint) {
        double shift = (alternation == ByRow ? k / kColumns : k % kColumns) % 2 ? o : -o;
        return direction == Across ? CGPoint{shift, 0} : CGPoint{0, shift};
    });
}

// Interlace and Tear Apart: the icon moves by `shift` in its own frame, which is turned
// by `angle` about the icon's centre.
IconMap iconsTurnedAfterShift(std::function<double(CGPoint centre)> angleOf,
                              std::function<CGPoint(CGPoint centre)> shiftOf)
{
    return [=](int, CGPoint centre, CGPoint d) {
        return plus(centre, rotated(plus(d, shiftOf(centre)), angleOf(centre)));
    };
}

std::vector<Case> cases()
{
    return {
        {CVUIScrollAnimationRotateClockwise, nullptr,
         [](double o) { return allTurned(2 * M_PI * progress(o)); }},
        {CVUIScrollAnimationRotateCounterClockwise, nullptr,
         [](double o) { return allTurned(-2 * M_PI * progress(o)); }},
        {CVUIScrollAnimationStairwayUp,
         [](double o) { return translatedBy(-20 * progress(o), 80 * progress(o)); }},
        {CVUIScrollAnimationStairwayDown,
         [](double o) { return translatedBy(-20 * progress(o), -80 * progress(o)); }},
        {CVUIScrollAnimationLightFade, {}, {}, fadeAt},
        {CVUIScrollAnimationFadeInPlace, heldInPlace, {}, fadeAt},
        {CVUIScrollAnimationTimeMachine,
         [](double o) { return scaledAboutCentre(1 + progress(o)); }, nullptr, fadeAt},
        {CVUIScrollAnimationLongLeap, [](double o) { return translatedBy(-o, 0); }},
        {CVUIScrollAnimationStretch, [](double o) { return translatedBy(-0.4 * o, 0); },
         [](double o) { return spreadAcross(std::fabs(progress(o))); }},
        {CVUIScrollAnimationCompress, nullptr,
         [](double o) { return spreadAcross(-std::fabs(progress(o))); }},
        {CVUIScrollAnimationShrink, nullptr,
         [](double o) { return allScaled(1 - std::fabs(progress(o))); }},
        {CVUIScrollAnimationVerticalScrollDown, [](double o) { return slid(o, 1); }, nullptr,
         [](double o) { return fadeIf(o > 0, o); }},
        {CVUIScrollAnimationVerticalScrollUp, [](double o) { return slid(o, -1); }, nullptr,
         [](double o) { return fadeIf(o < 0, o); }},
        {CVUIScrollAnimationRollPage,
         [](double o) { return turnedAboutCentre(-M_PI * progress(o)); }},
        {CVUIScrollAnimationClash, heldInPlace,
         [](double o) { return spreadFromCentre(-2 * progress(o)); }, fadeAt},
        {CVUIScrollAnimationSpread, heldInPlace,
         [](double o) { return spreadFromCentre(2 * progress(o)); }, fadeAt},
        {CVUIScrollAnimationCubeInside, [](double o) { return cubeTurn(o, -1.0 / 500, 1.0 / 3); }},
        {CVUIScrollAnimationCubeOutside,
         [](double o) { return cubeTurn(o, -1.0 / 750, -5.0 / 9); }},
        {CVUIScrollAnimationBubble, nullptr,
         [](double o) {
             double grow = std::fabs(progress(o));
             return iconsScaled([=](int k) { return k % 3 == 0 ? 1 - grow : 1 + grow; });
         }},
        {CVUIScrollAnimationAlternateRoll, nullptr,
         [](double o) {
             return iconsTurned(
                 [=](int k, CGPoint) { return (k % 2 ? 2 : -2) * M_PI * progress(o); });
         }},
        {CVUIScrollAnimationInterlace, nullptr,
         [](double o) {
             double t = progress(o);
             return iconsTurnedAfterShift(
                 [=](CGPoint c) { return (c.x > kWidth / 2 ? 1 : -1) * M_PI * t; },
                 [=](CGPoint c) {
                     return CGPoint{t * (kWidth - c.x), t * (kHeight - c.y)};
                 });
         }},
        {CVUIScrollAnimationTearApart, heldInPlace,
         [](double o) {
             double t = progress(o), reach = std::fabs(t);
             return iconsTurnedAfterShift(
                 [=](CGPoint c) { return (c.x > kWidth / 2 ? 1 : -1) * 0.8 * M_PI * t; },
                 [=](CGPoint c) {
                     double side = c.x > kWidth / 2 ? 1 : -1;
                     return CGPoint{side * reach * (kWidth - c.x), -reach * (kHeight - c.y)};
                 });
         },
         fadeAt},
        {CVUIScrollAnimationShuffle, [](double o) { return translatedBy(2 * std::max(o, 0.0), 0); },
         nullptr, fadeAt},
        {CVUIScrollAnimationComeInAndGoDown, [](double o) { return slid(std::max(o, 0.0), 1); },
         nullptr, fadeAt},
        {CVUIScrollAnimationComeInAndGoUp, [](double o) { return slid(std::max(o, 0.0), -1); },
         nullptr, fadeAt},
        {CVUIScrollAnimationZoomIn, [](double o) { return scaledAboutCentre(1 + progress(o), o); },
         nullptr, fadeAt},
        {CVUIScrollAnimationZoomOut, [](double o) { return scaledAboutCentre(1 - progress(o), o); },
         nullptr, fadeAt},
        {CVUIScrollAnimationRollerblade, nullptr,
         [](double o) {
             return iconsTurned([=](int k, CGPoint) {
                 return (k / kColumns % 2 == 0 ? 0.8 : -0.8) * M_PI * progress(o);
             });
         }},
        {CVUIScrollAnimationRailwayHorizontal, heldInPlace,
         [](double o) { return alternately(o, ByRow, Across); }, fadeAt},
        {CVUIScrollAnimationRailwayVertical, heldInPlace,
         [](double o) { return alternately(o, ByColumn, Down); }, fadeAt},
        {CVUIScrollAnimationAlternateShuffle, heldInPlace,
         [](double o) { return alternately(o, ByColumn, Across); }, fadeAt},
        // A quarter turn about the vertical centre line per page width, then the hold in
        // place, seen with the eye 500 points away.
        {CVUIScrollAnimationMagicFlipPage,
         [](double o) -> PageMap {
             double angle = M_PI * progress(o) / 2;
             return [=](CGPoint p) {
                 CGPoint fromCentre = minus(p, kPageCentre);
                 double w = 1 + fromCentre.x * std::sin(angle) / 500;
                 return plus(kPageCentre,
                             {(fromCentre.x * std::cos(angle) + o) / w, fromCentre.y / w});
             };
         },
         nullptr, fadeAt},
        {CVUIScrollAnimationMagicFlipIcons, heldInPlace,
         [](double o) -> IconMap {
             double angle = M_PI * progress(o);
             return [=](int, CGPoint centre, CGPoint d) {
                 double w = 1 + d.x * std::sin(angle) / 500;
                 return plus(centre, {d.x * std::cos(angle) / w, d.y / w});
             };
         },
         fadeAt},
        {CVUIScrollAnimationPulse, heldInPlace,
         [](double o) { return allScaled(1 - std::fabs(progress(o))); }, fadeAt},
        {CVUIScrollAnimationAlternatePulse, heldInPlace,
         [](double o) { return allScaled(1 - progress(o)); }, fadeAt},
        {CVUIScrollAnimationSeaside, nullptr,
         [](double o) {
             double bob = 8 * std::sin(M_PI * std::fabs(progress(o)));
             return iconsShifted([=](int k, CGPoint) {
                 return CGPoint{0, (k / kColumns + k % kColumns) % 2 ? bob : -bob};
             });
         }},
        {CVUIScrollAnimationSlideAndZoom,
         [](double o) {
             double t = progress(o);
             return t > 0 ? scaledAboutCentre(1 - 0.15 * t) : scaledAboutCentre(1 + t, o);
         },
         nullptr, fadeAt},
        // Moved by (−o/2, drop), then turned by 0.8 t radians the other way round than a
        // positive angle about z turns (the axis points away from the eye).
        {CVUIScrollAnimationWindmill,
         [](double o) -> PageMap {
             double drop = 1.5 * (2 * kWidth - std::sqrt(4 * kWidth * kWidth - o * o));
             return [=](CGPoint p) {
                 CGPoint moved = plus(minus(p, kPageCentre), {-0.5 * o, drop});
                 return plus(kPageCentre, rotated(moved, -0.8 * progress(o)));
             };
         },
         nullptr, [](double o) { return std::clamp(1 - 1.5 * std::fabs(progress(o)), 0.0, 1.0); }},
    };
}

class EffectGeometry : public ScrollEffectsTest, public testing::WithParamInterface<Case> {
protected:
    // Gives the page, its icons and their labels values that no effect sets.
    static void markUntouched(UIView *page)
    {
        setTransformOf(page, untouchedTransform());
        setAlphaOf(page, kUntouchedAlpha);
        for (UIView *icon : subviewsOf(page)) {
            setTransformOf(icon, untouchedTransform());
            setAlphaOf(icon, kUntouchedAlpha);
            for (UIView *label : subviewsOf(icon)) {
                setTransformOf(label, untouchedTransform());
                setAlphaOf(label, kUntouchedAlpha);
            }
        }
    }

    static void expectPage(UIView *page, const Case &effect, double offset)
    {
        if (!effect.page) {
            EXPECT_TRUE(CATransform3DEqualToTransform(transformOf(page), untouchedTransform()))
                << "the page layer was changed";
            return;
        }
        for (CGPoint p : {CGPoint{0, 0}, CGPoint{kWidth, 0}, CGPoint{0, kHeight},
                          CGPoint{kWidth, kHeight}, kPageCentre, CGPoint{80, 360}})
            EXPECT_TRUE(pointsNear(drawnPoint(page, p), effect.page(offset)(p)))
                << "page point (" << p.x << ", " << p.y << ")";
    }

    static void expectIcons(UIView *page, const Case &effect, double offset)
    {
        int index = 0;
        for (UIView *icon : subviewsOf(page)) {
            if (!effect.icons) {
                EXPECT_TRUE(CATransform3DEqualToTransform(transformOf(icon), untouchedTransform()))
                    << "icon " << index << " was changed";
            } else {
                CGPoint centre = msg<CGPoint>(icon, "center"_sel);
                for (CGPoint d :
                     {CGPoint{0, 0}, CGPoint{-30, -37}, CGPoint{30, -37}, CGPoint{30, 37}})
                    EXPECT_TRUE(
                        pointsNear(drawnIconPoint(icon, d), effect.icons(offset)(index, centre, d)))
                        << "icon " << index << ", point (" << d.x << ", " << d.y
                        << ") from its centre";
            }
            EXPECT_EQ(alphaOf(icon), kUntouchedAlpha) << "icon " << index << " alpha";
            for (UIView *label : subviewsOf(icon)) {
                EXPECT_TRUE(
                    CATransform3DEqualToTransform(transformOf(label), untouchedTransform()));
                EXPECT_EQ(alphaOf(label), kUntouchedAlpha);
            }
            ++index;
        }
    }

    static void expectAlpha(UIView *page, const Case &effect, double offset)
    {
        std::optional<double> alpha = effect.alpha ? effect.alpha(offset) : std::nullopt;
        if (alpha)
            EXPECT_NEAR(alphaOf(page), *alpha, 1e-6);
        else
            EXPECT_EQ(alphaOf(page), kUntouchedAlpha) << "the page alpha was changed";
    }
};

TEST_P(EffectGeometry, DrawsThePageAndItsIconsWhereTheEffectDescribes)
{
    const Case &effect = GetParam();
    CVUIScrollAnimationFunction function = CVUIScrollAnimationForID(effect.identifier);
    ASSERT_NE(function, nullptr);
    std::vector<UIView *> pages = subviewsOf(makeHomeScreen());
    for (double offset : kOffsets) {
        SCOPED_TRACE("offset " + std::to_string(offset));
        // A page coming in from the right is the right-hand page of the swipe.
        UIView *page = offset < 0 ? pages[1] : pages[0];
        markUntouched(page);
        function(page, float(offset), kSize);
        expectPage(page, effect, offset);
        expectIcons(page, effect, offset);
        expectAlpha(page, effect, offset);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryEffect, EffectGeometry, testing::ValuesIn(cases()),
                         [](const testing::TestParamInfo<Case> &info) {
                             return std::to_string(info.param.identifier) + "_" +
                                    nameOf(info.param.identifier);
                         });

} // namespace
