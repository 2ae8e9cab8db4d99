#pragma once
// Type encodings derived from C++ types. A method's encoding is its result followed by
// self ("@"), _cmd (":") and each argument: `CGPoint f(id, SEL, NSUInteger)` encodes as
// "{CGPoint=dd}@:Q". Encodings carry no frame offsets; two signatures are compatible
// exactly when their encodings are equal, which is what the checked message send tests.
//
// Scalars follow the 64-bit platform: BOOL is "B", long is "q". A pointer to any object
// type is "@", a Class "#", a SEL ":". A block (std::function) is "@?" followed by its own
// signature in angle brackets, so two blocks of different shapes never compare equal.
// Structs declare their encoding by specialising sim::TypeEncoding next to their
// definition (see CGGeometry.h).

#include "objc/objc.h"

#include <functional>
#include <string>
#include <type_traits>

namespace sim {

template <class T, class Enable = void> struct TypeEncoding {
    static_assert(sizeof(T) == 0, "this type has no type encoding: specialise sim::TypeEncoding");
};

template <class T> std::string encode()
{
    return TypeEncoding<std::remove_cv_t<T>>::get();
}

template <class R, class... Args> std::string encodeSignature()
{
    return encode<R>() + "@:" + (std::string() + ... + encode<Args>());
}

#define CV_SCALAR_ENCODING(Type, Code)                                                             \
    template <> struct TypeEncoding<Type> {                                                        \
        static std::string get() { return Code; }                                                  \
    }
CV_SCALAR_ENCODING(void, "v");
CV_SCALAR_ENCODING(bool, "B");
CV_SCALAR_ENCODING(char, "c");
CV_SCALAR_ENCODING(signed char, "c");
CV_SCALAR_ENCODING(unsigned char, "C");
CV_SCALAR_ENCODING(short, "s");
CV_SCALAR_ENCODING(unsigned short, "S");
CV_SCALAR_ENCODING(int, "i");
CV_SCALAR_ENCODING(unsigned int, "I");
CV_SCALAR_ENCODING(long, "q");
CV_SCALAR_ENCODING(unsigned long, "Q");
CV_SCALAR_ENCODING(long long, "q");
CV_SCALAR_ENCODING(unsigned long long, "Q");
CV_SCALAR_ENCODING(float, "f");
CV_SCALAR_ENCODING(double, "d");
CV_SCALAR_ENCODING(char *, "*");
CV_SCALAR_ENCODING(const char *, "*");
CV_SCALAR_ENCODING(SEL, ":");
CV_SCALAR_ENCODING(Class, "#");
CV_SCALAR_ENCODING(std::nullptr_t, "@");
CV_SCALAR_ENCODING(Protocol *, "@");
#undef CV_SCALAR_ENCODING

// Pointers to objects (anything derived from objc_object, Class excepted above).
template <class T>
struct TypeEncoding<T *, std::enable_if_t<std::is_base_of_v<objc_object, std::remove_cv_t<T>> &&
                                          !std::is_same_v<std::remove_cv_t<T>, objc_class>>> {
    static std::string get() { return "@"; }
};

// Pointers to everything else: "^" and the pointee, or "^v" for what has no encoding.
template <class T>
struct TypeEncoding<T *, std::enable_if_t<!std::is_base_of_v<objc_object, std::remove_cv_t<T>> &&
                                          !std::is_same_v<std::remove_cv_t<T>, char>>> {
    static std::string get()
    {
        if constexpr (std::is_arithmetic_v<T> || std::is_pointer_v<T>)
            return "^" + encode<T>();
        else
            return "^v";
    }
};

// Enumerations encode as their underlying integer.
template <class T> struct TypeEncoding<T, std::enable_if_t<std::is_enum_v<T>>> {
    static std::string get() { return encode<std::underlying_type_t<T>>(); }
};

// Blocks.
template <class R, class... Args> struct TypeEncoding<std::function<R(Args...)>> {
    static std::string get()
    {
        return "@?<" + encode<R>() + (std::string() + ... + encode<Args>()) + ">";
    }
};

} // namespace sim
