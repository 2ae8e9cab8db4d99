// The two visitors that change fields: reset to defaults, and load from a dictionary.

#include "settings-core/CVKeyTable.h"

#include <cstring>

bool CVIsKindOf(id object, Class cls)
{
    return msg<BOOL, Class>(object, "isKindOfClass:"_sel, cls);
}

bool *CVItemFlag(bool (&flags)[CVStatusBarItemCount], const CVStatusBarItems &items, int position)
{
    if (!items.filled)
        return &flags[position];
    unsigned char index = items.index[position];
    return index < CVStatusBarItemCount ? &flags[index] : nullptr;
}

// Defaults ---------------------------------------------------------------------------

void CVDefaultsVisitor::boolean(const char *, bool &field, bool defaultValue)
{
    field = defaultValue;
}

void CVDefaultsVisitor::count(const char *, unsigned char &field, unsigned char defaultValue)
{
    field = defaultValue;
}

void CVDefaultsVisitor::enumeration(const char *, std::uint32_t &field, std::uint32_t defaultValue)
{
    field = defaultValue;
}

void CVDefaultsVisitor::signedEnumeration(const char *, std::int32_t &field,
                                          std::int32_t defaultValue)
{
    field = defaultValue;
}

void CVDefaultsVisitor::dateStyle(const char *, std::uint32_t &field, std::uint32_t defaultValue)
{
    field = defaultValue;
}

void CVDefaultsVisitor::real(const char *, CGFloat &field, CGFloat defaultValue)
{
    field = defaultValue;
}

void CVDefaultsVisitor::colour(const char *, CVColor &field, CVColor defaultValue)
{
    field = defaultValue;
}

void CVDefaultsVisitor::text(const char *, char *buffer, std::size_t size)
{
    std::memset(buffer, 0, size);
}

void CVDefaultsVisitor::string(const char *, CFStringRef &field)
{
    if (field)
        CFRelease(field);
    field = nullptr;
}

void CVDefaultsVisitor::stringList(const char *, CFMutableArrayRef &list)
{
    if (list)
        CFArrayRemoveAllValues(list);
    else
        list = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
}

void CVDefaultsVisitor::itemFlags(const char *, bool (&flags)[CVStatusBarItemCount],
                                  CVStatusBarItems &items)
{
    for (bool &flag : flags)
        flag = false;
    items.fill();
}

void CVDefaultsVisitor::entity(const char *, CVSettingsEntity &member)
{
    member.setDefaults();
}

void CVDefaultsVisitor::changeCallback(CVChangeCallback &callback)
{
    callback = nullptr;
}

// Load -------------------------------------------------------------------------------

namespace {

// The C conversions of the settings file: a bool, a count and a colour component are
// read as a signed char (so 300 in a count becomes 44, as it always has), an
// enumeration as an int. NSNumber's accessors convert without undefined behaviour, also
// for reals out of range.
bool boolFrom(NSNumber *number)
{
    return number->charValue() != 0;
}

unsigned char byteFrom(NSNumber *number)
{
    return static_cast<unsigned char>(number->charValue());
}

// Stores a colour given as an array of exactly four numbers; anything else is ignored
// whole, so a colour is never half changed.
void readColour(id value, CVColor &colour)
{
    if (!CVIsKindOf(value, NSArray::class_()))
        return;
    auto *array = static_cast<NSArray *>(value);
    if (array->count() != 4)
        return;
    unsigned char components[4];
    for (NSUInteger index = 0; index < 4; ++index) {
        id element = array->objectAtIndex(index);
        if (!CVIsKindOf(element, NSNumber::class_()))
            return;
        components[index] = byteFrom(static_cast<NSNumber *>(element));
    }
    colour = {components[0], components[1], components[2], components[3]};
}

bool holdsOnlyStrings(NSArray *array)
{
    for (const auto &element : *array)
        if (!CVIsKindOf(element.get(), NSString::class_()))
            return false;
    return true;
}

} // namespace

CVLoadVisitor::CVLoadVisitor(CFDictionaryRef dictionary)
{
    if (!CVIsKindOf(dictionary, NSDictionary::class_()))
        return;
    m_entries.reserve(dictionary->count());
    for (const auto &[key, value] : *dictionary)
        if (CVIsKindOf(key.get(), NSString::class_()))
            m_entries.emplace_back(static_cast<NSString *>(key.get())->str(), value.get());
}

