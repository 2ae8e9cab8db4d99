#pragma once
// Numbers that keep the type they were made with. The settings file distinguishes a
// boolean from an integer and a real, and the settings model writes counts as unsigned
// chars and enumerations as ints, so a number remembers its kind (objCType answers its
// type encoding) and converts to any other kind on request the way a C cast would, but
// without undefined behaviour for reals out of an integer's range (they saturate first).
//
// The two boolean numbers are shared objects: numberWithBool: answers kCFBooleanTrue or
// kCFBooleanFalse.

#include "objc/ClassBuilder.h"

struct NSString;

struct NSNumber : NSObject {
    enum class Kind : unsigned char {
        Bool,
        Char,
        UnsignedChar,
        Int,
        UnsignedInt,
        Integer,
        UnsignedInteger,
        LongLong,
        Float,
        Double
    };

    Kind m_kind = Kind::Int;
    union {
        long long m_signed;
        unsigned long long m_unsigned;
        double m_real;
    };

    NSNumber() : m_signed(0) {}

    static Class class_();
    static NSNumber *numberWithBool(bool value);
    static NSNumber *numberWithChar(signed char value);
    static NSNumber *numberWithUnsignedChar(unsigned char value);
    static NSNumber *numberWithInt(int value);
    static NSNumber *numberWithUnsignedInt(unsigned int value);
    static NSNumber *numberWithInteger(NSInteger value);
    static NSNumber *numberWithUnsignedInteger(NSUInteger value);
    static NSNumber *numberWithLongLong(long long value);
    static NSNumber *numberWithFloat(float value);
    static NSNumber *numberWithDouble(double value);

    bool boolValue() const { return isReal() ? m_real != 0 : m_signed != 0; }
    signed char charValue() const { return static_cast<signed char>(longLongValue()); }
    unsigned char unsignedCharValue() const { return static_cast<unsigned char>(longLongValue()); }
    int intValue() const { return static_cast<int>(longLongValue()); }
    unsigned int unsignedIntValue() const { return static_cast<unsigned int>(longLongValue()); }
    NSInteger integerValue() const { return longLongValue(); }
    NSUInteger unsignedIntegerValue() const;
    long long longLongValue() const;
    float floatValue() const { return static_cast<float>(doubleValue()); }
    double doubleValue() const;

    bool isReal() const { return m_kind == Kind::Float || m_kind == Kind::Double; }
    bool isBoolean() const { return m_kind == Kind::Bool; }
    // The type encoding of the kind ("c" for char and bool, as the platform answers).
    const char *objCType() const;
    bool isEqualToNumber(const NSNumber *other) const;
    NSString *stringValue() const;
};

extern NSNumber *const kCFBooleanTrue;
extern NSNumber *const kCFBooleanFalse;

struct NSNull : NSObject {
    static Class class_();
    static NSNull *null();
};
