#include "uikit/UIEvent.h"

namespace {
namespace imp {

NSSet *allTouches(UIEvent *self, SEL)
{
    return self->m_touches ? self->m_touches.get() : NSSet::set();
}

} // namespace imp

const Class kRegistered = UIEvent::class_();

} // namespace

Class UIEvent::class_()
{
    static const Class cls = ClassBuilder<UIEvent>("UIEvent", "NSObject")
                                 .method("allTouches", imp::allTouches)
                                 .getter<&UIEvent::m_timestamp>("timestamp")
                                 .registerClass();
    return cls;
}
