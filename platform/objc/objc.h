#pragma once
// The basic types of the object runtime, with the platform's names: every object starts
// with its class pointer (`isa`); a class is itself an object whose class is its
// metaclass; selectors are interned names compared by pointer; an implementation (IMP)
// is a plain function `R imp(Receiver *self, SEL _cmd, Args...)` stored as an untyped
// pointer and cast back to the sender's signature when a message is sent (message.h).

#include <cstddef>
#include <cstdint>

struct objc_class;
struct objc_selector;
struct objc_method;
struct objc_ivar;
struct objc_protocol;

using Class = objc_class *;
using SEL = const objc_selector *;
using IMP = void (*)();
using Method = objc_method *;
using Ivar = objc_ivar *;
using Protocol = objc_protocol;
using BOOL = bool;

struct objc_object {
    Class isa;
};
using id = objc_object *;

inline constexpr BOOL YES = true;
inline constexpr BOOL NO = false;
#define nil nullptr
#define Nil nullptr

using NSInteger = long;
using NSUInteger = unsigned long;