id CVLoadVisitor::valueFor(std::string_view key) const
{
    for (const auto &[entryKey, value] : m_entries)
        if (entryKey == key)
            return value;
    return nil;
}

NSNumber *CVLoadVisitor::numberFor(const char *key) const
{
    id value = valueFor(key);
    return CVIsKindOf(value, NSNumber::class_()) ? static_cast<NSNumber *>(value) : nullptr;
}

void CVLoadVisitor::boolean(const char *key, bool &field, bool)
{
    if (NSNumber *number = numberFor(key))
        field = boolFrom(number);
}

void CVLoadVisitor::count(const char *key, unsigned char &field, unsigned char)
{
    if (NSNumber *number = numberFor(key))
        field = byteFrom(number);
}

void CVLoadVisitor::enumeration(const char *key, std::uint32_t &field, std::uint32_t)
{
    if (NSNumber *number = numberFor(key))
        field = static_cast<std::uint32_t>(number->intValue());
}

void CVLoadVisitor::signedEnumeration(const char *key, std::int32_t &field, std::int32_t)
{
    if (NSNumber *number = numberFor(key))
        field = number->intValue();
}

void CVLoadVisitor::dateStyle(const char *key, std::uint32_t &field, std::uint32_t)
{
    enumeration(key, field, 0);
}

void CVLoadVisitor::real(const char *key, CGFloat &field, CGFloat)
{
    if (NSNumber *number = numberFor(key))
        field = number->doubleValue();
}

void CVLoadVisitor::colour(const char *key, CVColor &field, CVColor)
{
    readColour(valueFor(key), field);
}

// A text that does not fit its buffer with the terminating NUL is not stored: the
// conversion goes to a scratch buffer first, so a failed one leaves the old text whole.
void CVLoadVisitor::text(const char *key, char *buffer, std::size_t size)
{
    id value = valueFor(key);
    if (!CVIsKindOf(value, NSString::class_()))
        return;
    std::vector<char> converted(size);
    if (CFStringGetCString(static_cast<NSString *>(value), converted.data(),
                           static_cast<CFIndex>(size), kCFStringEncodingUTF8))
        std::memcpy(buffer, converted.data(), size);
}

void CVLoadVisitor::string(const char *key, CFStringRef &field)
{
    id value = valueFor(key);
    if (!CVIsKindOf(value, NSString::class_()))
        return;
    CFStringRef copy = CFStringCreateCopy(kCFAllocatorDefault, static_cast<NSString *>(value));
    if (field)
        CFRelease(field);
    field = copy;
}

void CVLoadVisitor::stringList(const char *key, CFMutableArrayRef &list)
{
    id value = valueFor(key);
    if (!CVIsKindOf(value, NSArray::class_()) || !holdsOnlyStrings(static_cast<NSArray *>(value)))
        return;
    // Copy the elements out first: the list given may be the stored list itself.
    StrongRef<NSArray> elements = NSArray::arrayWithArray(static_cast<NSArray *>(value));
    if (!list)
        list = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
    CFArrayRemoveAllValues(list);
    for (const auto &element : *elements)
        CFArrayAppendValue(list, element.get());
}

void CVLoadVisitor::itemFlags(const char *key, bool (&flags)[CVStatusBarItemCount],
                              CVStatusBarItems &items)
{
    id value = valueFor(key);
    if (!CVIsKindOf(value, NSDictionary::class_()))
        return;
    CVLoadVisitor names(static_cast<NSDictionary *>(value));
    for (int position = 0; position < CVStatusBarItemCount; ++position) {
        NSNumber *hidden = names.numberFor(CVStatusBarItems::names[position]);
        bool *flag = CVItemFlag(flags, items, position);
        if (hidden && flag)
            *flag = boolFrom(hidden);
    }
}

void CVLoadVisitor::entity(const char *key, CVSettingsEntity &member)
{
    id value = valueFor(key);
    if (CVIsKindOf(value, NSDictionary::class_()))
        member.load(static_cast<NSDictionary *>(value));
}
