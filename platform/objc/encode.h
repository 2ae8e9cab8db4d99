#pragma once
// Type encodings as product code asks for them. On the phone the compiler writes them:
// `@encode(CGPoint)` is "{CGPoint=dd}", and a method's types are the encodings of its
// result, self, _cmd and arguments in that order. Here they come from the C++ types
// (TypeEncoding.h), under names that say what the compiler's directive would say:
//
//   objc_encode<T>()                     @encode(T)
//   objc_encodeMethod<R, Args...>()      the types of a method `R m(id, SEL, Args...)`
//   objc_encodeImplementation(function)  the types of a method implemented by `function`
//
// Each answers the encoding as a string, so that comparing two encodings compares text.

#include "objc/TypeEncoding.h"

#include <string>

template <class T> std::string objc_encode()
{
    return sim::encode<T>();
}

template <class R, class... Args> std::string objc_encodeMethod()
{
    return sim::encodeSignature<R, Args...>();
}

template <class R, class Receiver, class... Args>
std::string objc_encodeImplementation(R (*)(Receiver *, SEL, Args...))
{
    return sim::encodeSignature<R, Args...>();
}
