#pragma once
// Strings. An NSString holds UTF-8 text and never changes; NSMutableString may. Both
// answer the platform's messages (length, UTF8String, isEqual:, hash, copy, description),
// and C++ code calls the same operations as member functions named after the selector
// (`isEqualToString(other)` for -isEqualToString:).
//
// String constants: `"enabled"_ns` is an NSString made once per call site and kept for
// the life of the process, as the platform's constant strings are.
//
// Formats: stringWithFormat understands the printf conversions and %@, which inserts the
// -description of an object ("(null)" for nil).

#include "objc/ClassBuilder.h"

#include <cstdarg>
#include <string>
#include <string_view>

struct NSString : NSObject {
    std::string m_text;

    static Class class_();
    // Autoreleased; nil for a null pointer or text that is not valid UTF-8.
    static NSString *stringWithUTF8String(const char *text);
    static NSString *stringWithString(std::string_view text);
    static NSString *stringWithFormat(const char *format, ...);
    static NSString *stringWithFormatV(const char *format, va_list arguments);

    const char *UTF8String() const { return m_text.c_str(); }
    const std::string &str() const { return m_text; }
    // The number of UTF-16 code units, as the platform counts.
    NSUInteger length() const;
    bool isEqualToString(const NSString *other) const;
    bool hasPrefix(const NSString *prefix) const;
    bool hasSuffix(const NSString *suffix) const;
    NSUInteger hash() const;
    // The decimal number at the start of the text, after leading blanks: an optional
    // sign, digits with an optional point, an optional exponent. 0 when the text does not
    // start with one; "inf", "nan" and hexadecimal are not numbers here.
    double doubleValue() const;
    float floatValue() const { return static_cast<float>(doubleValue()); }
    // -lowercaseString and -uppercaseString: the text in the case of every letter, by the
    // Unicode rules without a locale (autoreleased).
    NSString *lowercaseString() const;
    NSString *uppercaseString() const;
};

struct NSMutableString : NSString {
    static Class class_();
    static NSMutableString *string();
    void appendString(const NSString *other);
    void setString(const NSString *other);
};

// An immortal string for the text; see `_ns` above.
NSString *sim_constantString(const char *text);

template <sim::SelectorName Text> NSString *operator""_ns()
{
    static NSString *const constant = sim_constantString(Text.text);
    return constant;
}

namespace sim {

// True when the bytes are well-formed UTF-8.
bool isValidUTF8(std::string_view text);

// The -description of any object, as %@ prints it ("(null)" for nil).
std::string describe(id object);

// printf with %@, into a std::string.
std::string formatString(const char *format, va_list arguments);

} // namespace sim
