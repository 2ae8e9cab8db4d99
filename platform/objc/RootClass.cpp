// The root class NSObject: making objects, reference counting and introspection as
// messages, so that subclasses may override them.

#include "objc/ClassBuilder.h"
#include "objc/ClassData.h"

namespace sim {
void destroyInstance(id object);
}

namespace {

id alloc(id self, SEL)
{
    return class_createInstance(static_cast<Class>(self), 0);
}

id newObject(id self, SEL)
{
    return msg<id>(msg<id>(self, "alloc"_sel), "init"_sel);
}

Class classOfClass(id self, SEL)
{
    return static_cast<Class>(self);
}

id init(id self, SEL)
{
    return self;
}

void dealloc(id self, SEL)
{
    sim::destroyInstance(self);
}

id retainMessage(id self, SEL)
{
    return objc_retain(self);
}

void releaseMessage(id self, SEL)
{
    objc_release(self);
}

id autoreleaseMessage(id self, SEL)
{
    return objc_autorelease(self);
}

NSUInteger retainCount(id self, SEL)
{
    return objc_retainCount(self);
}

id self_(id self, SEL)
{
    return self;
}

Class classOfInstance(id self, SEL)
{
    return object_getClass(self);
}

Class superclass(id self, SEL)
{
    return class_getSuperclass(msg<Class>(self, "class"_sel));
}

BOOL isKindOfClass(id self, SEL, Class cls)
{
    for (Class c = object_getClass(self); c; c = c->superclass)
        if (c == cls)
            return YES;
    return NO;
}

BOOL isMemberOfClass(id self, SEL, Class cls)
{
    return object_getClass(self) == cls;
}

BOOL respondsToSelector(id self, SEL, SEL selector)
{
    return class_respondsToSelector(object_getClass(self), selector);
}

BOOL instancesRespondToSelector(id self, SEL, SEL selector)
{
    return class_respondsToSelector(static_cast<Class>(self), selector);
}

BOOL isDeallocating(id self, SEL)
{
    return objc_isDeallocating(self);
}

BOOL conformsToProtocol(id self, SEL, Protocol *protocol)
{
    return class_conformsToProtocol(msg<Class>(self, "class"_sel), protocol);
}

BOOL isEqual(id self, SEL, id other)
{
    return self == other;
}

NSUInteger hash(id self, SEL)
{
    return reinterpret_cast<NSUInteger>(self);
}

// performSelector: calls methods that answer an object or nothing; a method that answers
// nothing is called as such and nil is answered, so the send stays well-typed.
bool answersNothing(id receiver, SEL selector)
{
    Method method = class_getInstanceMethod(object_getClass(receiver), selector);
    return method && method_getTypeEncoding(method)[0] == 'v';
}

id performSelector(id self, SEL, SEL selector)
{
    if (answersNothing(self, selector))
        return msg<void>(self, selector), nil;
    return msg<id>(self, selector);
}

id performSelectorWithObject(id self, SEL, SEL selector, id object)
{
    if (answersNothing(self, selector))
        return msg<void>(self, selector, object), nil;
    return msg<id>(self, selector, object);
}

id performSelectorWithTwoObjects(id self, SEL, SEL selector, id first, id second)
{
    if (answersNothing(self, selector))
        return msg<void>(self, selector, first, second), nil;
    return msg<id>(self, selector, first, second);
}

Class registerRootClass()
{
    return ClassBuilder<NSObject>("NSObject", nullptr)
        .classMethod("alloc", alloc)
        .classMethod("new", newObject)
        .classMethod("class", classOfClass)
        .classMethod("instancesRespondToSelector:", instancesRespondToSelector)
        .method("init", init)
        .method("dealloc", dealloc)
        .method("retain", retainMessage)
        .method("release", releaseMessage)
        .method("autorelease", autoreleaseMessage)
        .method("retainCount", retainCount)
        .method("_isDeallocating", isDeallocating)
        .method("self", self_)
        .method("class", classOfInstance)
        .method("superclass", superclass)
        .method("isKindOfClass:", isKindOfClass)
        .method("isMemberOfClass:", isMemberOfClass)
        .method("respondsToSelector:", respondsToSelector)
        .method("conformsToProtocol:", conformsToProtocol)
        .method("isEqual:", isEqual)
        .method("hash", hash)
        .method("performSelector:", performSelector)
        .method("performSelector:withObject:", performSelectorWithObject)
        .method("performSelector:withObject:withObject:", performSelectorWithTwoObjects)
        .registerClass();
}

const Class kRootClass = registerRootClass();

} // namespace

Class NSObject::class_()
{
    return kRootClass;
}
