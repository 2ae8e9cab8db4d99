#include "effects/CVScrollAnimations.h"

#include "effects/CVScrollEffects.h"
#include "foundation/NSString.h"
#include "uikit/UIScrollView.h"

#include <array>
#include <stdlib.h>

namespace {

// The effect as callers see it: the geometry of the call is formed once here, and an
// effect runs only when it is measurable.
template <CVScrollEffect Effect> void measured(UIView *page, float offset, const CGSize &size)
{
    CVScrollGeometry geometry(offset, size);
    if (geometry.isMeasurable())
        Effect(page, geometry);
}

struct Entry {
    const char *title;
    CVUIScrollAnimationFunction function;
};

// Indexed by identifier, in the order the settings panel lists the titles.
constexpr std::array<Entry, CVUIScrollAnimationCount> kTable = {{
    {"None", nullptr},
    {"Rotate (Clockwise)", measured<CVScrollEffectRotateClockwise>},
    {"Rotate (Counter Clockwise)", measured<CVScrollEffectRotateCounterClockwise>},
    {"Stairway Up", measured<CVScrollEffectStairwayUp>},
    {"Stairway Down", measured<CVScrollEffectStairwayDown>},
    {"Light Fade", measured<CVScrollEffectLightFade>},
    {"Fade In Place", measured<CVScrollEffectFadeInPlace>},
    {"Time Machine", measured<CVScrollEffectTimeMachine>},
    {"Long Leap", measured<CVScrollEffectLongLeap>},
    {"Stretch", measured<CVScrollEffectStretch>},
    {"Compress", measured<CVScrollEffectCompress>},
    {"Shrink", measured<CVScrollEffectShrink>},
    {"Vertical Scroll (Down)", measured<CVScrollEffectVerticalScrollDown>},
    {"Vertical Scroll (Up)", measured<CVScrollEffectVerticalScrollUp>},
    {"Roll Page", measured<CVScrollEffectRollPage>},
    {"Clash", measured<CVScrollEffectClash>},
    {"Spread", measured<CVScrollEffectSpread>},
    {"Cube (Inside)", measured<CVScrollEffectCubeInside>},
    {"Cube (Outside)", measured<CVScrollEffectCubeOutside>},
    {"Bubble", measured<CVScrollEffectBubble>},
    {"Alternate Roll", measured<CVScrollEffectAlternateRoll>},
    {"Interlace", measured<CVScrollEffectInterlace>},
    {"Tear Apart", measured<CVScrollEffectTearApart>},
    {"Shuffle", measured<CVScrollEffectShuffle>},
    {"Come In and Go Down", measured<CVScrollEffectComeInAndGoDown>},
    {"Come In and Go Up", measured<CVScrollEffectComeInAndGoUp>},
    {"Zoom In", measured<CVScrollEffectZoomIn>},
    {"Zoom Out", measured<CVScrollEffectZoomOut>},
    {"Rollerblade", measured<CVScrollEffectRollerblade>},
    {"Railway (Horizontal)", measured<CVScrollEffectRailwayHorizontal>},
    {"Railway (Vertical)", measured<CVScrollEffectRailwayVertical>},
    {"Alternate Shuffle", measured<CVScrollEffectAlternateShuffle>},
    {"Magic Flip (Page)", measured<CVScrollEffectMagicFlipPage>},
    {"Magic Flip (Icons)", measured<CVScrollEffectMagicFlipIcons>},
    {"Pulse", measured<CVScrollEffectPulse>},
    {"Alternate Pulse", measured<CVScrollEffectAlternatePulse>},
    {"Seaside", measured<CVScrollEffectSeaside>},
    {"Slide and Zoom", measured<CVScrollEffectSlideAndZoom>},
    {"Windmill", measured<CVScrollEffectWindmill>},
}};

// The titles as the panel shows them, made on first use and kept for the life of the
// process; the last one is "Random".
const std::array<NSString *, CVUIScrollAnimationCount + 1> &titleStrings()
{
    static const std::array<NSString *, CVUIScrollAnimationCount + 1> strings = [] {
        std::array<NSString *, CVUIScrollAnimationCount + 1> made{};
        for (std::size_t i = 0; i < kTable.size(); ++i)
            made[i] = sim_constantString(kTable[i].title);
        made.back() = sim_constantString("Random");
        return made;
    }();
    return strings;
}

void returnToRest(UIView *view)
{
    CVScrollSteps::setLayerTransform(view, CATransform3DIdentity);
    CVScrollSteps::setAlpha(view, 1);
}

} // namespace

CVUIScrollAnimationFunction CVUIScrollAnimationForID(CVUIScrollAnimationID identifier)
{
    return identifier < kTable.size() ? kTable[identifier].function : nullptr;
}

CVUIScrollAnimationFunction CVUIRandomScrollAnimation()
{
    return kTable[arc4random() % (CVUIScrollAnimationCount - 1) + 1].function;
}

void CVUIResetScrollAnimations(UIScrollView *scrollView)
{
    CVScrollSteps::forEachSubview(scrollView, [](UIView *page) {
        returnToRest(page);
        CVScrollSteps::forEachSubview(page, returnToRest);
    });
}

NSString *CVUIScrollAnimationTitle(CVUIScrollAnimationID identifier)
{
    if (identifier < kTable.size())
        return titleStrings()[identifier];
    return identifier == CVUIScrollAnimationRandom ? titleStrings().back() : nil;
}
