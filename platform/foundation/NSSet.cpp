#include "foundation/NSSet.h"
#include "foundation/Copying.h"

#include "foundation/NSArray.h"

namespace {

NSSet *newSet()
{
    return sim::create<NSSet>(NSSet::class_());
}

// Adds `object` unless the set holds an equal member already; the set is new and not yet
// shared, so it may still grow.
void include(NSSet *set, id object)
{
    if (object && !set->containsObject(object))
        set->m_members.emplace_back(object);
}

namespace imp {

NSUInteger count(NSSet *self, SEL)
{
    return self->count();
}

id anyObject(NSSet *self, SEL)
{
    return self->anyObject();
}

BOOL containsObject(NSSet *self, SEL, id object)
{
    return self->containsObject(object);
}

id member(NSSet *self, SEL, id object)
{
    return self->member(object);
}

NSArray *allObjects(NSSet *self, SEL)
{
    return self->allObjects();
}

BOOL isEqual(NSSet *self, SEL, id other)
{
    if (self == other)
        return YES;
    if (!other || !msg<BOOL>(other, "isKindOfClass:"_sel, NSSet::class_()))
        return NO;
    auto *set = static_cast<NSSet *>(other);
    if (set->count() != self->count())
        return NO;
    for (id object : *self)
        if (!set->containsObject(object))
            return NO;
    return YES;
}

NSUInteger hash(NSSet *self, SEL)
{
    return self->count();
}

NSSet *set(id, SEL)
{
    return NSSet::set();
}

NSSet *setWithObject(id, SEL, id object)
{
    return NSSet::setWithObject(object);
}

NSSet *setWithArray(id, SEL, NSArray *array)
{
    return NSSet::setWithArray(array);
}

} // namespace imp

const Class kRegistered = NSSet::class_();

} // namespace

Class NSSet::class_()
{
    static const Class cls = ClassBuilder<NSSet>("NSSet", "NSObject")
                                 .classMethod("set", imp::set)
                                 .classMethod("setWithObject:", imp::setWithObject)
                                 .classMethod("setWithArray:", imp::setWithArray)
                                 .method("count", imp::count)
                                 .method("anyObject", imp::anyObject)
                                 .method("containsObject:", imp::containsObject)
                                 .method("member:", imp::member)
                                 .method("allObjects", imp::allObjects)
                                 .method("isEqual:", imp::isEqual)
                                 .method("hash", imp::hash)
                                 .method("copy", sim::copyByRetaining)
                                 .registerClass();
    return cls;
}

NSSet *NSSet::set()
{
    return autorelease(newSet());
}

NSSet *NSSet::setWithObject(id object)
{
    return setWithObjects({object});
}

NSSet *NSSet::setWithObjects(std::initializer_list<id> objects)
{
    NSSet *set = newSet();
    for (id object : objects)
        include(set, object);
    return autorelease(set);
}

NSSet *NSSet::setWithArray(const NSArray *array)
{
    NSSet *set = newSet();
    if (array)
        for (id object : *array)
            include(set, object);
    return autorelease(set);
}

bool NSSet::containsObject(id object) const
{
    return member(object) != nil;
}

id NSSet::member(id object) const
{
    for (const auto &candidate : m_members)
        if (sim::objectsEqual(candidate, object))
            return candidate;
    return nil;
}

NSArray *NSSet::allObjects() const
{
    NSMutableArray *objects = NSMutableArray::array();
    for (id object : *this)
        objects->addObject(object);
    return NSArray::arrayWithArray(objects);
}
