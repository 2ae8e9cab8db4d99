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
                                 .getter<&UITouch::m_phase>("phase")
                                 .getter<&UITouch::m_tapCount>("tapCount")
                                 .getter<&UITouch::m_timestamp>("timestamp")
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
