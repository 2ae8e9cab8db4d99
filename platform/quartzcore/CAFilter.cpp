#include "quartzcore/CAFilter.h"

#include "foundation/NSString.h"

namespace {

Class g_filterClass;

id filterWithName(id cls, SEL, NSString *name)
{
    if (!name)
        return nullptr;
    auto *filter = static_cast<CAFilter *>(msg<id>(cls, "new"_sel));
    filter->m_name = NSString::stringWithString(name->str());
    return autorelease(filter);
}

const Class kRegistered = [] {
    g_filterClass =
        ClassBuilder<CAFilter>("CAFilter", "NSObject")
            .classMethod("filterWithName:", filterWithName)
            .classMethod("filterWithType:", filterWithName)
            .method(
                "name", +[](CAFilter *self, SEL) { return self->name(); })
            .method(
                "setValue:forKey:", +[](CAFilter *self, SEL, id value,
                                        NSString *key) { self->setValueForKey(value, key); })
            .method(
                "valueForKey:",
                +[](CAFilter *self, SEL, NSString *key) { return self->valueForKey(key); })
            .registerClass();
    return g_filterClass;
}();

} // namespace

Class CAFilter::class_()
{
    return g_filterClass;
}

CAFilter *CAFilter::filterWithName(NSString *name)
{
    return static_cast<CAFilter *>(
        msg<id>(reinterpret_cast<id>(g_filterClass), "filterWithName:"_sel, name));
}

void CAFilter::setValueForKey(id value, NSString *key)
{
    if (!key)
        return;
    if (value)
        m_values[key->str()] = value;
    else
        m_values.erase(key->str());
}

id CAFilter::valueForKey(NSString *key) const
{
    if (!key)
        return nullptr;
    auto found = m_values.find(key->str());
    return found == m_values.end() ? nullptr : found->second.get();
}
