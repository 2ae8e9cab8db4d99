#pragma once
// The runtime's C interface, with the platform's names and meanings. Every entry point
// answers nil, NULL, 0 or NO for a nil argument instead of failing. The tables behind it
// are safe to read from several threads; changes (adding classes and methods, replacing
// implementations) take the runtime's lock.

#include "objc/objc.h"

#include <cstdint>

enum objc_AssociationPolicy : std::uintptr_t {
    OBJC_ASSOCIATION_ASSIGN = 0,
    OBJC_ASSOCIATION_RETAIN_NONATOMIC = 1,
    OBJC_ASSOCIATION_COPY_NONATOMIC = 3,
    OBJC_ASSOCIATION_RETAIN = 01401,
    OBJC_ASSOCIATION_COPY = 01403,
};

extern "C" {

// Selectors.
SEL sel_registerName(const char *name);
const char *sel_getName(SEL selector);

// Classes.
Class objc_getClass(const char *name);
Class objc_getMetaClass(const char *name);
Class objc_allocateClassPair(Class superclass, const char *name, std::size_t extraBytes);
void objc_registerClassPair(Class cls);
void objc_disposeClassPair(Class cls);
// The library whose code defines the class (the path it was loaded from), or NULL.
const char *class_getImageName(Class cls);
// The names of the registered classes that the library at `image` defines, in the order
// of registration, as a malloc'd array the caller frees; the count goes to `outCount`.
const char **objc_copyClassNamesForImage(const char *image, unsigned int *outCount);
// Every registered class, in the order of registration, as a malloc'd array the caller
// frees; the count goes to `outCount`.
Class *objc_copyClassList(unsigned int *outCount);
const char *class_getName(Class cls);
Class class_getSuperclass(Class cls);
BOOL class_isMetaClass(Class cls);
std::size_t class_getInstanceSize(Class cls);
BOOL class_respondsToSelector(Class cls, SEL selector);
id class_createInstance(Class cls, std::size_t extraBytes);

// Methods.
Method class_getInstanceMethod(Class cls, SEL selector);
Method class_getClassMethod(Class cls, SEL selector);
IMP class_getMethodImplementation(Class cls, SEL selector);
BOOL class_addMethod(Class cls, SEL selector, IMP implementation, const char *types);
IMP class_replaceMethod(Class cls, SEL selector, IMP implementation, const char *types);
SEL method_getName(Method method);
IMP method_getImplementation(Method method);
IMP method_setImplementation(Method method, IMP implementation);
const char *method_getTypeEncoding(Method method);
// The implementation answered for selectors that no class of the chain implements; it
// stops the process when called, as an unrecognised selector does.
void _objc_msgForward();

// Instance variables.
BOOL class_addIvar(Class cls, const char *name, std::size_t size, std::uint8_t alignment,
                   const char *types);
Ivar class_getInstanceVariable(Class cls, const char *name);
const char *ivar_getName(Ivar ivar);
const char *ivar_getTypeEncoding(Ivar ivar);
std::ptrdiff_t ivar_getOffset(Ivar ivar);
id object_getIvar(id object, Ivar ivar);
void object_setIvar(id object, Ivar ivar, id value);

// Objects.
Class object_getClass(id object);
const char *object_getClassName(id object);
void objc_setAssociatedObject(id object, const void *key, id value, objc_AssociationPolicy policy);
id objc_getAssociatedObject(id object, const void *key);
void objc_removeAssociatedObjects(id object);

// Protocols.
Protocol *objc_getProtocol(const char *name);
Protocol *objc_allocateProtocol(const char *name);
void objc_registerProtocol(Protocol *protocol);
const char *protocol_getName(Protocol *protocol);
BOOL class_addProtocol(Class cls, Protocol *protocol);
BOOL class_conformsToProtocol(Class cls, Protocol *protocol);

} // extern "C"
