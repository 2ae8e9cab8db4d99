#pragma once
// Declaring a class reads like a declaration:
//
//     ClassBuilder<SBIconListView>("SBIconListView", "UIView")
//         .ivar("_orientation", &SBIconListView::m_orientation)
//         .classMethod("iconColumnsForInterfaceOrientation:", iconColumnsForInterfaceOrientation)
//         .method("layoutIconsNow", layoutIconsNow)
//         .property<&SBIconListView::m_orientation>("orientation")
//         .registerClass();
//
// Each method is a plain function `R f(Receiver *self, SEL _cmd, Args...)`; its type
// encoding is derived from that signature. A property whose accessors only read and store
// a data member is declared with the member instead of two hand-written functions. Instance
// variables are registered with a pointer to the member, so the offset and type that a by-name
// look-up answers are the real ones. Instances of the class are objects of the C++ type T
// (constructed in place by +alloc, destroyed by -dealloc), which must derive from the superclass's
// C++ type.

#include "objc/NSObject.h"
#include "objc/TypeEncoding.h"

#include <cctype>
#include <new>
#include <string>
#include <type_traits>

namespace sim {

using Constructor = void (*)(void *memory);
using Destructor = void (*)(void *object);

void setCxxType(Class cls, std::size_t size, Constructor construct, Destructor destruct);
void addIvarAt(Class cls, const char *name, const char *types, std::ptrdiff_t offset);
// The registered protocol of that name, registered now when there is none yet.
Protocol *protocolNamed(const char *name);

// The offset of a data member, without constructing an object: the C++ types behind
// classes have no virtual functions, so the member's address within uninitialised storage
// is its offset.
template <class T, class M> std::ptrdiff_t memberOffset(M T::*member)
{
    union Storage {
        Storage() {}
        ~Storage() {}
        T object;
    } storage;
    return reinterpret_cast<const char *>(&(storage.object.*member)) -
           reinterpret_cast<const char *>(&storage.object);
}

// The class and the type of a data member named by a pointer to it.
template <auto Member> struct MemberOf;
template <class C, class M, M C::*Member> struct MemberOf<Member> {
    using Owner = C;
    using Type = M;
};

// What a property's getter answers and its setter takes: the object an owning member holds,
// or the member's own value.
template <class M> struct PropertyValue {
    using Type = M;
};
template <class O> struct PropertyValue<StrongRef<O>> {
    using Type = O *;
};

template <auto Member>
auto readMember(typename MemberOf<Member>::Owner *self, SEL) ->
    typename PropertyValue<typename MemberOf<Member>::Type>::Type
{
    return self->*Member;
}

// An owning member retains what it is given and releases what it held.
template <auto Member>
void storeMember(typename MemberOf<Member>::Owner *self, SEL,
                 typename PropertyValue<typename MemberOf<Member>::Type>::Type value)
{
    self->*Member = value;
}

// "setName:" for the getter "name".
inline std::string setterSelector(const char *getter)
{
    std::string setter = std::string("set") + getter + ":";
    setter[3] = static_cast<char>(std::toupper(static_cast<unsigned char>(setter[3])));
    return setter;
}

template <class R, class Receiver, class... Args>
std::string encodeImplementation(R (*)(Receiver *, SEL, Args...))
{
    return encodeSignature<R, Args...>();
}

} // namespace sim

template <class T> class ClassBuilder {
    static_assert(std::is_base_of_v<NSObject, T>,
                  "classes stand on C++ types derived from NSObject");
    static_assert(!std::is_polymorphic_v<T>,
                  "behaviour that subclasses change goes through messages");

public:
    // Prepares the class; `superclassName` nullptr makes a root class. When the superclass
    // is not registered, or the name is taken, nothing is built and registerClass answers
    // Nil.
    ClassBuilder(const char *name, const char *superclassName)
    {
        Class superclass = superclassName ? objc_getClass(superclassName) : Nil;
        if (superclassName && !superclass)
            return;
        m_class = objc_allocateClassPair(superclass, name, 0);
        if (m_class)
            sim::setCxxType(
                m_class, sizeof(T), [](void *memory) { new (memory) T; },
                [](void *object) { static_cast<T *>(object)->~T(); });
    }

    template <class R, class Receiver, class... Args>
    ClassBuilder &method(const char *selector, R (*implementation)(Receiver *, SEL, Args...))
    {
        add(m_class, selector, implementation);
        return *this;
    }

    template <class R, class Receiver, class... Args>
    ClassBuilder &classMethod(const char *selector, R (*implementation)(Receiver *, SEL, Args...))
    {
        add(m_class ? object_getClass(m_class) : Nil, selector, implementation);
        return *this;
    }

    // A getter message, `selector`, that answers the member.
    template <auto Member> ClassBuilder &getter(const char *selector)
    {
        return method(selector, sim::readMember<Member>);
    }

    // The getter `selector` and its setter "setSelector:", which only stores the member.
    template <auto Member> ClassBuilder &property(const char *selector)
    {
        return getter<Member>(selector).method(sim::setterSelector(selector).c_str(),
                                               sim::storeMember<Member>);
    }

    template <class M> ClassBuilder &ivar(const char *name, M T::*member)
    {
        if (m_class)
            sim::addIvarAt(m_class, name, sim::encode<M>().c_str(), sim::memberOffset(member));
        return *this;
    }

    ClassBuilder &protocol(const char *name)
    {
        if (m_class)
            class_addProtocol(m_class, sim::protocolNamed(name));
        return *this;
    }

    Class registerClass()
    {
        if (m_class)
            objc_registerClassPair(m_class);
        return m_class;
    }

private:
    template <class F> static void add(Class cls, const char *selector, F implementation)
    {
        if (!cls)
            return;
        std::string types = sim::encodeImplementation(implementation);
        class_addMethod(cls, sel_registerName(selector), reinterpret_cast<IMP>(implementation),
                        types.c_str());
    }

    Class m_class = Nil;
};
