#include "uikit/UIBarButtonItem.h"

#include "uikit/ControlParts.h"

namespace {
namespace imp {

id initWithTitleStyleTargetAction(UIBarButtonItem *self, SEL, NSString *title,
                                  UIBarButtonItemStyle style, id target, SEL action)
{
    self->m_title = StrongRef<NSString>::adopt(msg<NSString *>(title, "copy"_sel));
    self->m_style = style;
    self->m_target = target;
    self->m_action = action;
    return self;
}

NSString *title(UIBarButtonItem *self, SEL)
{
    return self->m_title;
}

void setTitle(UIBarButtonItem *self, SEL, NSString *title)
{
    self->m_title = StrongRef<NSString>::adopt(msg<NSString *>(title, "copy"_sel));
}

UIBarButtonItemStyle style(UIBarButtonItem *self, SEL)
{
    return self->m_style;
}

void setStyle(UIBarButtonItem *self, SEL, UIBarButtonItemStyle style)
{
    self->m_style = style;
}

id target(UIBarButtonItem *self, SEL)
{
    return self->m_target;
}

void setTarget(UIBarButtonItem *self, SEL, id target)
{
    self->m_target = target;
}

SEL action(UIBarButtonItem *self, SEL)
{
    return self->m_action;
}

void setAction(UIBarButtonItem *self, SEL, SEL action)
{
    self->m_action = action;
}

BOOL isEnabled(UIBarButtonItem *self, SEL)
{
    return self->m_enabled;
}

void setEnabled(UIBarButtonItem *self, SEL, BOOL enabled)
{
    self->m_enabled = enabled;
}

} // namespace imp

const Class kRegistered = UIBarButtonItem::class_();

} // namespace

Class UIBarButtonItem::class_()
{
    static const Class cls =
        ClassBuilder<UIBarButtonItem>("UIBarButtonItem", "NSObject")
            .method("initWithTitle:style:target:action:", imp::initWithTitleStyleTargetAction)
            .method("title", imp::title)
            .method("setTitle:", imp::setTitle)
            .method("style", imp::style)
            .method("setStyle:", imp::setStyle)
            .method("target", imp::target)
            .method("setTarget:", imp::setTarget)
            .method("action", imp::action)
            .method("setAction:", imp::setAction)
            .method("isEnabled", imp::isEnabled)
            .method("setEnabled:", imp::setEnabled)
            .registerClass();
    return cls;
}

// A disabled item, or one without action or target, does nothing.
void UIBarButtonItem::press()
{
    if (!m_enabled || !m_action || !m_target)
        return;
    StrongRef<UIBarButtonItem> keep(this);
    sim::sendAction(m_target, m_action, this, nil);
}
