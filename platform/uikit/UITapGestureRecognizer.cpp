#include "uikit/UITapGestureRecognizer.h"

namespace {
namespace imp {

NSUInteger numberOfTapsRequired(UITapGestureRecognizer *self, SEL)
{
    return self->m_numberOfTapsRequired;
}

void setNumberOfTapsRequired(UITapGestureRecognizer *self, SEL, NSUInteger taps)
{
    self->m_numberOfTapsRequired = taps;
}

} // namespace imp

const Class kRegistered = UITapGestureRecognizer::class_();

} // namespace

Class UITapGestureRecognizer::class_()
{
    static const Class cls = [] {
        UIGestureRecognizer::class_();
        return ClassBuilder<UITapGestureRecognizer>("UITapGestureRecognizer", "UIGestureRecognizer")
            .method("numberOfTapsRequired", imp::numberOfTapsRequired)
            .method("setNumberOfTapsRequired:", imp::setNumberOfTapsRequired)
            .registerClass();
    }();
    return cls;
}
