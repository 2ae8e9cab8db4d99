#include "uikit/UITextField.h"

namespace {
namespace imp {

NSString *text(UITextField *self, SEL)
{
    return self->m_text ? self->m_text.get() : ""_ns;
}

void setText(UITextField *self, SEL, NSString *text)
{
    self->m_text = StrongRef<NSString>::adopt(msg<NSString *>(text, "copy"_sel));
}

NSString *placeholder(UITextField *self, SEL)
{
    return self->m_placeholder;
}

void setPlaceholder(UITextField *self, SEL, NSString *placeholder)
{
    self->m_placeholder = StrongRef<NSString>::adopt(msg<NSString *>(placeholder, "copy"_sel));
}

} // namespace imp

const Class kRegistered = UITextField::class_();

} // namespace

Class UITextField::class_()
{
    static const Class cls = [] {
        UIView::class_();
        return ClassBuilder<UITextField>("UITextField", "UIView")
            .method("text", imp::text)
            .method("setText:", imp::setText)
            .method("placeholder", imp::placeholder)
            .method("setPlaceholder:", imp::setPlaceholder)
            .property<&UITextField::m_delegate>("delegate")
            .registerClass();
    }();
    return cls;
}
