#include "foundation/NSNumber.h"
#include "foundation/Copying.h"

#include "foundation/NSString.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

Class g_numberClass;
Class g_nullClass;

NSNumber *newNumber(NSNumber::Kind kind)
{
    auto *number = sim::create<NSNumber>(g_numberClass);
    number->m_kind = kind;
    return number;
}

NSNumber *signedNumber(NSNumber::Kind kind, long long value)
{
    NSNumber *number = newNumber(kind);
    number->m_signed = value;
    return autorelease(number);
}

NSNumber *unsignedNumber(NSNumber::Kind kind, unsigned long long value)
{
    NSNumber *number = newNumber(kind);
    number->m_unsigned = value;
    return autorelease(number);
}

NSNumber *realNumber(NSNumber::Kind kind, double value)
{
    NSNumber *number = newNumber(kind);
    number->m_real = value;
    return autorelease(number);
}

bool isUnsignedKind(NSNumber::Kind kind)
{
    return kind == NSNumber::Kind::UnsignedInt || kind == NSNumber::Kind::UnsignedInteger ||
           kind == NSNumber::Kind::UnsignedChar;
}

BOOL isEqual(NSNumber *self, SEL, id other)
{
    if (!other || !msg<BOOL>(other, "isKindOfClass:"_sel, g_numberClass))
        return NO;
    return self->isEqualToNumber(static_cast<NSNumber *>(other));
}

NSUInteger hash(NSNumber *self, SEL)
{
    double value = self->doubleValue();
    return std::hash<double>{}(value == 0 ? 0.0 : value);
}

NSString *description(NSNumber *self, SEL)
{
    return self->stringValue();
}

// The value accessors as messages, for code that asks an object it only knows as `id`.
template <auto Accessor> auto valueMessage(NSNumber *self, SEL)
{
    return (self->*Accessor)();
}

const Class kRegistered = [] {
    g_numberClass =
        ClassBuilder<NSNumber>("NSNumber", "NSObject")
            .method("isEqual:", isEqual)
            .method("hash", hash)
            .method("copy", sim::copyByRetaining)
            .method("description", description)
            .method("stringValue", description)
            .method("boolValue", valueMessage<&NSNumber::boolValue>)
            .method("intValue", valueMessage<&NSNumber::intValue>)
            .method("integerValue", valueMessage<&NSNumber::integerValue>)
            .method("unsignedIntegerValue", valueMessage<&NSNumber::unsignedIntegerValue>)
            .method("longLongValue", valueMessage<&NSNumber::longLongValue>)
            .method("floatValue", valueMessage<&NSNumber::floatValue>)
            .method("doubleValue", valueMessage<&NSNumber::doubleValue>)
            .registerClass();
    g_nullClass = ClassBuilder<NSNull>("NSNull", "NSObject")
                      .method("copy", sim::copyByRetaining)
                      .registerClass();
    return g_numberClass;
}();

// Shared for the life of the process: they are never released to zero.
NSNumber *immortalBoolean(bool value)
{
    NSNumber *number = newNumber(NSNumber::Kind::Bool);
    number->m_signed = value;
    return number;
}

} // namespace

NSNumber *const kCFBooleanTrue = immortalBoolean(true);
NSNumber *const kCFBooleanFalse = immortalBoolean(false);

Class NSNumber::class_()
{
    return g_numberClass;
}

NSNumber *NSNumber::numberWithBool(bool value)
{
    return value ? kCFBooleanTrue : kCFBooleanFalse;
}

NSNumber *NSNumber::numberWithChar(signed char value)
{
    return signedNumber(Kind::Char, value);
}

NSNumber *NSNumber::numberWithUnsignedChar(unsigned char value)
{
    return unsignedNumber(Kind::UnsignedChar, value);
}

NSNumber *NSNumber::numberWithInt(int value)
{
    return signedNumber(Kind::Int, value);
}

NSNumber *NSNumber::numberWithUnsignedInt(unsigned int value)
{
    return unsignedNumber(Kind::UnsignedInt, value);
}

NSNumber *NSNumber::numberWithInteger(NSInteger value)
{
    return signedNumber(Kind::Integer, value);
}

NSNumber *NSNumber::numberWithUnsignedInteger(NSUInteger value)
{
    return unsignedNumber(Kind::UnsignedInteger, value);
}

NSNumber *NSNumber::numberWithLongLong(long long value)
{
    return signedNumber(Kind::LongLong, value);
}

NSNumber *NSNumber::numberWithFloat(float value)
{
    return realNumber(Kind::Float, value);
}

NSNumber *NSNumber::numberWithDouble(double value)
{
    return realNumber(Kind::Double, value);
}

long long NSNumber::longLongValue() const
{
    if (!isReal())
        return m_signed; // unsigned values wrap, as a C conversion does
    if (std::isnan(m_real))
        return 0;
    constexpr double kLimit = 9.2233720368547748e18; // 2^63
    if (m_real >= kLimit)
        return std::numeric_limits<long long>::max();
    if (m_real <= -kLimit)
        return std::numeric_limits<long long>::min();
    return static_cast<long long>(m_real);
}

NSUInteger NSNumber::unsignedIntegerValue() const
{
    if (isReal() && m_real >= 9.2233720368547748e18)
        return m_real >= 1.8446744073709552e19 ? std::numeric_limits<NSUInteger>::max()
                                               : static_cast<NSUInteger>(m_real);
    return static_cast<NSUInteger>(longLongValue());
}

double NSNumber::doubleValue() const
{
    if (isReal())
        return m_real;
    return isUnsignedKind(m_kind) ? static_cast<double>(m_unsigned) : static_cast<double>(m_signed);
}

const char *NSNumber::objCType() const
{
    switch (m_kind) {
    case Kind::Bool:
    case Kind::Char:
        return "c";
    case Kind::UnsignedChar:
        return "C";
    case Kind::Int:
        return "i";
    case Kind::UnsignedInt:
        return "I";
    case Kind::Integer:
    case Kind::LongLong:
        return "q";
    case Kind::UnsignedInteger:
        return "Q";
    case Kind::Float:
        return "f";
    case Kind::Double:
        return "d";
    }
    return "i";
}

bool NSNumber::isEqualToNumber(const NSNumber *other) const
{
    if (!other)
        return false;
    if (isReal() || other->isReal())
        return doubleValue() == other->doubleValue();
    if (isUnsignedKind(m_kind) != isUnsignedKind(other->m_kind) &&
        (m_signed < 0 || other->m_signed < 0))
        return false;
    return m_signed == other->m_signed;
}

NSString *NSNumber::stringValue() const
{
    char shortest[64];
    switch (m_kind) {
    case Kind::Float: {
        auto end =
            std::to_chars(shortest, shortest + sizeof shortest, static_cast<float>(m_real)).ptr;
        return NSString::stringWithString(std::string_view(shortest, end - shortest));
    }
    case Kind::Double: {
        auto end = std::to_chars(shortest, shortest + sizeof shortest, m_real).ptr;
        return NSString::stringWithString(std::string_view(shortest, end - shortest));
    }
    case Kind::UnsignedInt:
    case Kind::UnsignedInteger:
    case Kind::UnsignedChar:
        return NSString::stringWithFormat("%llu", m_unsigned);
    default:
        return NSString::stringWithFormat("%lld", m_signed);
    }
}

Class NSNull::class_()
{
    return g_nullClass;
}

NSNull *NSNull::null()
{
    static NSNull *const shared = sim::create<NSNull>(g_nullClass);
    return shared;
}
