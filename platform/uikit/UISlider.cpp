#include "uikit/UISlider.h"

#include "uikit/ControlParts.h"
#include "uikit/UIGraphics.h"
#include "uikit/UITouch.h"

#include <algorithm>
#include <cmath>

namespace {

// How far beside the thumb a finger still takes it.
constexpr CGFloat kThumbGrabMargin = 10;

float clampedValue(const UISlider *slider, float value)
{
    return std::clamp(value, slider->m_minimumValue, slider->m_maximumValue);
}

void placeThumb(UISlider *slider)
{
    CGRect bounds = slider->bounds();
    msg<void, CGPoint>(slider->m_thumbView, "setCenter:"_sel,
                       CGPoint{slider->xForValue(slider->m_value), CGRectGetMidY(bounds)});
    msg<void>(slider, "setNeedsDisplay"_sel);
}

// Stores a value (clamped) and shows it; true when it changed. Not-a-number is no value
// at all and leaves the slider as it is.
bool storeValue(UISlider *slider, float value)
{
    if (std::isnan(value))
        return false;
    float clamped = clampedValue(slider, value);
    bool changed = clamped != slider->m_value;
    slider->m_value = clamped;
    placeThumb(slider);
    return changed;
}

// The value under the finger, keeping the offset at which it took the thumb.
float valueUnderFinger(UISlider *slider, UITouch *touch)
{
    return slider->valueForX(touch->locationInView(slider).x - slider->m_grabOffset);
}

namespace imp {

id initWithFrame(UISlider *self, SEL _cmd, CGRect frame)
{
    self->m_thumbView =
        sim::makeFilledView({0, 0, UISlider::kThumbDiameter, UISlider::kThumbDiameter},
                            UIColor::colorWithWhiteAlpha(0.8, 1), UISlider::kThumbDiameter / 2);
    CGFloat face = UISlider::kThumbDiameter - 1;
    msg<void, UIView *>(
        self->m_thumbView, "addSubview:"_sel,
        sim::makeFilledView({0.5, 0.5, face, face}, UIColor::whiteColor(), face / 2));
    msgSuper<id, CGRect>(UISlider::class_(), self, _cmd, frame);
    msg<void, UIView *>(self, "addSubview:"_sel, self->m_thumbView);
    return self;
}

void layoutSubviews(UISlider *self, SEL)
{
    placeThumb(self);
}

float value(UISlider *self, SEL)
{
    return self->m_value;
}

void setValue(UISlider *self, SEL, float value)
{
    storeValue(self, value);
}

void setValueAnimated(UISlider *self, SEL, float value, BOOL)
{
    msg<void, float>(self, "setValue:"_sel, value);
}

// A range whose ends cross moves the other end along, so the range is never empty.
void setMinimumValue(UISlider *self, SEL, float minimum)
{
    self->m_minimumValue = minimum;
    self->m_maximumValue = std::max(self->m_maximumValue, minimum);
    storeValue(self, self->m_value);
}

void setMaximumValue(UISlider *self, SEL, float maximum)
{
    self->m_maximumValue = maximum;
    self->m_minimumValue = std::min(self->m_minimumValue, maximum);
    storeValue(self, self->m_value);
}

void setContinuous(UISlider *self, SEL, BOOL continuous)
{
    self->m_continuous = continuous;
}

UIColor *minimumTrackTintColor(UISlider *self, SEL)
{
    return self->m_minimumTrackTintColor ? self->m_minimumTrackTintColor.get()
                                         : sim::defaultTintColor();
}

void setMinimumTrackTintColor(UISlider *self, SEL, UIColor *color)
{
    self->m_minimumTrackTintColor = color;
    msg<void>(self, "setNeedsDisplay"_sel);
}

UIColor *maximumTrackTintColor(UISlider *self, SEL)
{
    return self->m_maximumTrackTintColor ? self->m_maximumTrackTintColor.get()
                                         : UIColor::colorWithWhiteAlpha(0.72, 1);
}

void setMaximumTrackTintColor(UISlider *self, SEL, UIColor *color)
{
    self->m_maximumTrackTintColor = color;
    msg<void>(self, "setNeedsDisplay"_sel);
}

BOOL beginTracking(UISlider *self, SEL, UITouch *touch, UIEvent *)
{
    CGPoint location = touch->locationInView(self);
    CGRect grabArea = CGRectInset(self->m_thumbView->frame(), -kThumbGrabMargin, -kThumbGrabMargin);
    if (!CGRectContainsPoint(grabArea, location))
        return NO;
    self->m_grabOffset = location.x - self->xForValue(self->m_value);
    self->m_valueAtTouchStart = self->m_value;
    return YES;
}

BOOL continueTracking(UISlider *self, SEL, UITouch *touch, UIEvent *event)
{
    if (storeValue(self, valueUnderFinger(self, touch)) && self->m_continuous)
        self->sendActionsForEvents(UIControlEventValueChanged, event);
    return YES;
}

void endTracking(UISlider *self, SEL, UITouch *touch, UIEvent *event)
{
    bool changed = storeValue(self, valueUnderFinger(self, touch));
    if (self->m_continuous ? changed : self->m_value != self->m_valueAtTouchStart)
        self->sendActionsForEvents(UIControlEventValueChanged, event);
}

void cancelTracking(UISlider *self, SEL, UIEvent *event)
{
    if (!self->m_continuous && self->m_value != self->m_valueAtTouchStart)
        self->sendActionsForEvents(UIControlEventValueChanged, event);
}

// The part of the track below the value in the minimum tint, the rest in the maximum.
void drawRect(UISlider *self, SEL, CGRect)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    CGRect track = self->trackRect();
    CGFloat split = self->xForValue(self->m_value);
    CGRect below = {track.origin.x, track.origin.y, split - track.origin.x, track.size.height};
    CGRect above = {split, track.origin.y, CGRectGetMaxX(track) - split, track.size.height};
    CGContextSetFillColorWithColor(context,
                                   msg<UIColor *>(self, "minimumTrackTintColor"_sel)->CGColor());
    CGContextFillRect(context, below);
    CGContextSetFillColorWithColor(context,
                                   msg<UIColor *>(self, "maximumTrackTintColor"_sel)->CGColor());
    CGContextFillRect(context, above);
}

} // namespace imp

