#include "uikit/UISwitch.h"

#include "uikit/ControlParts.h"

namespace {

constexpr CGFloat kKnobInset = 2;
constexpr CGFloat kKnobDiameter = UISwitch::kHeight - 2 * kKnobInset;

UIColor *offTrackColor()
{
    return UIColor::colorWithWhiteAlpha(0.9, 1);
}

UIColor *defaultOnTintColor()
{
    return UIColor::colorWithRedGreenBlueAlpha(76 / 255.0, 217 / 255.0, 100 / 255.0, 1);
}

// The track takes the on tint when on; the knob sits at the trailing end when on.
void showState(UISwitch *self)
{
    UIColor *track = self->m_on ? msg<UIColor *>(self, "onTintColor"_sel) : offTrackColor();
    msg<void, UIColor *>(self, "setBackgroundColor:"_sel, track);
    CGFloat x = self->m_on ? UISwitch::kWidth - kKnobInset - kKnobDiameter : kKnobInset;
    msg<void, CGRect>(self->m_knob, "setFrame:"_sel,
                      CGRect{x, kKnobInset, kKnobDiameter, kKnobDiameter});
}

namespace imp {

id initWithFrame(UISwitch *self, SEL _cmd, CGRect frame)
{
    frame.size = {UISwitch::kWidth, UISwitch::kHeight};
    msgSuper<id, CGRect>(UISwitch::class_(), self, _cmd, frame);
    self->layer()->setCornerRadius(UISwitch::kHeight / 2);
    self->m_knob = sim::makeFilledView(CGRectZero, UIColor::whiteColor(), kKnobDiameter / 2);
    msg<void, UIView *>(self, "addSubview:"_sel, self->m_knob);
    showState(self);
    return self;
}

// A switch keeps its size whatever frame it is given.
void setFrame(UISwitch *self, SEL _cmd, CGRect frame)
{
    frame.size = {UISwitch::kWidth, UISwitch::kHeight};
    msgSuper<void, CGRect>(UISwitch::class_(), self, _cmd, frame);
}

void setOn(UISwitch *self, SEL, BOOL on)
{
    self->m_on = on;
    showState(self);
}

void setOnAnimated(UISwitch *self, SEL, BOOL on, BOOL)
{
    msg<void, BOOL>(self, "setOn:"_sel, on);
}

UIColor *onTintColor(UISwitch *self, SEL)
{
    return self->m_onTintColor ? self->m_onTintColor.get() : defaultOnTintColor();
}

void setOnTintColor(UISwitch *self, SEL, UIColor *color)
{
    self->m_onTintColor = color;
    showState(self);
}

// A finger that lifts on the switch flips it.
void endTracking(UISwitch *self, SEL, UITouch *, UIEvent *event)
{
    if (!self->m_touchInside)
        return;
    msg<void, BOOL, BOOL>(self, "setOn:animated:"_sel, !self->m_on, YES);
    self->sendActionsForEvents(UIControlEventValueChanged, event);
}

} // namespace imp

const Class kRegistered = UISwitch::class_();

} // namespace

Class UISwitch::class_()
{
    static const Class cls = [] {
        UIControl::class_();
        return ClassBuilder<UISwitch>("UISwitch", "UIControl")
            .method("initWithFrame:", imp::initWithFrame)
            .method("setFrame:", imp::setFrame)
            .getter<&UISwitch::m_on>("isOn")
            .method("setOn:", imp::setOn)
            .method("setOn:animated:", imp::setOnAnimated)
            .method("onTintColor", imp::onTintColor)
            .method("setOnTintColor:", imp::setOnTintColor)
            .method("endTrackingWithTouch:withEvent:", imp::endTracking)
            .registerClass();
    }();
    return cls;
}
