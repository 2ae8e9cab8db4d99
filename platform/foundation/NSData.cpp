#include "foundation/NSData.h"
#include "foundation/Copying.h"

#include "foundation/Clock.h"
#include "foundation/NSString.h"

#include <cstring>

namespace {

Class g_dataClass;
Class g_dateClass;

BOOL dataIsEqual(NSData *self, SEL, id other)
{
    return other && msg<BOOL>(other, "isKindOfClass:"_sel, g_dataClass) &&
           self->isEqualToData(static_cast<NSData *>(other));
}

NSString *dateDescription(NSDate *self, SEL)
{
    return NSString::stringWithFormat("%.3f", self->m_since1970);
}

BOOL dateIsEqual(NSDate *self, SEL, id other)
{
    return other && msg<BOOL>(other, "isKindOfClass:"_sel, g_dateClass) &&
           static_cast<NSDate *>(other)->m_since1970 == self->m_since1970;
}

const Class kRegistered = [] {
    g_dataClass = ClassBuilder<NSData>("NSData", "NSObject")
                      .method("isEqual:", dataIsEqual)
                      .method("copy", sim::copyByRetaining)
                      .registerClass();
    g_dateClass = ClassBuilder<NSDate>("NSDate", "NSObject")
                      .method("isEqual:", dateIsEqual)
                      .method("copy", sim::copyByRetaining)
                      .method("description", dateDescription)
                      .registerClass();
    return g_dataClass;
}();

} // namespace

Class NSData::class_()
{
    return g_dataClass;
}

NSData *NSData::dataWithBytes(const void *bytes, NSUInteger length)
{
    auto *data = sim::create<NSData>(g_dataClass);
    const auto *first = static_cast<const std::uint8_t *>(bytes);
    if (first && length)
        data->m_storage.assign(first, first + length);
    data->m_bytes = data->m_storage.data();
    data->m_length = data->m_storage.size();
    return autorelease(data);
}

NSData *NSData::dataWithBytesNoCopy(const void *bytes, NSUInteger length)
{
    auto *data = sim::create<NSData>(g_dataClass);
    data->m_bytes = static_cast<const std::uint8_t *>(bytes);
    data->m_length = bytes ? length : 0;
    return autorelease(data);
}

bool NSData::isEqualToData(const NSData *other) const
{
    return other && other->m_length == m_length &&
           (m_length == 0 || std::memcmp(m_bytes, other->m_bytes, m_length) == 0);
}

Class NSDate::class_()
{
    return g_dateClass;
}

NSDate *NSDate::date()
{
    return dateWithTimeIntervalSince1970(sim::wallTime());
}

NSDate *NSDate::dateWithTimeIntervalSince1970(NSTimeInterval seconds)
{
    auto *date = sim::create<NSDate>(g_dateClass);
    date->m_since1970 = seconds;
    return autorelease(date);
}

NSDate *NSDate::dateWithTimeIntervalSinceNow(NSTimeInterval seconds)
{
    return dateWithTimeIntervalSince1970(sim::wallTime() + seconds);
}

NSTimeInterval NSDate::timeIntervalSinceNow() const
{
    return m_since1970 - sim::wallTime();
}
