#pragma once
// Key tables. Each settings entity lists its keys once, in visitKeys: the key as the
// settings file spells it, the field that holds it, its kind and its default. The four
// operations of an entity are four walks of that one table with different visitors:
//
//     void CVDock::visitKeys(CVKeyVisitor &keys)
//     {
//         keys.boolean("hideDock", hideDock, false);
//         keys.boolean("hideBackground", hideBackground, false);
//         keys.changeCallback(changeCallback);
//     }
//
// The kind decides how a file number becomes the field (the C conversions stored files
// rely on: bools, counts and colour components through signed char, enumerations
// through int, floats as CGFloat) and which number the field is written as. A value of
// the wrong kind (a string for a number, a number for a dictionary or a list, a colour
// that is not four numbers) is ignored and the field keeps what it had.

#include "settings-core/CVSettings.h"

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

class CVKeyVisitor {
public:
    // Numbers. `enumeration` is a 32-bit unsigned option written with
    // numberWithUnsignedInt:, `signedEnumeration` one written with numberWithInt:, and
    // `dateStyle` an NSDateFormatterStyle written with numberWithUnsignedInteger:.
    virtual void boolean(const char *key, bool &field, bool defaultValue) = 0;
    virtual void count(const char *key, unsigned char &field, unsigned char defaultValue) = 0;
    virtual void enumeration(const char *key, std::uint32_t &field, std::uint32_t defaultValue) = 0;
    virtual void signedEnumeration(const char *key, std::int32_t &field,
                                   std::int32_t defaultValue) = 0;
    virtual void dateStyle(const char *key, std::uint32_t &field, std::uint32_t defaultValue) = 0;
    virtual void real(const char *key, CGFloat &field, CGFloat defaultValue) = 0;
    virtual void colour(const char *key, CVColor &field, CVColor defaultValue) = 0;
    // A NUL-terminated UTF-8 buffer of `size` bytes, empty by default.
    virtual void text(const char *key, char *buffer, std::size_t size) = 0;
    // An owned string, absent by default.
    virtual void string(const char *key, CFStringRef &field) = 0;
    // An owned list of strings, empty by default.
    virtual void stringList(const char *key, CFMutableArrayRef &list) = 0;
    // One hidden flag per status bar item, kept as a nested dictionary of item names.
    virtual void itemFlags(const char *key, bool (&flags)[CVStatusBarItemCount],
                           CVStatusBarItems &items) = 0;
    // A nested entity, kept as a nested dictionary.
    virtual void entity(const char *key, CVSettingsEntity &member) = 0;
    // Not a key: the section's callback, which a reset clears.
    virtual void changeCallback(CVChangeCallback &callback) = 0;

    template <std::size_t N> void text(const char *key, char (&buffer)[N]) { text(key, buffer, N); }

protected:
    ~CVKeyVisitor() = default;
};

// Puts every field to its default, clears strings, lists and the callback, and fills the
// status bar item table.
class CVDefaultsVisitor final : public CVKeyVisitor {
public:
    void boolean(const char *, bool &field, bool defaultValue) override;
    void count(const char *, unsigned char &field, unsigned char defaultValue) override;
    void enumeration(const char *, std::uint32_t &field, std::uint32_t defaultValue) override;
    void signedEnumeration(const char *, std::int32_t &field, std::int32_t defaultValue) override;
    void dateStyle(const char *, std::uint32_t &field, std::uint32_t defaultValue) override;
    void real(const char *, CGFloat &field, CGFloat defaultValue) override;
    void colour(const char *, CVColor &field, CVColor defaultValue) override;
    void text(const char *, char *buffer, std::size_t size) override;
    void string(const char *, CFStringRef &field) override;
    void stringList(const char *, CFMutableArrayRef &list) override;
    void itemFlags(const char *, bool (&flags)[CVStatusBarItemCount],
                   CVStatusBarItems &items) override;
    void entity(const char *, CVSettingsEntity &member) override;
    void changeCallback(CVChangeCallback &callback) override;
    using CVKeyVisitor::text;
};

