#pragma once
// How the extension changes SpringBoard. Every change is one of three operations, each
// written once here, and every feature group uses them the same way:
//
//     static CGFloat (*orig_SBIconListView_sideIconInset)(SBIconListView *, SEL);
//     static CGFloat SBIconListView_sideIconInset(SBIconListView *self, SEL _cmd)
//     {
//         return orig_SBIconListView_sideIconInset(self, _cmd) * gCVIcons.pages.sideInset;
//     }
//     ...
//     ReplaceMethod(objc_getClass("SBIconListView"), "sideIconInset"_sel,
//                   SBIconListView_sideIconInset, &orig_SBIconListView_sideIconInset);
//
// - ReplaceMethod puts a replacement in place of the method that instances of a class
//   answer to a selector, and fills the previous-implementation slot with what the
//   replacement calls to run the behaviour it replaced. When the class defines the method
//   itself, the slot holds exactly the implementation that was in place. When the class
//   only inherits it, the replacement becomes the class's own method, the superclass keeps
//   its implementation, and the slot holds a superclass caller: a function that asks the
//   superclass for its implementation at every call, so the replacement reaches whatever
//   the superclass implements at that moment, even if that changes later. For a class
//   method, pass the metaclass (object_getClass of the class). A missing class or method
//   is skipped silently: SpringBoard generations differ, and a feature simply does not
//   apply where its method is absent.
// - AddMethod gives a class a method it does not have (timer and notification targets);
//   a method of that name already on the class stays as it is.
// - HookFunction replaces a plain function through the injection library.
//
// A replacement is a plain function with the method's exact signature, receiver and
// selector first. Its type decides everything else: the slot must have exactly that type
// (refused at compile time), and builds with checked messages stop loudly when the
// method found has another type encoding, instead of calling it with the wrong frame.
//
// Instance variables of SpringBoard objects are read and written by name with
// CVGetIvar/CVSetIvar: the offset is looked up on the object's class at every access, so
// one piece of code works on every generation that has a variable of that name and type.
// A name the class does not have reads as nil, NO or zero and takes no writes. Object
// variables are plain pointers here: writing one neither retains nor releases.

#include "objc/encode.h"
#include "objc/runtime.h"
#include "substrate/substrate.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <type_traits>
#include <utility>

// The loud stops of the checks below; each names the operation that found the fault.
[[noreturn]] void CVStopOnReplacementTypes(Class cls, SEL selector, const char *methodTypes,
                                           const std::string &replacementTypes);
[[noreturn]] void CVStopOnAddedMethodTypes(Class cls, SEL selector, const char *literalTypes,
                                           const std::string &implementationTypes);
[[noreturn]] void CVStopOnIvarType(id object, const char *name, const char *ivarTypes,
                                   const std::string &accessTypes);
[[noreturn]] void CVStopOnSuperclassCallersExhausted(const std::string &signature);

// The superclass callers of one method signature. A plain function cannot carry the
// superclass it should ask, so each signature has a fixed set of caller functions, each
// reading its own superclass cell, and every replacement of an inherited method keeps one
// of them for good. kCapacity bounds the inherited-method replacements per signature;
// running out stops loudly at installation, never at a call.
template <class R, class Receiver, class... Args> class CVSuperclassCallers {
public:
    using Function = R (*)(Receiver *, SEL, Args...);
    static constexpr std::size_t kCapacity = 64;

    // The next free caller, now asking `superclass`. It stays free (and the next call
    // answers it again) until keep() is called.
    static Function prepare(Class superclass)
    {
        static constexpr std::array<Function, kCapacity> callers =
            makeCallers(std::make_index_sequence<kCapacity>{});
        if (s_kept == kCapacity)
            CVStopOnSuperclassCallersExhausted(objc_encodeMethod<R, Args...>());
        s_superclasses[s_kept] = superclass;
        return callers[s_kept];
    }

    static void keep() { ++s_kept; }

private:
    template <std::size_t Index> static R call(Receiver *self, SEL selector, Args... args)
    {
        IMP implementation = class_getMethodImplementation(s_superclasses[Index], selector);
        return reinterpret_cast<Function>(implementation)(self, selector,
                                                          std::forward<Args>(args)...);
    }

    template <std::size_t... Index>
    static constexpr std::array<Function, kCapacity> makeCallers(std::index_sequence<Index...>)
    {
        return {&call<Index>...};
    }

    static inline Class s_superclasses[kCapacity]{};
    static inline std::size_t s_kept = 0;
};

