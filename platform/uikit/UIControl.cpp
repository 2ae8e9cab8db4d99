#include "uikit/UIControl.h"

#include "foundation/NSSet.h"
#include "uikit/ControlParts.h"

#include <algorithm>

namespace {

// A finger this far outside the bounds still counts as inside, as on the platform, so
// that a slightly missed lift still presses.
constexpr CGFloat kTouchInsideMargin = 70;

// The first responder from `responder` up that answers `action`.
id responderFor(id responder, SEL action)
{
    for (; responder; responder = msg<id>(responder, "nextResponder"_sel))
        if (msg<BOOL, SEL>(responder, "respondsToSelector:"_sel, action))
            return responder;
    return nil;
}

UITouch *touchOf(NSSet *touches)
{
    return static_cast<UITouch *>(touches ? touches->anyObject() : nil);
}

bool isInside(UIControl *control, UITouch *touch)
{
    CGRect area = CGRectInset(control->bounds(), -kTouchInsideMargin, -kTouchInsideMargin);
    return CGRectContainsPoint(area, touch->locationInView(control));
}

namespace imp {

void addTargetActionForControlEvents(UIControl *self, SEL, id target, SEL action,
                                     UIControlEvents events)
{
    if (!action || !events)
        return;
    for (auto &entry : self->m_targets)
        if (entry.target == target && entry.action == action) {
            entry.events |= events;
            return;
        }
    self->m_targets.push_back({target, action, events});
}

// nil target or action: every target or action.
void removeTargetActionForControlEvents(UIControl *self, SEL, id target, SEL action,
                                        UIControlEvents events)
{
    for (auto &entry : self->m_targets)
        if ((!target || entry.target == target) && (!action || entry.action == action))
            entry.events &= ~events;
    std::erase_if(self->m_targets, [](const UIControl::Target &entry) { return !entry.events; });
}

NSSet *allTargets(UIControl *self, SEL)
{
    NSMutableArray *targets = NSMutableArray::array();
    for (const auto &entry : self->m_targets)
        if (entry.target)
            targets->addObject(entry.target);
    return NSSet::setWithArray(targets);
}

UIControlEvents allControlEvents(UIControl *self, SEL)
{
    UIControlEvents events = 0;
    for (const auto &entry : self->m_targets)
        events |= entry.events;
    return events;
}

void sendActionsForControlEvents(UIControl *self, SEL, UIControlEvents events)
{
    self->sendActionsForEvents(events, nil);
}

void sendActionToForEvent(UIControl *self, SEL, SEL action, id target, UIEvent *event)
{
    id receiver = target ? target : responderFor(self, action);
    if (receiver)
        sim::sendAction(receiver, action, self, event);
}

void setEnabled(UIControl *self, SEL, BOOL enabled)
{
    self->m_enabled = enabled;
    msg<void>(self, "setNeedsDisplay"_sel);
}

void setSelected(UIControl *self, SEL, BOOL selected)
{
    self->m_selected = selected;
}

void setHighlighted(UIControl *self, SEL, BOOL highlighted)
{
    self->m_highlighted = highlighted;
}

BOOL beginTracking(UIControl *, SEL, UITouch *, UIEvent *)
{
    return YES;
}

void endTracking(UIControl *, SEL, UITouch *, UIEvent *) {}

void cancelTracking(UIControl *, SEL, UIEvent *) {}

void touchesBegan(UIControl *self, SEL, NSSet *touches, UIEvent *event)
{
    UITouch *touch = touchOf(touches);
    if (!self->m_enabled || !touch)
        return;
    self->m_touchInside = true;
    msg<void, BOOL>(self, "setHighlighted:"_sel, YES);
    self->m_tracking = msg<BOOL, UITouch *, UIEvent *>(
        self, "beginTrackingWithTouch:withEvent:"_sel, touch, event);
    self->sendActionsForEvents(UIControlEventTouchDown, event);
}

void touchesMoved(UIControl *self, SEL, NSSet *touches, UIEvent *event)
{
    UITouch *touch = touchOf(touches);
    if (!self->m_enabled || !touch)
        return;
    bool wasInside = self->m_touchInside;
    self->m_touchInside = isInside(self, touch);
    msg<void, BOOL>(self, "setHighlighted:"_sel, self->m_touchInside);
    if (self->m_tracking)
        self->m_tracking = msg<BOOL, UITouch *, UIEvent *>(
            self, "continueTrackingWithTouch:withEvent:"_sel, touch, event);
    UIControlEvents events =
        self->m_touchInside ? UIControlEventTouchDragInside : UIControlEventTouchDragOutside;
    if (wasInside != self->m_touchInside)
        events |= self->m_touchInside ? UIControlEventTouchDragEnter : UIControlEventTouchDragExit;
    self->sendActionsForEvents(events, event);
}

void touchesEnded(UIControl *self, SEL, NSSet *touches, UIEvent *event)
{
    UITouch *touch = touchOf(touches);
    if (!self->m_enabled || !touch)
        return;
    self->m_touchInside = isInside(self, touch);
    if (self->m_tracking)
        msg<void, UITouch *, UIEvent *>(self, "endTrackingWithTouch:withEvent:"_sel, touch, event);
    self->m_tracking = false;
    msg<void, BOOL>(self, "setHighlighted:"_sel, NO);
    self->sendActionsForEvents(
        self->m_touchInside ? UIControlEventTouchUpInside : UIControlEventTouchUpOutside, event);
    self->m_touchInside = false;
}

void touchesCancelled(UIControl *self, SEL, NSSet *, UIEvent *event)
{
    if (!self->m_enabled)
        return;
    if (self->m_tracking)
        msg<void, UIEvent *>(self, "cancelTrackingWithEvent:"_sel, event);
    self->m_tracking = false;
    self->m_touchInside = false;
    msg<void, BOOL>(self, "setHighlighted:"_sel, NO);
    self->sendActionsForEvents(UIControlEventTouchCancel, event);
}

} // namespace imp

const Class kRegistered = UIControl::class_();

} // namespace

