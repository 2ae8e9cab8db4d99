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
            .property<&UIBarButtonItem::m_style>("style")
            .property<&UIBarButtonItem::m_target>("target")
            .property<&UIBarButtonItem::m_action>("action")
            .getter<&UIBarButtonItem::m_enabled>("isEnabled")
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