template <class R, class Receiver, class... Args, class Slot>
void ReplaceMethod(Class cls, SEL selector, R (*replacement)(Receiver *, SEL, Args...),
                   Slot *previous)
{
    using Function = R (*)(Receiver *, SEL, Args...);
    static_assert(std::is_same_v<Slot, Function>,
                  "ReplaceMethod: the previous-implementation slot must have exactly the "
                  "replacement's type");
    Method method = class_getInstanceMethod(cls, selector);
    if (!method)
        return;
#ifdef CV_CHECKED_MESSAGES
    const std::string replacementTypes = objc_encodeMethod<R, Args...>();
    if (replacementTypes != method_getTypeEncoding(method))
        CVStopOnReplacementTypes(cls, selector, method_getTypeEncoding(method), replacementTypes);
#endif
    using Callers = CVSuperclassCallers<R, Receiver, Args...>;
    IMP implementation = reinterpret_cast<IMP>(replacement);
    // The slot is ready before the replacement can be reached.
    *previous = Callers::prepare(class_getSuperclass(cls));
    if (class_addMethod(cls, selector, implementation, method_getTypeEncoding(method))) {
        Callers::keep();
        return;
    }
    *previous = reinterpret_cast<Function>(method_getImplementation(method));
    *previous = reinterpret_cast<Function>(method_setImplementation(method, implementation));
}

// `types` is the method's literal type encoding ("v@:@" for one object argument and no
// result). Checked builds compare it with the implementation's signature.
template <class R, class Receiver, class... Args>
void AddMethod(Class cls, SEL selector, R (*implementation)(Receiver *, SEL, Args...),
               const char *types)
{
#ifdef CV_CHECKED_MESSAGES
    const std::string implementationTypes = objc_encodeMethod<R, Args...>();
    if (!types || implementationTypes != types)
        CVStopOnAddedMethodTypes(cls, selector, types, implementationTypes);
#endif
    class_addMethod(cls, selector, reinterpret_cast<IMP>(implementation), types);
}

// `symbol` is the address of the function to replace; nullptr (a function this system
// does not have) is skipped silently.
template <class R, class... Args, class Slot>
void HookFunction(void *symbol, R (*replacement)(Args...), Slot *previous)
{
    static_assert(std::is_same_v<Slot, R (*)(Args...)>,
                  "HookFunction: the previous-function slot must have exactly the "
                  "replacement's type");
    if (!symbol)
        return;
    MSHookFunction(symbol, reinterpret_cast<void *>(replacement),
                   reinterpret_cast<void **>(previous));
}

// The variable `name` of the object's class, or nullptr. Checked builds stop when it is
// accessed as another type than its own.
template <class T> Ivar CVIvarNamed(id object, const char *name)
{
    Ivar ivar = object ? class_getInstanceVariable(object_getClass(object), name) : nullptr;
#ifdef CV_CHECKED_MESSAGES
    if (ivar && objc_encode<T>() != ivar_getTypeEncoding(ivar))
        CVStopOnIvarType(object, name, ivar_getTypeEncoding(ivar), objc_encode<T>());
#endif
    return ivar;
}

template <class T> T CVGetIvar(id object, const char *name)
{
    static_assert(std::is_trivially_copyable_v<T>, "instance variables are plain values");
    T value{};
    if (Ivar ivar = CVIvarNamed<T>(object, name))
        std::memcpy(&value, reinterpret_cast<char *>(object) + ivar_getOffset(ivar), sizeof(T));
    return value;
}

template <class T> void CVSetIvar(id object, const char *name, T value)
{
    static_assert(std::is_trivially_copyable_v<T>, "instance variables are plain values");
    if (Ivar ivar = CVIvarNamed<T>(object, name))
        std::memcpy(reinterpret_cast<char *>(object) + ivar_getOffset(ivar), &value, sizeof(T));
}
