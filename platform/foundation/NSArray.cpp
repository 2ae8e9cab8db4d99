#include "foundation/NSArray.h"
#include "foundation/Copying.h"

#include "foundation/NSString.h"

#include <cstdio>
#include <cstdlib>

namespace {

Class g_arrayClass;
Class g_mutableArrayClass;

NSArray *newArray(Class cls, const NSArray *contents)
{
    auto *array = sim::create<NSArray>(cls);
    if (contents)
        array->m_objects = contents->m_objects;
    return array;
}

BOOL isEqual(NSArray *self, SEL, id other)
{
    if (self == other)
        return YES;
    if (!other || !msg<BOOL>(other, "isKindOfClass:"_sel, g_arrayClass))
        return NO;
    auto *array = static_cast<NSArray *>(other);
    if (array->count() != self->count())
        return NO;
    for (NSUInteger i = 0; i < self->count(); ++i)
        if (!sim::objectsEqual(self->m_objects[i], array->m_objects[i]))
            return NO;
    return YES;
}

NSUInteger hash(NSArray *self, SEL)
{
    return self->count();
}

id copyOfMutable(NSArray *self, SEL)
{
    return newArray(g_arrayClass, self);
}

id mutableCopy(NSArray *self, SEL)
{
    return newArray(g_mutableArrayClass, self);
}

NSString *description(NSArray *self, SEL)
{
    std::string text = "(";
    for (NSUInteger i = 0; i < self->count(); ++i)
        text += (i ? ",\n    " : "\n    ") + sim::describe(self->m_objects[i]);
    text += self->count() ? "\n)" : ")";
    return NSString::stringWithString(text);
}

// +arrayWithArray: answers an array of the receiving class (mutable for NSMutableArray).
id arrayWithArrayMessage(Class self, SEL, NSArray *other)
{
    return objc_autorelease(newArray(self, other));
}

void addObjectsFromArray(NSMutableArray *self, SEL, NSArray *other)
{
    if (!other)
        return;
    for (id object : *other)
        self->addObject(object);
}

// The collection's own operations as messages, for callers that send them (a host whose
// arrays an extension may read or replace).
NSUInteger countMessage(NSArray *self, SEL)
{
    return self->count();
}

id objectAtIndexMessage(NSArray *self, SEL, NSUInteger index)
{
    return self->objectAtIndex(index);
}

id firstObjectMessage(NSArray *self, SEL)
{
    return self->firstObject();
}

NSUInteger indexOfObjectMessage(NSArray *self, SEL, id object)
{
    return self->indexOfObject(object);
}

void addObjectMessage(NSMutableArray *self, SEL, id object)
{
    self->addObject(object);
}

void removeObjectMessage(NSMutableArray *self, SEL, id object)
{
    self->removeObject(object);
}

void removeObjectAtIndexMessage(NSMutableArray *self, SEL, NSUInteger index)
{
    self->removeObjectAtIndex(index);
}

void removeAllObjectsMessage(NSMutableArray *self, SEL)
{
    self->removeAllObjects();
}

const Class kRegistered = [] {
    g_arrayClass = ClassBuilder<NSArray>("NSArray", "NSObject")
                       .method("isEqual:", isEqual)
                       .method("hash", hash)
                       .method("copy", sim::copyByRetaining)
                       .method("mutableCopy", mutableCopy)
                       .method("description", description)
                       .method("count", countMessage)
                       .method("objectAtIndex:", objectAtIndexMessage)
                       .method("firstObject", firstObjectMessage)
                       .method("indexOfObject:", indexOfObjectMessage)
                       .classMethod("arrayWithArray:", arrayWithArrayMessage)
                       .registerClass();
    g_mutableArrayClass = ClassBuilder<NSMutableArray>("NSMutableArray", "NSArray")
                              .method("copy", copyOfMutable)
                              .method("addObjectsFromArray:", addObjectsFromArray)
                              .method("addObject:", addObjectMessage)
                              .method("removeObject:", removeObjectMessage)
                              .method("removeObjectAtIndex:", removeObjectAtIndexMessage)
                              .method("removeAllObjects", removeAllObjectsMessage)
                              .registerClass();
    return g_arrayClass;
}();

} // namespace

namespace sim {

bool objectsEqual(id a, id b)
{
    if (a == b)
        return true;
    return a && b && msg<BOOL>(a, "isEqual:"_sel, b);
}

void rangeError(const char *function, NSUInteger index, NSUInteger count)
{
    std::fprintf(stderr, "*** %s: index %lu beyond bounds [0 .. %ld]\n", function, index,
                 static_cast<long>(count) - 1);
    std::abort();
}

} // namespace sim

Class NSArray::class_()
{
    return g_arrayClass;
}

NSArray *NSArray::array()
{
    return autorelease(newArray(g_arrayClass, nullptr));
}

NSArray *NSArray::arrayWithObjects(std::initializer_list<id> objects)
{
    NSArray *array = newArray(g_arrayClass, nullptr);
    for (id object : objects)
        if (object)
            array->m_objects.emplace_back(object);
    return autorelease(array);
}

NSArray *NSArray::arrayWithArray(const NSArray *other)
{
    return autorelease(newArray(g_arrayClass, other));
}

id NSArray::objectAtIndex(NSUInteger index) const
{
    if (index >= m_objects.size())
        sim::rangeError("-[NSArray objectAtIndex:]", index, m_objects.size());
    return m_objects[index];
}

bool NSArray::containsObject(id object) const
{
    return indexOfObject(object) != NSNotFound;
}

NSUInteger NSArray::indexOfObject(id object) const
{
    for (NSUInteger i = 0; i < m_objects.size(); ++i)
        if (sim::objectsEqual(m_objects[i], object))
            return i;
    return NSNotFound;
}

Class NSMutableArray::class_()
{
    return g_mutableArrayClass;
}

NSMutableArray *NSMutableArray::array()
{
    return autorelease(static_cast<NSMutableArray *>(newArray(g_mutableArrayClass, nullptr)));
}

NSMutableArray *NSMutableArray::arrayWithArray(const NSArray *other)
{
    return autorelease(static_cast<NSMutableArray *>(newArray(g_mutableArrayClass, other)));
}

void NSMutableArray::addObject(id object)
{
    if (object)
        m_objects.emplace_back(object);
}

void NSMutableArray::insertObjectAtIndex(id object, NSUInteger index)
{
    if (index > m_objects.size())
        sim::rangeError("-[NSMutableArray insertObject:atIndex:]", index, m_objects.size());
    if (object)
        m_objects.emplace(m_objects.begin() + static_cast<std::ptrdiff_t>(index), object);
}

void NSMutableArray::removeObjectAtIndex(NSUInteger index)
{
    if (index >= m_objects.size())
        sim::rangeError("-[NSMutableArray removeObjectAtIndex:]", index, m_objects.size());
    m_objects.erase(m_objects.begin() + static_cast<std::ptrdiff_t>(index));
}

void NSMutableArray::removeObject(id object)
{
    std::erase_if(m_objects, [&](const StrongRef<objc_object> &held) {
        return sim::objectsEqual(held, object);
    });
}
