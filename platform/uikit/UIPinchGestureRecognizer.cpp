#include "uikit/UIPinchGestureRecognizer.h"

namespace {
namespace imp {

CGFloat scale(UIPinchGestureRecognizer *self, SEL)
{
    return self->m_scale;
}

void setScale(UIPinchGestureRecognizer *self, SEL, CGFloat scale)
{
    self->m_scale = scale;
}

CGFloat velocity(UIPinchGestureRecognizer *self, SEL)
{
    return self->m_velocity;
}

} // namespace imp

const Class kRegistered = UIPinchGestureRecognizer::class_();

} // namespace

Class UIPinchGestureRecognizer::class_()
{
    static const Class cls = [] {
        UIGestureRecognizer::class_();
        return ClassBuilder<UIPinchGestureRecognizer>("UIPinchGestureRecognizer",
                                                      "UIGestureRecognizer")
            .method("scale", imp::scale)
            .method("setScale:", imp::setScale)
            .method("velocity", imp::velocity)
            .registerClass();
    }();
    return cls;
}
