#include "uikit/UITouch.h"

#include "uikit/UIWindow.h"

namespace {
namespace imp {

CGPoint locationInView(UITouch *self, SEL, UIView *view)
{
    return self->locationInView(view);
}

CGPoint previousLocationInView(UITouch *self, SEL, UIView *view)
{
    return self->previousLocationInView(view);
}

UIView *view(UITouch *self, SEL)
{
    return self->m_view;
}

UIWindow *window(UITouch *self, SEL)
{
    return self->m_view ? self->m_view->window() : nil;
}

UITouchPhase phase(UITouch *self, SEL)
{
    return self->m_phase;
}

NSUInteger tapCount(UITouch *self, SEL)
{
    return self->m_tapCount;
}

double timestamp(UITouch *self, SEL)
{
    return self->m_timestamp;
}

} // namespace imp

const Class kRegistered = UITouch::class_();

} // namespace

Class UITouch::class_()
{
    static const Class cls = ClassBuilder<UITouch>("UITouch", "NSObject")
                                 .method("locationInView:", imp::locationInView)
                                 .method("previousLocationInView:", imp::previousLocationInView)
                                 .method("view", imp::view)
                                 .method("window", imp::window)
                                 .method("phase", imp::phase)
                                 .method("tapCount", imp::tapCount)
                                 .method("timestamp", imp::timestamp)
                                 .registerClass();
    return cls;
}

CGPoint UITouch::locationInView(UIView *view) const
{
    return m_root->convertPointToView(m_location, view);
}

CGPoint UITouch::previousLocationInView(UIView *view) const
{
    return m_root->convertPointToView(m_previousLocation, view);
}
