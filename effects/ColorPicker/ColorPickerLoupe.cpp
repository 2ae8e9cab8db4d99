#include "effects/ColorPicker/ColorPickerLoupe.h"

#include "effects/ColorPicker/ColorPickerImages.h"
#include "foundation/NSArray.h"
#include "quartzcore/CABasicAnimation.h"
#include "uikit/UIColor.h"

#include <cmath>

namespace {

// The gap between the loupe's bottom and the selection: the marker's radius and a little.
constexpr CGFloat kLift = 15;
constexpr CGFloat kRingWidth = 3;
constexpr CGFloat kRingEdge = 1;
constexpr double kAppearSeconds = 0.15;
constexpr double kDisappearSeconds = 0.1;
// Scaling to exactly 0 would make the transform singular.
constexpr CGFloat kVanishedScale = 0.01;

NSString *appearKey()
{
    return "cp_l_appear"_ns;
}

NSString *disappearKey()
{
    return "cp_l_disappear"_ns;
}

std::size_t pixelSide(CALayer *layer)
{
    return std::size_t(std::lround(ColorPickerLoupeLayer::kSide * layer->contentsScale()));
}

StrongRef<CALayer> filling(CALayer *loupe, CGFloat scale)
{
    StrongRef<CALayer> layer = CALayer::layer();
    layer->setFrame(loupe->bounds());
    layer->setContentsScale(scale);
    loupe->addSublayer(layer);
    return layer;
}

// A scale of the loupe's transform about its anchor, starting now.
CABasicAnimation *scaleAnimation(CGFloat from, CGFloat to, double seconds, NSString *curve)
{
    CABasicAnimation *animation = CABasicAnimation::animationWithKeyPath("transform"_ns);
    animation->setFromValue(NSValue::valueWithCATransform3D(CATransform3DMakeScale(from, from, 1)));
    animation->setToValue(NSValue::valueWithCATransform3D(CATransform3DMakeScale(to, to, 1)));
    animation->setBeginTime(CACurrentMediaTime());
    animation->setDuration(seconds);
    animation->setTimingFunction(CAMediaTimingFunction::functionWithName(curve));
    return animation;
}

// The end of the disappearance, whose animation keeps the loupe alive until then: a loupe
// shown again meanwhile stays (its appearance removed this animation, which then ends
// unfinished).
void animationDidStop(ColorPickerLoupeLayer *self, SEL, id, BOOL finished)
{
    if (finished && !self->m_shown)
        self->removeFromSuperlayer();
}

const Class kRegistered = ColorPickerLoupeLayer::class_();

} // namespace

Class ColorPickerLoupeLayer::class_()
{
    static const Class cls = [] {
        CALayer::class_();
        return ClassBuilder<ColorPickerLoupeLayer>("ColorPickerLoupeLayer", "CALayer")
            .method("animationDidStop:finished:", animationDidStop)
            .registerClass();
    }();
    return cls;
}

ColorPickerLoupeLayer *ColorPickerLoupeLayer::createWithScale(CGFloat scale)
{
    auto *loupe = msg<ColorPickerLoupeLayer *>(class_(), "new"_sel);
    loupe->setBounds({{0, 0}, {kSide, kSide}});
    loupe->setAnchorPoint({0.5, 1});
    loupe->setContentsScale(scale);
    loupe->setCornerRadius(kSide / 2);
    loupe->setMasksToBounds(true);
    loupe->m_magnified = filling(loupe, scale);
    loupe->m_shade = filling(loupe, scale);
    loupe->m_shade->setBackgroundColor(UIColor::blackColor()->CGColor());
    loupe->m_ring = filling(loupe, scale);
    loupe->m_ring->setContents(
        CVRingImage(pixelSide(loupe), kRingWidth * scale, kRingEdge * scale).get());
    return loupe;
}

void ColorPickerLoupeLayer::appearIn(CALayer *parent)
{
    m_shown = true;
    if (superlayer() != parent)
        parent->addSublayer(this);
    removeAnimationForKey(disappearKey());
    addAnimationForKey(
        scaleAnimation(kVanishedScale, 1, kAppearSeconds, kCAMediaTimingFunctionEaseOut),
        appearKey());
}

void ColorPickerLoupeLayer::dismiss(bool animated)
{
    m_shown = false;
    removeAnimationForKey(appearKey());
    if (!animated || !superlayer()) {
        removeAnimationForKey(disappearKey());
        removeFromSuperlayer();
        return;
    }
    CABasicAnimation *animation =
        scaleAnimation(1, kVanishedScale, kDisappearSeconds, kCAMediaTimingFunctionEaseIn);
    animation->setDelegate(this);
    addAnimationForKey(animation, disappearKey());
}

void ColorPickerLoupeLayer::showSelection(CGPoint selection, CGImageRef wheel, CGPoint wheelPixel,
                                          CGFloat brightness, bool round)
{
    CGPoint origin = {std::round(selection.x - kSide / 2), std::round(selection.y - kLift - kSide)};
    setFrame({origin, {kSide, kSide}});
    m_magnified->setContents(
        CVMagnifiedImage(wheel, wheelPixel, pixelSide(this), kMagnification, round).get());
    m_shade->setOpacity(float(1 - brightness));
}