// Applies the keys present in a dictionary.
class CVLoadVisitor final : public CVKeyVisitor {
public:
    explicit CVLoadVisitor(CFDictionaryRef dictionary);

    void boolean(const char *key, bool &field, bool) override;
    void count(const char *key, unsigned char &field, unsigned char) override;
    void enumeration(const char *key, std::uint32_t &field, std::uint32_t) override;
    void signedEnumeration(const char *key, std::int32_t &field, std::int32_t) override;
    void dateStyle(const char *key, std::uint32_t &field, std::uint32_t) override;
    void real(const char *key, CGFloat &field, CGFloat) override;
    void colour(const char *key, CVColor &field, CVColor) override;
    void text(const char *key, char *buffer, std::size_t size) override;
    void string(const char *key, CFStringRef &field) override;
    void stringList(const char *key, CFMutableArrayRef &list) override;
    void itemFlags(const char *key, bool (&flags)[CVStatusBarItemCount],
                   CVStatusBarItems &items) override;
    void entity(const char *key, CVSettingsEntity &member) override;
    void changeCallback(CVChangeCallback &) override {}
    using CVKeyVisitor::text;

private:
    id valueFor(std::string_view key) const;
    NSNumber *numberFor(const char *key) const;

    // The dictionary's string-keyed entries. A walk compares the table's keys with these
    // texts, which is cheaper than making a string object per key for the few entries
    // that a live update carries.
    std::vector<std::pair<std::string_view, id>> m_entries;
};

// The common half of the two visitors that turn fields into objects: for every key they
// want, `put` receives the field as the file writes it.
class CVFieldWriter : public CVKeyVisitor {
public:
    void boolean(const char *key, bool &field, bool) override;
    void count(const char *key, unsigned char &field, unsigned char) override;
    void enumeration(const char *key, std::uint32_t &field, std::uint32_t) override;
    void signedEnumeration(const char *key, std::int32_t &field, std::int32_t) override;
    void dateStyle(const char *key, std::uint32_t &field, std::uint32_t) override;
    void real(const char *key, CGFloat &field, CGFloat) override;
    void colour(const char *key, CVColor &field, CVColor) override;
    void text(const char *key, char *buffer, std::size_t size) override;
    void changeCallback(CVChangeCallback &) override {}
    using CVKeyVisitor::text;

protected:
    ~CVFieldWriter() = default;
    virtual bool wants(const char *key) const = 0;
    virtual void put(const char *key, id value) = 0;
};

// Answers one key (getValue).
class CVValueVisitor final : public CVFieldWriter {
public:
    explicit CVValueVisitor(CFStringRef key);
    id result() const { return m_result; }

    void string(const char *key, CFStringRef &field) override;
    void stringList(const char *, CFMutableArrayRef &) override {}
    void itemFlags(const char *, bool (&flags)[CVStatusBarItemCount],
                   CVStatusBarItems &items) override;
    void entity(const char *, CVSettingsEntity &) override {}

protected:
    bool wants(const char *key) const override;
    void put(const char *key, id value) override;

private:
    std::string_view m_key;
    id m_result = nil;
};

// Writes every key into a dictionary (getDictionary).
class CVDictionaryVisitor final : public CVFieldWriter {
public:
    CVDictionaryVisitor();
    CFDictionaryRef result() const { return m_result; }

    void string(const char *key, CFStringRef &field) override;
    void stringList(const char *key, CFMutableArrayRef &list) override;
    void itemFlags(const char *key, bool (&flags)[CVStatusBarItemCount],
                   CVStatusBarItems &items) override;
    void entity(const char *key, CVSettingsEntity &member) override;

protected:
    bool wants(const char *) const override { return true; }
    void put(const char *key, id value) override;

private:
    NSMutableDictionary *m_result;
};

// The hidden flag of the item at `position` of the names list, read through the item
// table; nullptr when the table holds an index out of range.
bool *CVItemFlag(bool (&flags)[CVStatusBarItemCount], const CVStatusBarItems &items, int position);

// Whether an object is an instance of the class or of a subclass (false for nil).
bool CVIsKindOf(id object, Class cls);
