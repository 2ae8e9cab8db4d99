#include "quartzcore/NSValue.h"

namespace {

const Class kRegistered = NSValue::class_();

template <class T> NSValue *boxed(const T &value)
{
    auto *box = sim::make<NSValue>(NSValue::class_());
    box->m_value = value;
    return box;
}

template <class T> T unboxed(const sim::AnimatedValue &value)
{
    const T *held = std::get_if<T>(&value);
    return held ? *held : T{};
}

} // namespace

Class NSValue::class_()
{
    static const Class cls = ClassBuilder<NSValue>("NSValue", "NSObject").registerClass();
    return cls;
}

NSValue *NSValue::valueWithCGPoint(CGPoint point)
{
    return boxed(point);
}

NSValue *NSValue::valueWithCGRect(CGRect rect)
{
    return boxed(rect);
}

NSValue *NSValue::valueWithCATransform3D(const CATransform3D &transform)
{
    return boxed(transform);
}

CGPoint NSValue::CGPointValue() const
{
    return unboxed<CGPoint>(m_value);
}

CGRect NSValue::CGRectValue() const
{
    return unboxed<CGRect>(m_value);
}

CATransform3D NSValue::CATransform3DValue() const
{
    return unboxed<CATransform3D>(m_value);
}
