#include "uikit/UITapGestureRecognizer.h"

namespace {
namespace imp {

} // namespace imp

const Class kRegistered = UITapGestureRecognizer::class_();

} // namespace

Class UITapGestureRecognizer::class_()
{
    static const Class cls = [] {
        UIGestureRecognizer::class_();
        return ClassBuilder<UITapGestureRecognizer>("UITapGestureRecognizer", "UIGestureRecognizer")
            .property<&UITapGestureRecognizer::m_numberOfTapsRequired>("numberOfTapsRequired")
            .registerClass();
    }();
    return cls;
}
