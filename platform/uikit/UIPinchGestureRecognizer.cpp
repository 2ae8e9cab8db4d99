#include "uikit/UIPinchGestureRecognizer.h"

namespace {
namespace imp {

} // namespace imp

const Class kRegistered = UIPinchGestureRecognizer::class_();

} // namespace

Class UIPinchGestureRecognizer::class_()
{
    static const Class cls = [] {
        UIGestureRecognizer::class_();
        return ClassBuilder<UIPinchGestureRecognizer>("UIPinchGestureRecognizer",
                                                      "UIGestureRecognizer")
            .property<&UIPinchGestureRecognizer::m_scale>("scale")
            .getter<&UIPinchGestureRecognizer::m_velocity>("velocity")
            .registerClass();
    }();
    return cls;
}
