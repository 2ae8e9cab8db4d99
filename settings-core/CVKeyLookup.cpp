// Key look-up: which key a dotted path of a section names ("pages.coverflow.enabled",
// "itemIsHidden.vpn"), what kind of value it holds, and whether a value would be stored
// by a load. Tools that edit the settings file ask before they write, so that a value
// the model would silently ignore is refused instead of reported as written.

#include "settings-core/CVKeyTable.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool isNumber(id value)
{
    return CVIsKindOf(value, NSNumber::class_());
}

bool isString(id value)
{
    return CVIsKindOf(value, NSString::class_());
}

bool isColour(id value)
{
    if (!CVIsKindOf(value, NSArray::class_()))
        return false;
    auto *array = static_cast<NSArray *>(value);
    if (array->count() != 4)
        return false;
    for (const auto &element : *array)
        if (!isNumber(element.get()))
            return false;
    return true;
}

bool isStringList(id value)
{
    if (!CVIsKindOf(value, NSArray::class_()))
        return false;
    for (const auto &element : *static_cast<NSArray *>(value))
        if (!isString(element.get()))
            return false;
    return true;
}

// A text is stored only when it fits its buffer together with the terminating NUL.
bool fitsText(id value, std::size_t size)
{
    if (!isString(value))
        return false;
    std::vector<char> converted(size);
    return CFStringGetCString(static_cast<NSString *>(value), converted.data(),
                              static_cast<CFIndex>(size), kCFStringEncodingUTF8);
}

// Walks one entity's keys looking for the first part of the path; a nested entity is
// walked in turn with the rest.
class CVKeyFinder final : public CVKeyVisitor {
public:
    CVKeyFinder(std::span<const std::string_view> path, id value, CVKeyCheck &check)
        : m_path(path), m_value(value), m_check(check)
    {
    }

    void boolean(const char *key, bool &, bool) override { leaf(key, "a boolean", isNumber); }
    void count(const char *key, unsigned char &, unsigned char) override
    {
        leaf(key, "a number", isNumber);
    }
    void enumeration(const char *key, std::uint32_t &, std::uint32_t) override
    {
        leaf(key, "a number", isNumber);
    }
    void signedEnumeration(const char *key, std::int32_t &, std::int32_t) override
    {
        leaf(key, "a number", isNumber);
    }
    void dateStyle(const char *key, std::uint32_t &, std::uint32_t) override
    {
        leaf(key, "a number", isNumber);
    }
    void real(const char *key, CGFloat &, CGFloat) override { leaf(key, "a number", isNumber); }
    void colour(const char *key, CVColor &, CVColor) override
    {
        leaf(key, "a colour (an array of four numbers)", isColour);
    }
    void text(const char *key, char *, std::size_t size) override
    {
        if (!names(key))
            return;
        found("a text of at most " + std::to_string(size - 1) + " bytes", fitsText(m_value, size));
    }
    void string(const char *key, CFStringRef &) override { leaf(key, "a string", isString); }
    void stringList(const char *key, CFMutableArrayRef &) override
    {
        leaf(key, "a list of strings", isStringList);
    }
    void itemFlags(const char *key, bool (&)[CVStatusBarItemCount], CVStatusBarItems &) override
    {
        if (m_check.known || m_path.front() != key)
            return;
        if (m_path.size() == 1) {
            m_check.known = true;
            m_check.expected = "a status bar item name after \"" + std::string(key) + ".\"";
            return;
        }
        const char *const *end = CVStatusBarItems::names + CVStatusBarItemCount;
        if (m_path.size() == 2 && std::find(CVStatusBarItems::names, end, m_path[1]) != end)
            found("a boolean", isNumber(m_value));
    }
    void entity(const char *key, CVSettingsEntity &member) override
    {
        if (m_check.known || m_path.front() != key)
            return;
        if (m_path.size() == 1) {
            m_check.known = true;
            m_check.expected = "one of its keys after \"" + std::string(key) + ".\"";
            return;
        }
        m_check = member.checkKey(m_path.subspan(1), m_value);
    }
    void changeCallback(CVChangeCallback &) override {}
    using CVKeyVisitor::text;

private:
    bool names(const char *key) const
    {
        return !m_check.known && m_path.size() == 1 && m_path.front() == key;
    }
    void leaf(const char *key, const char *expected, bool (*accepts)(id))
    {
        if (names(key))
            found(expected, accepts(m_value));
    }
    void found(std::string expected, bool accepted)
    {
        m_check.known = true;
        m_check.accepted = accepted;
        m_check.expected = std::move(expected);
    }

    std::span<const std::string_view> m_path;
    id m_value;
    CVKeyCheck &m_check;
};

} // namespace

CVKeyCheck CVSettingsEntity::checkKey(std::span<const std::string_view> path, id value)
{
    CVKeyCheck check;
    if (path.empty() ||
        std::any_of(path.begin(), path.end(), [](std::string_view part) { return part.empty(); }))
        return check;
    CVKeyFinder finder(path, value, check);
    visitKeys(finder);
    return check;
}
