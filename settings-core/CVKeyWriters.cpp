// The two visitors that turn fields into objects: one key (getValue) and every key
// (getDictionary). Both write a field the way the settings file keeps it.

#include "settings-core/CVKeyTable.h"

#include <cstring>

namespace {

NSArray *arrayFromColour(const CVColor &colour)
{
    return NSArray::arrayWithObjects({NSNumber::numberWithUnsignedChar(colour.red),
                                      NSNumber::numberWithUnsignedChar(colour.green),
                                      NSNumber::numberWithUnsignedChar(colour.blue),
                                      NSNumber::numberWithUnsignedChar(colour.reserved)});
}

NSNumber *hiddenFlag(bool (&flags)[CVStatusBarItemCount], const CVStatusBarItems &items,
                     int position)
{
    bool *flag = CVItemFlag(flags, items, position);
    return NSNumber::numberWithBool(flag && *flag);
}

} // namespace

// Shared --------------------------------------------------------------------------

void CVFieldWriter::boolean(const char *key, bool &field, bool)
{
    if (wants(key))
        put(key, NSNumber::numberWithBool(field));
}

void CVFieldWriter::count(const char *key, unsigned char &field, unsigned char)
{
    if (wants(key))
        put(key, NSNumber::numberWithUnsignedChar(field));
}

void CVFieldWriter::enumeration(const char *key, std::uint32_t &field, std::uint32_t)
{
    if (wants(key))
        put(key, NSNumber::numberWithUnsignedInt(field));
}

void CVFieldWriter::signedEnumeration(const char *key, std::int32_t &field, std::int32_t)
{
    if (wants(key))
        put(key, NSNumber::numberWithInt(field));
}

void CVFieldWriter::dateStyle(const char *key, std::uint32_t &field, std::uint32_t)
{
    if (wants(key))
        put(key, NSNumber::numberWithUnsignedInteger(field));
}

// Floats are written as single-precision numbers, as the settings file always held them.
void CVFieldWriter::real(const char *key, CGFloat &field, CGFloat)
{
    if (wants(key))
        put(key, NSNumber::numberWithFloat(static_cast<float>(field)));
}

void CVFieldWriter::colour(const char *key, CVColor &field, CVColor)
{
    if (wants(key))
        put(key, arrayFromColour(field));
}

// The buffer is public and may have been written by anyone; bytes that are not UTF-8
// are written as an empty text rather than dropping the key.
void CVFieldWriter::text(const char *key, char *buffer, std::size_t size)
{
    if (!wants(key))
        return;
    std::string text(buffer, strnlen(buffer, size));
    NSString *string = NSString::stringWithUTF8String(text.c_str());
    put(key, string ? string : ""_ns);
}

// One key -------------------------------------------------------------------------

CVValueVisitor::CVValueVisitor(CFStringRef key) : m_key(key ? key->str() : std::string_view()) {}

bool CVValueVisitor::wants(const char *key) const
{
    return !m_result && m_key == key;
}

void CVValueVisitor::put(const char *, id value)
{
    m_result = value;
}

// The stored string itself, nil when absent.
void CVValueVisitor::string(const char *key, CFStringRef &field)
{
    if (wants(key) && field)
        put(key, autorelease(retain(field)));
}

// The nested dictionary's key is not answered; each item name is, with its flag.
void CVValueVisitor::itemFlags(const char *, bool (&flags)[CVStatusBarItemCount],
                               CVStatusBarItems &items)
{
    if (m_result)
        return;
    for (int position = 0; position < CVStatusBarItemCount; ++position)
        if (m_key == CVStatusBarItems::names[position])
            put(nullptr, hiddenFlag(flags, items, position));
}

// Every key -----------------------------------------------------------------------

CVDictionaryVisitor::CVDictionaryVisitor() : m_result(NSMutableDictionary::dictionary()) {}

void CVDictionaryVisitor::put(const char *key, id value)
{
    m_result->setObjectForKey(value, NSString::stringWithUTF8String(key));
}

// An absent string is written as "".
void CVDictionaryVisitor::string(const char *key, CFStringRef &field)
{
    put(key, field ? static_cast<id>(field) : ""_ns);
}

void CVDictionaryVisitor::stringList(const char *key, CFMutableArrayRef &list)
{
    put(key, list ? NSArray::arrayWithArray(list) : NSArray::array());
}

void CVDictionaryVisitor::itemFlags(const char *key, bool (&flags)[CVStatusBarItemCount],
                                    CVStatusBarItems &items)
{
    NSMutableDictionary *names = NSMutableDictionary::dictionary();
    for (int position = 0; position < CVStatusBarItemCount; ++position)
        names->setObjectForKey(hiddenFlag(flags, items, position),
                               NSString::stringWithUTF8String(CVStatusBarItems::names[position]));
    put(key, names);
}

void CVDictionaryVisitor::entity(const char *key, CVSettingsEntity &member)
{
    put(key, member.getDictionary());
}
