// Every page-scroll effect against the geometry it describes: where points of the page
// and of every icon are drawn, and the page's alpha, at offsets from a whole page to the
// right to a whole page to the left. Expectations are closed forms in double precision
// (translations, scalings and rotations about the page or icon centre, the cube's turn
// about its hinge with the perspective divide written out), never the matrices the
// effects compose. What an effect must leave alone carries a value no effect sets and
// must still carry it afterwards: the page transform and alpha where the effect does not
// name them, and always the icons' alpha and everything inside the icons.

#include "ScrollEffectsTest.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>

namespace {

using namespace scrolltest;

// Where a point of the page (in its own coordinates) is drawn, in the same coordinates.
using PageMap = std::function<CGPoint(CGPoint point)>;
// Where the point at `fromCentre` of icon number `index`, centred at `centre`, is drawn.
using IconMap = std::function<CGPoint(int index, CGPoint centre, CGPoint fromCentre)>;

struct Expected {
    std::optional<PageMap> page;  // none: the page layer keeps the transform it had
    std::optional<IconMap> icons; // none: every icon keeps the transform it had
    std::optional<double> alpha;  // none: the page keeps the alpha it had
};

struct Case {
    CVUIScrollAnimationID identifier;
    const char *name;
    std::function<Expected(double offset)> expected;
};

// Test names and failure messages name the effect.
void PrintTo(const Case &effect, std::ostream *out)
{
    *out << effect.name;
}

double progress(double offset)
{
    return offset / kWidth;
}

double fadeAt(double offset)
{
    return 1 - std::fabs(progress(offset));
}

int rowOf(int index)
{
    return index / kColumns;
}

int columnOf(int index)
{
    return index % kColumns;
}

PageMap translatedBy(double dx, double dy)
{
    return [=](CGPoint p) { return plus(p, {dx, dy}); };
}

PageMap heldInPlace(double offset)
{
    return translatedBy(offset, 0);
}

PageMap atRest()
{
    return translatedBy(0, 0);
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

// The cube's turn: a rotation by `angle` about the vertical line through the hinge edge
// (half a width right of the centre for a leaving page, left for an entering one), seen
// with the perspective m34 = `perspective`. A point u from the hinge moves to
// hinge + u cos(angle) at depth −u sin(angle), which the perspective divides by
// 1 − perspective × u sin(angle).
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
    return [=](int index, CGPoint centre, CGPoint d) {
        return plus(centre, rotated(d, angleOf(index, centre)));
    };
}

IconMap iconsShifted(std::function<CGPoint(int index, CGPoint centre)> shiftOf)
{
    return [=](int index, CGPoint centre, CGPoint d) {
        return plus(plus(centre, d), shiftOf(index, centre));
    };
}

IconMap iconsScaled(std::function<double(int index)> scaleOf)
{
    return [=](int index, CGPoint centre, CGPoint d) {
        return plus(centre, times(scaleOf(index), d));
    };
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

bool rightOfCentreLine(CGPoint centre)
{
    return centre.x > kWidth / 2;
}

std::vector<Case> cases()
{
    return {
        {CVUIScrollAnimationRotateClockwise, "RotateClockwise",
         [](double o) {
             return Expected{
                 {}, iconsTurned([=](int, CGPoint) { return 2 * M_PI * progress(o); }), {}};
         }},
        {CVUIScrollAnimationRotateCounterClockwise, "RotateCounterClockwise",
         [](double o) {
             return Expected{
                 {}, iconsTurned([=](int, CGPoint) { return -2 * M_PI * progress(o); }), {}};
         }},
        {CVUIScrollAnimationStairwayUp, "StairwayUp",
         [](double o) {
             return Expected{translatedBy(-20 * progress(o), 80 * progress(o)), {}, {}};
         }},
        {CVUIScrollAnimationStairwayDown, "StairwayDown",
         [](double o) {
             return Expected{translatedBy(-20 * progress(o), -80 * progress(o)), {}, {}};
         }},
        {CVUIScrollAnimationLightFade, "LightFade",
         [](double o) {
             return Expected{{}, {}, fadeAt(o)};
         }},
        {CVUIScrollAnimationFadeInPlace, "FadeInPlace",
         [](double o) {
             return Expected{heldInPlace(o), {}, fadeAt(o)};
         }},
        {CVUIScrollAnimationTimeMachine, "TimeMachine",
         [](double o) {
             return Expected{scaledAboutCentre(1 + progress(o)), {}, fadeAt(o)};
         }},
        {CVUIScrollAnimationLongLeap, "LongLeap",
         [](double o) {
             return Expected{translatedBy(-o, 0), {}, {}};
         }},
        {CVUIScrollAnimationStretch, "Stretch",
         [](double o) {
             return Expected{translatedBy(-0.4 * o, 0),
                             iconsShifted([=](int, CGPoint c) {
                                 return CGPoint{std::fabs(progress(o)) * (c.x - kWidth / 2), 0};
                             }),
                             {}};
         }},
        {CVUIScrollAnimationCompress, "Compress",
         [](double o) {
             return Expected{{},
                             iconsShifted([=](int, CGPoint c) {
                                 return CGPoint{-std::fabs(progress(o)) * (c.x - kWidth / 2), 0};
                             }),
                             {}};
         }},
        {CVUIScrollAnimationShrink, "Shrink",
         [](double o) {
             return Expected{{}, iconsScaled([=](int) { return 1 - std::fabs(progress(o)); }), {}};
         }},
        {CVUIScrollAnimationVerticalScrollDown, "VerticalScrollDown",
         [](double o) {
             return Expected{translatedBy(o, o * kHeight / kWidth),
                             {},
                             o > 0 ? std::optional(fadeAt(o)) : std::nullopt};
         }},
        {CVUIScrollAnimationVerticalScrollUp, "VerticalScrollUp",
         [](double o) {
             return Expected{translatedBy(o, -o * kHeight / kWidth),
                             {},
                             o < 0 ? std::optional(fadeAt(o)) : std::nullopt};
         }},
        {CVUIScrollAnimationRollPage, "RollPage",
         [](double o) {
             return Expected{turnedAboutCentre(-M_PI * progress(o)), {}, {}};
         }},
        {CVUIScrollAnimationClash, "Clash",
         [](double o) {
             return Expected{heldInPlace(o), iconsShifted([=](int, CGPoint c) {
                                 return times(-2 * progress(o), minus(c, kPageCentre));
                             }),
                             fadeAt(o)};
         }},
        {CVUIScrollAnimationSpread, "Spread",
         [](double o) {
             return Expected{heldInPlace(o), iconsShifted([=](int, CGPoint c) {
                                 return times(2 * progress(o), minus(c, kPageCentre));
                             }),
                             fadeAt(o)};
         }},
        {CVUIScrollAnimationCubeInside, "CubeInside",
         [](double o) {
             return Expected{cubeTurn(o, -1.0 / 500, 1.0 / 3), {}, {}};
         }},
        {CVUIScrollAnimationCubeOutside, "CubeOutside",
         [](double o) {
             return Expected{cubeTurn(o, -1.0 / 750, -5.0 / 9), {}, {}};
         }},
        {CVUIScrollAnimationBubble, "Bubble",
         [](double o) {
             double grow = std::fabs(progress(o));
             return Expected{
                 {}, iconsScaled([=](int k) { return k % 3 == 0 ? 1 - grow : 1 + grow; }), {}};
         }},
        {CVUIScrollAnimationAlternateRoll, "AlternateRoll",
         [](double o) {
             return Expected{
                 {},
                 iconsTurned([=](int k, CGPoint) { return (k % 2 ? 2 : -2) * M_PI * progress(o); }),
                 {}};
         }},
        {CVUIScrollAnimationInterlace, "Interlace",
         [](double o) {
             double t = progress(o);
             return Expected{
                 {},
                 iconsTurnedAfterShift(
                     [=](CGPoint c) { return (rightOfCentreLine(c) ? 1 : -1) * M_PI * t; },
                     [=](CGPoint c) {
                         return CGPoint{t * (kWidth - c.x), t * (kHeight - c.y)};
                     }),
                 {}};
         }},
        {CVUIScrollAnimationTearApart, "TearApart",
         [](double o) {
             double reach = std::fabs(progress(o));
             return Expected{
                 heldInPlace(o),
                 iconsTurnedAfterShift(
                     [=](CGPoint c) {
                         return (rightOfCentreLine(c) ? 1 : -1) * 0.8 * M_PI * progress(o);
                     },
                     [=](CGPoint c) {
                         double side = rightOfCentreLine(c) ? 1 : -1;
                         return CGPoint{side * reach * (kWidth - c.x), -reach * (kHeight - c.y)};
                     }),
                 fadeAt(o)};
         }},
        {CVUIScrollAnimationShuffle, "Shuffle",
         [](double o) {
             return Expected{o > 0 ? translatedBy(2 * o, 0) : atRest(), {}, fadeAt(o)};
         }},
        {CVUIScrollAnimationComeInAndGoDown, "ComeInAndGoDown",
         [](double o) {
             return Expected{
                 o > 0 ? translatedBy(o, o * kHeight / kWidth) : atRest(), {}, fadeAt(o)};
         }},
        {CVUIScrollAnimationComeInAndGoUp, "ComeInAndGoUp",
         [](double o) {
             return Expected{
                 o > 0 ? translatedBy(o, -o * kHeight / kWidth) : atRest(), {}, fadeAt(o)};
         }},
        {CVUIScrollAnimationZoomIn, "ZoomIn",
         [](double o) {
             return Expected{scaledAboutCentre(1 + progress(o), o), {}, fadeAt(o)};
         }},
        {CVUIScrollAnimationZoomOut, "ZoomOut",
         [](double o) {
             return Expected{scaledAboutCentre(1 - progress(o), o), {}, fadeAt(o)};
         }},
        {CVUIScrollAnimationRollerblade, "Rollerblade",
         [](double o) {
             return Expected{{},
                             iconsTurned([=](int k, CGPoint) {
                                 return (rowOf(k) % 2 == 0 ? 0.8 : -0.8) * M_PI * progress(o);
                             }),
                             {}};
         }},
        {CVUIScrollAnimationRailwayHorizontal, "RailwayHorizontal",
         [](double o) {
             return Expected{heldInPlace(o), iconsShifted([=](int k, CGPoint) {
                                 return CGPoint{rowOf(k) % 2 == 0 ? -o : o, 0};
                             }),
                             fadeAt(o)};
         }},
        {CVUIScrollAnimationRailwayVertical, "RailwayVertical",
         [](double o) {
             return Expected{heldInPlace(o), iconsShifted([=](int k, CGPoint) {
                                 return CGPoint{0, columnOf(k) % 2 == 0 ? -o : o};
                             }),
                             fadeAt(o)};
         }},
        {CVUIScrollAnimationAlternateShuffle, "AlternateShuffle",
         [](double o) {
             return Expected{heldInPlace(o), iconsShifted([=](int k, CGPoint) {
                                 return CGPoint{columnOf(k) % 2 == 0 ? -o : o, 0};
                             }),
                             fadeAt(o)};
         }},
        {CVUIScrollAnimationMagicFlipPage, "MagicFlipPage",
         [](double o) {
             // A quarter turn about the vertical centre line per page width, then the
             // hold in place, seen with the eye 500 points away.
             double angle = M_PI * progress(o) / 2;
             PageMap flip = [=](CGPoint p) {
                 CGPoint fromCentre = minus(p, kPageCentre);
                 double w = 1 + fromCentre.x * std::sin(angle) / 500;
                 return plus(kPageCentre,
                             {(fromCentre.x * std::cos(angle) + o) / w, fromCentre.y / w});
             };
             return Expected{flip, {}, fadeAt(o)};
         }},
        {CVUIScrollAnimationMagicFlipIcons, "MagicFlipIcons",
         [](double o) {
             double angle = M_PI * progress(o);
             IconMap flip = [=](int, CGPoint centre, CGPoint d) {
                 double w = 1 + d.x * std::sin(angle) / 500;
                 return plus(centre, {d.x * std::cos(angle) / w, d.y / w});
             };
             return Expected{heldInPlace(o), flip, fadeAt(o)};
         }},
        {CVUIScrollAnimationPulse, "Pulse",
         [](double o) {
             return Expected{heldInPlace(o),
                             iconsScaled([=](int) { return 1 - std::fabs(progress(o)); }),
                             fadeAt(o)};
         }},
        {CVUIScrollAnimationAlternatePulse, "AlternatePulse",
         [](double o) {
             return Expected{heldInPlace(o), iconsScaled([=](int) { return 1 - progress(o); }),
                             fadeAt(o)};
         }},
        {CVUIScrollAnimationSeaside, "Seaside",
         [](double o) {
             double bob = 8 * std::sin(M_PI * std::fabs(progress(o)));
             return Expected{{},
                             iconsShifted([=](int k, CGPoint) {
                                 bool down = (rowOf(k) + columnOf(k)) % 2 == 1;
                                 return CGPoint{0, down ? bob : -bob};
                             }),
                             {}};
         }},
        {CVUIScrollAnimationSlideAndZoom, "SlideAndZoom",
         [](double o) {
             double t = progress(o);
             return Expected{t > 0 ? scaledAboutCentre(1 - 0.15 * t) : scaledAboutCentre(1 + t, o),
                             {},
                             fadeAt(o)};
         }},
        {CVUIScrollAnimationWindmill, "Windmill",
         [](double o) {
             // Moved by (−o/2, drop), then turned by 0.8 t radians the other way round
             // than a positive angle about z turns (the axis points away from the eye).
             double t = progress(o);
             double drop = 1.5 * (2 * kWidth - std::sqrt(4 * kWidth * kWidth - o * o));
             PageMap sail = [=](CGPoint p) {
                 CGPoint moved = plus(minus(p, kPageCentre), {-0.5 * o, drop});
                 return plus(kPageCentre, rotated(moved, -0.8 * t));
             };
             return Expected{sail, {}, std::clamp(1 - 1.5 * std::fabs(t), 0.0, 1.0)};
         }},
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

    static void expectPage(UIView *page, const Expected &expected)
    {
        if (!expected.page) {
            EXPECT_TRUE(sameTransform(transformOf(page), untouchedTransform()))
                << "the page layer was changed";
            return;
        }
        for (CGPoint p : {CGPoint{0, 0}, CGPoint{kWidth, 0}, CGPoint{0, kHeight},
                          CGPoint{kWidth, kHeight}, kPageCentre, CGPoint{80, 360}})
            EXPECT_TRUE(pointsNear(drawnPoint(page, p), (*expected.page)(p)))
                << "page point (" << p.x << ", " << p.y << ")";
    }

    static void expectIcons(UIView *page, const Expected &expected)
    {
        int index = 0;
        for (UIView *icon : subviewsOf(page)) {
            if (!expected.icons) {
                EXPECT_TRUE(sameTransform(transformOf(icon), untouchedTransform()))
                    << "icon " << index << " was changed";
            } else {
                CGPoint centre = msg<CGPoint>(icon, "center"_sel);
                for (CGPoint d :
                     {CGPoint{0, 0}, CGPoint{-30, -37}, CGPoint{30, -37}, CGPoint{30, 37}})
                    EXPECT_TRUE(
                        pointsNear(drawnIconPoint(icon, d), (*expected.icons)(index, centre, d)))
                        << "icon " << index << ", point (" << d.x << ", " << d.y
                        << ") from its centre";
            }
            EXPECT_EQ(alphaOf(icon), kUntouchedAlpha) << "icon " << index << " alpha";
            for (UIView *label : subviewsOf(icon)) {
                EXPECT_TRUE(sameTransform(transformOf(label), untouchedTransform()));
                EXPECT_EQ(alphaOf(label), kUntouchedAlpha);
            }
            ++index;
        }
    }

    static void expectAlpha(UIView *page, const Expected &expected)
    {
        if (expected.alpha)
            EXPECT_NEAR(alphaOf(page), *expected.alpha, 1e-6);
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
        Expected expected = effect.expected(offset);
        expectPage(page, expected);
        expectIcons(page, expected);
        expectAlpha(page, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryEffect, EffectGeometry, testing::ValuesIn(cases()),
                         [](const testing::TestParamInfo<Case> &info) {
                             return std::to_string(info.param.identifier) + "_" + info.param.name;
                         });

} // namespace