const Class kRegistered = UISlider::class_();

} // namespace

Class UISlider::class_()
{
    static const Class cls = [] {
        UIControl::class_();
        return ClassBuilder<UISlider>("UISlider", "UIControl")
            .method("initWithFrame:", imp::initWithFrame)
            .method("layoutSubviews", imp::layoutSubviews)
            .method("value", imp::value)
            .method("setValue:", imp::setValue)
            .method("setValue:animated:", imp::setValueAnimated)
            .getter<&UISlider::m_minimumValue>("minimumValue")
            .method("setMinimumValue:", imp::setMinimumValue)
            .getter<&UISlider::m_maximumValue>("maximumValue")
            .method("setMaximumValue:", imp::setMaximumValue)
            .getter<&UISlider::m_continuous>("isContinuous")
            .method("setContinuous:", imp::setContinuous)
            .method("minimumTrackTintColor", imp::minimumTrackTintColor)
            .method("setMinimumTrackTintColor:", imp::setMinimumTrackTintColor)
            .method("maximumTrackTintColor", imp::maximumTrackTintColor)
            .method("setMaximumTrackTintColor:", imp::setMaximumTrackTintColor)
            .method("beginTrackingWithTouch:withEvent:", imp::beginTracking)
            .method("continueTrackingWithTouch:withEvent:", imp::continueTracking)
            .method("endTrackingWithTouch:withEvent:", imp::endTracking)
            .method("cancelTrackingWithEvent:", imp::cancelTracking)
            .method("drawRect:", imp::drawRect)
            .registerClass();
    }();
    return cls;
}

CGRect UISlider::trackRect() const
{
    CGRect bounds = this->bounds();
    CGFloat inset = kThumbDiameter / 2;
    CGFloat width = std::max<CGFloat>(0, bounds.size.width - 2 * inset);
    return {bounds.origin.x + inset, CGRectGetMidY(bounds) - kTrackHeight / 2, width, kTrackHeight};
}

float UISlider::valueForX(CGFloat x) const
{
    CGRect track = trackRect();
    if (track.size.width <= 0)
        return m_minimumValue;
    CGFloat fraction = std::clamp<CGFloat>((x - track.origin.x) / track.size.width, 0, 1);
    return clampedValue(this, m_minimumValue + fraction * (m_maximumValue - m_minimumValue));
}

CGFloat UISlider::xForValue(float value) const
{
    CGRect track = trackRect();
    float range = m_maximumValue - m_minimumValue;
    CGFloat fraction = range > 0 ? (value - m_minimumValue) / range : 0;
    return track.origin.x + fraction * track.size.width;
}
