#include "effects/ColorPicker/ColorPickerLoupe.h"

#include "effects/ColorPicker/ColorPickerImages.h"
#include "foundation/Clock.h"
#include "foundation/NSArray.h"
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

const char *const kAppearKey = "cp_l_appear";
const char *const kDisappearKey = "cp_l_disappear";

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

sim::LayerAnimation scaleAnimation(CGFloat from, CGFloat to, double seconds, sim::TimingCurve curve,
                                   const char *key)
{
    sim::LayerAnimation animation;
    animation.property = sim::AnimatedProperty::Transform;
    animation.from = CATransform3DMakeScale(from, from, 1);
    animation.to = CATransform3DMakeScale(to, to, 1);
    animation.beginTime = sim::now();
    animation.duration = seconds;
    animation.curve = curve;
    animation.key = key;
    return animation;
}

const Class kRegistered = ColorPickerLoupeLayer::class_();

} // namespace

Class ColorPickerLoupeLayer::class_()
{
    static const Class cls = [] {
        CALayer::class_();
        return ClassBuilder<ColorPickerLoupeLayer>("ColorPickerLoupeLayer", "CALayer")
            .registerClass();
    }();
    return cls;
}

ColorPickerLoupeLayer *ColorPickerLoupeLayer::createWithScale(CGFloat scale)
{
    auto *loupe = sim::create<ColorPickerLoupeLayer>(class_());
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
    removeAnimationForKey(kDisappearKey);
    addAnimation(
        scaleAnimation(kVanishedScale, 1, kAppearSeconds, sim::TimingCurve::EaseOut, kAppearKey));
}

void ColorPickerLoupeLayer::dismiss(bool animated)
{
    m_shown = false;
    removeAnimationForKey(kAppearKey);
    if (!animated || !superlayer()) {
        removeAnimationForKey(kDisappearKey);
        removeFromSuperlayer();
        return;
    }
    sim::LayerAnimation animation = scaleAnimation(1, kVanishedScale, kDisappearSeconds,
                                                   sim::TimingCurve::EaseIn, kDisappearKey);
    // The animation keeps the loupe alive until it ends; a loupe shown again meanwhile
    // stays (its appearance removes this animation, which then ends unfinished).
    animation.completion = [this](bool finished) {
        if (finished && !m_shown)
            removeFromSuperlayer();
    };
    addAnimation(std::move(animation));
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