Class UIControl::class_()
{
    static const Class cls = [] {
        UIView::class_();
        return ClassBuilder<UIControl>("UIControl", "UIView")
            .method("addTarget:action:forControlEvents:", imp::addTargetActionForControlEvents)
            .method("removeTarget:action:forControlEvents:",
                    imp::removeTargetActionForControlEvents)
            .method("allTargets", imp::allTargets)
            .method("allControlEvents", imp::allControlEvents)
            .method("sendActionsForControlEvents:", imp::sendActionsForControlEvents)
            .method("sendAction:to:forEvent:", imp::sendActionToForEvent)
            .getter<&UIControl::m_enabled>("isEnabled")
            .method("setEnabled:", imp::setEnabled)
            .getter<&UIControl::m_selected>("isSelected")
            .method("setSelected:", imp::setSelected)
            .getter<&UIControl::m_highlighted>("isHighlighted")
            .method("setHighlighted:", imp::setHighlighted)
            .getter<&UIControl::m_tracking>("isTracking")
            .getter<&UIControl::m_touchInside>("isTouchInside")
            .method("beginTrackingWithTouch:withEvent:", imp::beginTracking)
            .method("continueTrackingWithTouch:withEvent:", imp::beginTracking)
            .method("endTrackingWithTouch:withEvent:", imp::endTracking)
            .method("cancelTrackingWithEvent:", imp::cancelTracking)
            .method("touchesBegan:withEvent:", imp::touchesBegan)
            .method("touchesMoved:withEvent:", imp::touchesMoved)
            .method("touchesEnded:withEvent:", imp::touchesEnded)
            .method("touchesCancelled:withEvent:", imp::touchesCancelled)
            .registerClass();
    }();
    return cls;
}

void UIControl::sendActionsForEvents(UIControlEvents events, UIEvent *event)
{
    StrongRef<UIControl> keep(this);
    // A copy: an action may add or remove targets.
    std::vector<Target> targets = m_targets;
    for (const auto &entry : targets)
        if (entry.events & events)
            msg<void, SEL, id, UIEvent *>(this, "sendAction:to:forEvent:"_sel, entry.action,
                                          entry.target, event);
}
