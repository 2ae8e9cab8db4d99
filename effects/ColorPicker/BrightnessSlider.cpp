#include "effects/ColorPicker/BrightnessSlider.h"

#include "uikit/UIGraphics.h"

#include <cmath>

namespace {

using Self = BrightnessSlider;

namespace imp {

id initWithFrame(Self *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(BrightnessSlider::class_(), self, _cmd, frame))
        return nil;
    msg<void, float>(self, "setMinimumValue:"_sel, 0);
    msg<void, float>(self, "setMaximumValue:"_sel, 1);
    msg<void, BOOL>(self, "setContinuous:"_sel, YES);
    msg<void, BOOL>(self, "setEnabled:"_sel, YES);
    msg<void, id, SEL, UIControlEvents>(self, "addTarget:action:forControlEvents:"_sel, self,
                                        "brightnessChanged:"_sel, UIControlEventValueChanged);
    return self;
}

ColorPickerView *colorPicker(Self *self, SEL)
{
    return self->m_colorPicker;
}

void setColorPicker(Self *self, SEL, ColorPickerView *picker)
{
    self->m_colorPicker = picker;
    if (picker)
        msg<void, float>(self, "setValue:"_sel, float(msg<CGFloat>(picker, "brightness"_sel)));
}

void brightnessChanged(Self *self, SEL, id)
{
    msg<void, CGFloat>(self->m_colorPicker, "setBrightness:"_sel, msg<float>(self, "value"_sel));
}

void touchesEnded(Self *self, SEL _cmd, NSSet *touches, UIEvent *event)
{
    msgSuper<void, NSSet *, UIEvent *>(BrightnessSlider::class_(), self, _cmd, touches, event);
    ColorPickerView *picker = self->m_colorPicker;
    id delegate = picker ? picker->m_delegate : nil;
    SEL ended = "colorPicker:touchesEnded:withEvent:"_sel;
    if (delegate && msg<BOOL>(delegate, "respondsToSelector:"_sel, ended))
        msg<void, id, NSSet *, UIEvent *>(delegate, ended, picker, nil, nil);
}

// One fill per pixel column, its grey the column's middle as a fraction of the width.
void drawRect(Self *self, SEL, CGRect)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    CGRect bounds = self->bounds();
    CGFloat scale = self->layer()->contentsScale();
    auto columns = long(std::ceil(bounds.size.width * scale));
    for (long column = 0; column < columns; ++column) {
        CGFloat x = CGFloat(column) / scale;
        CGFloat white = (CGFloat(column) + 0.5) / CGFloat(columns);
        CGContextSetRGBFillColor(context, white, white, white, 1);
        CGContextFillRect(context,
                          {bounds.origin.x + x, bounds.origin.y, 1 / scale, bounds.size.height});
    }
}

} // namespace imp

const Class kRegistered = BrightnessSlider::class_();

} // namespace

Class BrightnessSlider::class_()
{
    static const Class cls = [] {
        UISlider::class_();
        ColorPickerView::class_();
        return ClassBuilder<BrightnessSlider>("BrightnessSlider", "UISlider")
            .method("initWithFrame:", imp::initWithFrame)
            .method("colorPicker", imp::colorPicker)
            .method("setColorPicker:", imp::setColorPicker)
            .method("brightnessChanged:", imp::brightnessChanged)
            .method("touchesEnded:withEvent:", imp::touchesEnded)
            .method("drawRect:", imp::drawRect)
            .registerClass();
    }();
    return cls;
}
