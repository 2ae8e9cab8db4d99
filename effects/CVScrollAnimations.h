#pragma once
// Page-scroll effects: what the home screen pages do while the user swipes between them.
//
// An effect is a plain function of one page and that page's offset. The offset is
// page-relative: content offset x − page number × scroll-view width. It is 0 while the
// page is exactly in view, grows positive as the page leaves to the left and runs from
// −width up to 0 while a page enters from the right. Every effect works with the
// progress t = offset ÷ width, from −1 through 0 to +1 across the two pages of a swipe.
//
// An effect builds its transforms from scratch on every call and changes nothing but the
// page's alpha, its layer's transform and the layer transforms of its direct subviews
// (the icon views); it keeps nothing between calls, so the caller may call it for any
// page at any offset. When scrolling stops, CVUIResetScrollAnimations returns every page
// to rest. The engine itself is stateless: one constant table maps identifiers to
// effects and titles.

#include "quartzcore/CGGeometry.h"

#include <cstdint>

struct UIView;
struct UIScrollView;
struct NSString;

// The value of the CVAnimations key "scrollAnimationType".
using CVUIScrollAnimationID = std::uint32_t;
enum : CVUIScrollAnimationID {
    CVUIScrollAnimationNone = 0,
    CVUIScrollAnimationRotateClockwise = 1,
    CVUIScrollAnimationRotateCounterClockwise = 2,
    CVUIScrollAnimationStairwayUp = 3,
    CVUIScrollAnimationStairwayDown = 4,
    CVUIScrollAnimationLightFade = 5,
    CVUIScrollAnimationFadeInPlace = 6,
    CVUIScrollAnimationTimeMachine = 7,
    CVUIScrollAnimationLongLeap = 8,
    CVUIScrollAnimationStretch = 9,
    CVUIScrollAnimationCompress = 10,
    CVUIScrollAnimationShrink = 11,
    CVUIScrollAnimationVerticalScrollDown = 12,
    CVUIScrollAnimationVerticalScrollUp = 13,
    CVUIScrollAnimationRollPage = 14,
    CVUIScrollAnimationClash = 15,
    CVUIScrollAnimationSpread = 16,
    CVUIScrollAnimationCubeInside = 17,
    CVUIScrollAnimationCubeOutside = 18,
    CVUIScrollAnimationBubble = 19,
    CVUIScrollAnimationAlternateRoll = 20,
    CVUIScrollAnimationInterlace = 21,
    CVUIScrollAnimationTearApart = 22,
    CVUIScrollAnimationShuffle = 23,
    CVUIScrollAnimationComeInAndGoDown = 24,
    CVUIScrollAnimationComeInAndGoUp = 25,
    CVUIScrollAnimationZoomIn = 26,
    CVUIScrollAnimationZoomOut = 27,
    CVUIScrollAnimationRollerblade = 28,
    CVUIScrollAnimationRailwayHorizontal = 29,
    CVUIScrollAnimationRailwayVertical = 30,
    CVUIScrollAnimationAlternateShuffle = 31,
    CVUIScrollAnimationMagicFlipPage = 32,
    CVUIScrollAnimationMagicFlipIcons = 33,
    CVUIScrollAnimationPulse = 34,
    CVUIScrollAnimationAlternatePulse = 35,
    CVUIScrollAnimationSeaside = 36,
    CVUIScrollAnimationSlideAndZoom = 37,
    CVUIScrollAnimationWindmill = 38,
    // Not an index: the caller resolves it with CVUIRandomScrollAnimation.
    CVUIScrollAnimationRandom = 263279764,
};
inline constexpr CVUIScrollAnimationID CVUIScrollAnimationCount = 39; // table entries 0...38

// One effect: the page view, its offset in points and the scroll view's frame size.
using CVUIScrollAnimationFunction = void (*)(UIView *page, float offset, const CGSize &size);

// The effect of an identifier; null for None (0) and for every value above 38, Random
// included.
CVUIScrollAnimationFunction CVUIScrollAnimationForID(CVUIScrollAnimationID identifier);

// One of the 38 effects, each equally likely, drawn afresh on every call; never null.
CVUIScrollAnimationFunction CVUIRandomScrollAnimation();

// Returns every page of the scroll view (each direct subview, whatever its class) and
// every icon of those pages (their direct subviews) to rest: identity layer transform,
// alpha 1. Nothing deeper and nothing else is changed.
void CVUIResetScrollAnimations(UIScrollView *scrollView);

// The title the settings show: "None" ... "Windmill" for 0...38, "Random" for
// CVUIScrollAnimationRandom, nil for any other value. A constant string (never released).
NSString *CVUIScrollAnimationTitle(CVUIScrollAnimationID identifier);
