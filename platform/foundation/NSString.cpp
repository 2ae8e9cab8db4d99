#include "foundation/NSString.h"
#include "foundation/Copying.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

Class g_stringClass;
Class g_mutableStringClass;

NSString *newString(Class cls, std::string text)
{
    auto *string = sim::create<NSString>(cls);
    string->m_text = std::move(text);
    return string;
}

BOOL isEqual(NSString *self, SEL, id other)
{
    if (self == other)
        return YES;
    if (!other || !msg<BOOL>(other, "isKindOfClass:"_sel, g_stringClass))
        return NO;
    return self->m_text == static_cast<NSString *>(other)->m_text;
}

NSUInteger hashMessage(NSString *self, SEL)
{
    return self->hash();
}

id copyOfMutable(NSString *self, SEL)
{
    return newString(g_stringClass, self->m_text);
}

id mutableCopy(NSString *self, SEL)
{
    return newString(g_mutableStringClass, self->m_text);
}

NSString *description(NSString *self, SEL)
{
    return self;
}

// The root class's description, which every class without its own answers.
NSString *objectDescription(id self, SEL)
{
    return NSString::stringWithFormat("<%s: %p>", object_getClassName(self),
                                      static_cast<void *>(self));
}

NSUInteger lengthMessage(NSString *self, SEL)
{
    return self->length();
}

const char *utf8Message(NSString *self, SEL)
{
    return self->UTF8String();
}

double doubleValueMessage(NSString *self, SEL)
{
    return self->doubleValue();
}

float floatValueMessage(NSString *self, SEL)
{
    return self->floatValue();
}

// The length of the run of ASCII digits at `at`.
std::size_t digitsAt(std::string_view text, std::size_t at)
{
    std::size_t end = at;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
        ++end;
    return end - at;
}

// Every object describes itself; NSString's own answer replaces it for strings. (A
// function of its own rather than a line of the lambda below: clang 14 crashes printing the
// selector literal when it tries to evaluate that initializer at compile time.)
void addObjectDescription()
{
    class_addMethod(NSObject::class_(), "description"_sel, reinterpret_cast<IMP>(objectDescription),
                    sim::encodeImplementation(objectDescription).c_str());
}

const Class kRegistered = [] {
    addObjectDescription();
    g_stringClass = ClassBuilder<NSString>("NSString", "NSObject")
                        .method("isEqual:", isEqual)
                        .method("hash", hashMessage)
                        .method("copy", sim::copyByRetaining)
                        .method("mutableCopy", mutableCopy)
                        .method("description", description)
                        .method("length", lengthMessage)
                        .method("UTF8String", utf8Message)
                        .method("doubleValue", doubleValueMessage)
                        .method("floatValue", floatValueMessage)
                        .registerClass();
    g_mutableStringClass = ClassBuilder<NSMutableString>("NSMutableString", "NSString")
                               .method("copy", copyOfMutable)
                               .registerClass();
    return g_stringClass;
}();

// Appends one conversion of a printf format, `conversionText` holding it whole ("%5.2f").
void appendConversion(std::string &out, const std::string &conversionText, char conversion,
                      va_list &arguments)
{
    char buffer[512];
    bool isLong = conversionText.find('l') != std::string::npos ||
                  conversionText.find('z') != std::string::npos;
    bool isLongLong = conversionText.find("ll") != std::string::npos;
    switch (conversion) {
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
    case 'o':
    case 'c':
        if (isLongLong)
            std::snprintf(buffer, sizeof buffer, conversionText.c_str(),
                          va_arg(arguments, long long));
        else if (isLong)
            std::snprintf(buffer, sizeof buffer, conversionText.c_str(), va_arg(arguments, long));
        else
            std::snprintf(buffer, sizeof buffer, conversionText.c_str(), va_arg(arguments, int));
        break;
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
        std::snprintf(buffer, sizeof buffer, conversionText.c_str(), va_arg(arguments, double));
        break;
    case 'p':
        std::snprintf(buffer, sizeof buffer, conversionText.c_str(), va_arg(arguments, void *));
        break;
    case 's': {
        const char *text = va_arg(arguments, const char *);
        out += text ? text : "(null)";
        return;
    }
    default:
        out += conversionText;
        return;
    }
    out += buffer;
}

} // namespace

