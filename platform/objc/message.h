#pragma once
// Sending a message. `msg<R>(receiver, "selector:"_sel, args...)` finds the receiver's
// implementation through its class's method cache (Class.h), casts it to the sender's
// signature `R (*)(id, SEL, Args...)` and calls it. A nil receiver answers a zero value
// of R, as on the platform; a receiver that has no such method is a programming error
// and stops the process with the platform's message.
//
// The argument types are those of the call: `msg<void>(view, "setTag:"_sel, 5)` sends an
// int. Where the method takes another type, name it: `msg<void, NSInteger>(view, …, 5)`.
// A build with CV_CHECKED_MESSAGES (the Debug and sanitizer builds) compares the sender's
// type encoding with the method's on every send, so a mismatched signature stops loudly
// instead of corrupting memory.
//
// Target–action, timer and observer sends go through sim::sendAction, which passes as
// many of (sender, event) as the selector's colons ask for, as the platform allows.
//
// Selectors: `"layoutSubviews"_sel` interns the name once per call site; sel_registerName
// interns a name built at run time.

#include "objc/Class.h"
#include "objc/TypeEncoding.h"

#include <cstddef>

extern "C" SEL sel_registerName(const char *name);

namespace sim {

[[noreturn]] void unrecognizedSelector(id receiver, SEL selector);
void checkMessageSignature(Class cls, SEL selector, const std::string &senderEncoding);

template <std::size_t N> struct SelectorName {
    char text[N];
    constexpr SelectorName(const char (&name)[N])
    {
        for (std::size_t i = 0; i < N; ++i)
            text[i] = name[i];
    }
};

template <class R, class... Args> IMP implementationFor(Class cls, id receiver, SEL selector)
{
#ifdef CV_CHECKED_MESSAGES
    static const std::string senderEncoding = encodeSignature<R, Args...>();
    checkMessageSignature(cls, selector, senderEncoding);
#endif
    IMP implementation = findImplementation(cls, selector);
    if (!implementation)
        unrecognizedSelector(receiver, selector);
    return implementation;
}

// Sends `action` to `target` with the sender, the sender and the event, or nothing, as
// the selector's colons say ("tick", "tick:", "tick:withEvent:").
void sendAction(id target, SEL action, id sender, id event = nil);

} // namespace sim

template <sim::SelectorName Name> SEL operator""_sel()
{
    static const SEL selector = sel_registerName(Name.text);
    return selector;
}

template <class R, class... Args> inline R msg(id receiver, SEL selector, Args... args)
{
    if (!receiver) {
        if constexpr (std::is_void_v<R>)
            return;
        else
            return R{};
    }
    IMP implementation = sim::implementationFor<R, Args...>(receiver->isa, receiver, selector);
    return reinterpret_cast<R (*)(id, SEL, Args...)>(implementation)(receiver, selector, args...);
}

// Sends to the implementation that `definingClass`'s superclass would use, as a method of
// `definingClass` does when it calls its superclass's version.
template <class R, class... Args>
inline R msgSuper(Class definingClass, id receiver, SEL selector, Args... args)
{
    if (!receiver) {
        if constexpr (std::is_void_v<R>)
            return;
        else
            return R{};
    }
    IMP implementation =
        sim::implementationFor<R, Args...>(definingClass->superclass, receiver, selector);
    return reinterpret_cast<R (*)(id, SEL, Args...)>(implementation)(receiver, selector, args...);
}
