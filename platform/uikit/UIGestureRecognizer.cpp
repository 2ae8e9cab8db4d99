#include "uikit/UIGestureRecognizer.h"

#include "uikit/UIView.h"

#include <algorithm>

namespace {

namespace imp {

id initWithTargetAction(UIGestureRecognizer *self, SEL, id target, SEL action)
{
    if (target && action)
        self->m_targets.push_back({target, action});
    return self;
}

void addTargetAction(UIGestureRecognizer *self, SEL, id target, SEL action)
{
    if (target && action)
        self->m_targets.push_back({target, action});
}

void removeTargetAction(UIGestureRecognizer *self, SEL, id target, SEL action)
{
    std::erase_if(self->m_targets, [&](const UIGestureRecognizer::Target &entry) {
        return (!target || entry.target == target) && (!action || entry.action == action);
    });
}

UIGestureRecognizerState state(UIGestureRecognizer *self, SEL)
{
    return self->m_state;
}

void setState(UIGestureRecognizer *self, SEL, UIGestureRecognizerState state)
{
    self->m_state = state;
}

UIView *view(UIGestureRecognizer *self, SEL)
{
    return self->m_view;
}

void setView(UIGestureRecognizer *self, SEL, UIView *view)
{
    self->m_view = view;
}

void setEnabled(UIGestureRecognizer *self, SEL, BOOL enabled)
{
    self->m_enabled = enabled;
}

CGPoint locationInView(UIGestureRecognizer *self, SEL, UIView *view)
{
    if (!self->m_view)
        return CGPointZero;
    return self->m_view->convertPointToView(self->m_location, view);
}

} // namespace imp

const Class kRegistered = UIGestureRecognizer::class_();

} // namespace

Class UIGestureRecognizer::class_()
{
    static const Class cls = ClassBuilder<UIGestureRecognizer>("UIGestureRecognizer", "NSObject")
                                 .method("initWithTarget:action:", imp::initWithTargetAction)
                                 .method("addTarget:action:", imp::addTargetAction)
                                 .method("removeTarget:action:", imp::removeTargetAction)
                                 .property<&UIGestureRecognizer::m_delegate>("delegate")
                                 .method("state", imp::state)
                                 .method("setState:", imp::setState)
                                 .method("view", imp::view)
                                 .method("_setView:", imp::setView)
                                 .getter<&UIGestureRecognizer::m_enabled>("isEnabled")
                                 .method("setEnabled:", imp::setEnabled)
                                 .method("locationInView:", imp::locationInView)
                                 .registerClass();
    return cls;
}

bool UIGestureRecognizer::shouldBegin()
{
    if (!m_enabled || !m_view)
        return false;
    SEL ask = "gestureRecognizerShouldBegin:"_sel;
    if (m_delegate && msg<BOOL>(m_delegate, "respondsToSelector:"_sel, ask))
        return msg<BOOL>(m_delegate, ask, this);
    return true;
}

void UIGestureRecognizer::transitionTo(UIGestureRecognizerState state)
{
    StrongRef<UIGestureRecognizer> keep(this);
    msg<void, UIGestureRecognizerState>(this, "setState:"_sel, state);
    std::vector<Target> targets = m_targets;
    for (const Target &entry : targets) {
        sim::sendAction(entry.target, entry.action, this);
    }
}