namespace sim {

bool isValidUTF8(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t extra;
        std::uint32_t codePoint;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF)
            extra = 1, codePoint = lead & 0x1F;
        else if ((lead & 0xF0) == 0xE0)
            extra = 2, codePoint = lead & 0x0F;
        else if (lead >= 0xF0 && lead <= 0xF4)
            extra = 3, codePoint = lead & 0x07;
        else
            return false;
        if (text.size() - i <= extra)
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        bool overlong = (extra == 2 && codePoint < 0x800) || (extra == 3 && codePoint < 0x10000);
        bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
        if (overlong || surrogate || codePoint > 0x10FFFF)
            return false;
        i += extra + 1;
    }
    return true;
}

std::string describe(id object)
{
    if (!object)
        return "(null)";
    NSString *text = msg<NSString *>(object, "description"_sel);
    return text ? text->m_text : std::string("(null)");
}

std::string formatString(const char *format, va_list arguments)
{
    std::string out;
    va_list args;
    va_copy(args, arguments);
    for (const char *p = format; *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        if (p[1] == '%') {
            out += '%';
            ++p;
            continue;
        }
        if (p[1] == '@') {
            out += describe(va_arg(args, id));
            ++p;
            continue;
        }
        const char *start = p++;
        while (*p && std::strchr("-+ #0123456789.*hlzjtL", *p))
            ++p;
        if (!*p)
            break;
        appendConversion(out, std::string(start, p + 1), *p, args);
    }
    va_end(args);
    return out;
}

} // namespace sim

Class NSString::class_()
{
    return g_stringClass;
}

Class NSMutableString::class_()
{
    return g_mutableStringClass;
}

NSString *NSString::stringWithUTF8String(const char *text)
{
    if (!text || !sim::isValidUTF8(text))
        return nil;
    return autorelease(newString(g_stringClass, text));
}

NSString *NSString::stringWithString(std::string_view text)
{
    if (!sim::isValidUTF8(text))
        return nil;
    return autorelease(newString(g_stringClass, std::string(text)));
}

NSString *NSString::stringWithFormat(const char *format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    NSString *result = stringWithFormatV(format, arguments);
    va_end(arguments);
    return result;
}

NSString *NSString::stringWithFormatV(const char *format, va_list arguments)
{
    return autorelease(newString(g_stringClass, sim::formatString(format, arguments)));
}

NSUInteger NSString::length() const
{
    NSUInteger units = 0;
    for (unsigned char byte : m_text) {
        if ((byte & 0xC0) != 0x80)
            ++units;
        if ((byte & 0xF8) == 0xF0)
            ++units; // outside the basic plane: a surrogate pair
    }
    return units;
}

bool NSString::isEqualToString(const NSString *other) const
{
    return other && m_text == other->m_text;
}

bool NSString::hasPrefix(const NSString *prefix) const
{
    return prefix && m_text.compare(0, prefix->m_text.size(), prefix->m_text) == 0;
}

bool NSString::hasSuffix(const NSString *suffix) const
{
    return suffix && m_text.size() >= suffix->m_text.size() &&
           m_text.compare(m_text.size() - suffix->m_text.size(), std::string::npos,
                          suffix->m_text) == 0;
}

double NSString::doubleValue() const
{
    std::string_view text = m_text;
    std::size_t start = text.find_first_not_of(" \t\n\r\f\v");
    if (start == std::string_view::npos)
        return 0;
    std::size_t at = start;
    if (text[at] == '+' || text[at] == '-')
        ++at;
    std::size_t whole = digitsAt(text, at);
    at += whole;
    std::size_t fraction = 0;
    if (at < text.size() && text[at] == '.') {
        fraction = digitsAt(text, at + 1);
        if (whole + fraction > 0)
            at += 1 + fraction;
    }
    if (whole + fraction == 0)
        return 0;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        if (std::size_t digits = digitsAt(text, exponent))
            at = exponent + digits;
    }
    // Only the checked decimal text reaches strtod, which reads it whole.
    return std::strtod(std::string(text.substr(start, at - start)).c_str(), nullptr);
}

NSUInteger NSString::hash() const
{
    return std::hash<std::string>{}(m_text);
}

NSMutableString *NSMutableString::string()
{
    return autorelease(static_cast<NSMutableString *>(newString(g_mutableStringClass, "")));
}

void NSMutableString::appendString(const NSString *other)
{
    if (other)
        m_text += other->m_text;
}

void NSMutableString::setString(const NSString *other)
{
    m_text = other ? other->m_text : std::string();
}

NSString *sim_constantString(const char *text)
{
    return newString(g_stringClass, text);
}
