#include "foundation/NSDictionary.h"
#include "foundation/Copying.h"

#include "foundation/NSArray.h"
#include "foundation/NSString.h"

namespace {

Class g_dictionaryClass;
Class g_mutableDictionaryClass;

constexpr std::size_t kNoIndex = static_cast<std::size_t>(-1);

NSDictionary *newDictionary(Class cls, const NSDictionary *contents)
{
    auto *dictionary = sim::create<NSDictionary>(cls);
    if (contents) {
        dictionary->m_entries = contents->m_entries;
        dictionary->m_indexByHash = contents->m_indexByHash;
    }
    return dictionary;
}

NSUInteger hashOf(id key)
{
    return msg<NSUInteger>(key, "hash"_sel);
}

BOOL isEqual(NSDictionary *self, SEL, id other)
{
    if (self == other)
        return YES;
    if (!other || !msg<BOOL>(other, "isKindOfClass:"_sel, g_dictionaryClass))
        return NO;
    auto *dictionary = static_cast<NSDictionary *>(other);
    if (dictionary->count() != self->count())
        return NO;
    for (const auto &[key, value] : *self)
        if (!sim::objectsEqual(value, dictionary->objectForKey(key)))
            return NO;
    return YES;
}

NSUInteger hash(NSDictionary *self, SEL)
{
    return self->count();
}

id copyOfMutable(NSDictionary *self, SEL)
{
    return newDictionary(g_dictionaryClass, self);
}

id mutableCopy(NSDictionary *self, SEL)
{
    return newDictionary(g_mutableDictionaryClass, self);
}

NSString *description(NSDictionary *self, SEL)
{
    std::string text = "{\n";
    for (const auto &[key, value] : *self)
        text += "    " + sim::describe(key) + " = " + sim::describe(value) + ";\n";
    return NSString::stringWithString(text + "}");
}

const Class kRegistered = [] {
    g_dictionaryClass = ClassBuilder<NSDictionary>("NSDictionary", "NSObject")
                            .method("isEqual:", isEqual)
                            .method("hash", hash)
                            .method("copy", sim::copyByRetaining)
                            .method("mutableCopy", mutableCopy)
                            .method("description", description)
                            .registerClass();
    g_mutableDictionaryClass =
        ClassBuilder<NSMutableDictionary>("NSMutableDictionary", "NSDictionary")
            .method("copy", copyOfMutable)
            .registerClass();
    return g_dictionaryClass;
}();

} // namespace

Class NSDictionary::class_()
{
    return g_dictionaryClass;
}

NSDictionary *NSDictionary::dictionary()
{
    return autorelease(newDictionary(g_dictionaryClass, nullptr));
}

NSDictionary *
NSDictionary::dictionaryWithObjectsForKeys(std::initializer_list<std::pair<id, id>> entries)
{
    NSDictionary *dictionary = newDictionary(g_dictionaryClass, nullptr);
    for (auto [key, value] : entries)
        dictionary->store(key, value);
    return autorelease(dictionary);
}

NSDictionary *NSDictionary::dictionaryWithDictionary(const NSDictionary *other)
{
    return autorelease(newDictionary(g_dictionaryClass, other));
}

std::size_t NSDictionary::indexOfKey(id key, NSUInteger hash) const
{
    auto [first, last] = m_indexByHash.equal_range(hash);
    for (auto it = first; it != last; ++it)
        if (sim::objectsEqual(m_entries[it->second].first, key))
            return it->second;
    return kNoIndex;
}

id NSDictionary::objectForKey(id key) const
{
    if (!key)
        return nil;
    std::size_t index = indexOfKey(key, hashOf(key));
    return index == kNoIndex ? nil : m_entries[index].second.get();
}

// Adds or replaces; the key is copied, as keys must not change while stored.
void NSDictionary::store(id key, id value)
{
    if (!key || !value)
        return;
    NSUInteger hash = hashOf(key);
    std::size_t index = indexOfKey(key, hash);
    if (index != kNoIndex) {
        m_entries[index].second = value;
        return;
    }
    StrongRef<objc_object> copiedKey = StrongRef<objc_object>::adopt(msg<id>(key, "copy"_sel));
    m_indexByHash.emplace(hash, m_entries.size());
    m_entries.emplace_back(std::move(copiedKey), value);
}

NSArray *NSDictionary::allKeys() const
{
    NSMutableArray *keys = NSMutableArray::array();
    for (const auto &entry : m_entries)
        keys->addObject(entry.first);
    return keys;
}

NSArray *NSDictionary::allValues() const
{
    NSMutableArray *values = NSMutableArray::array();
    for (const auto &entry : m_entries)
        values->addObject(entry.second);
    return values;
}

Class NSMutableDictionary::class_()
{
    return g_mutableDictionaryClass;
}

NSMutableDictionary *NSMutableDictionary::dictionary()
{
    return autorelease(
        static_cast<NSMutableDictionary *>(newDictionary(g_mutableDictionaryClass, nullptr)));
}

NSMutableDictionary *NSMutableDictionary::dictionaryWithDictionary(const NSDictionary *other)
{
    return autorelease(
        static_cast<NSMutableDictionary *>(newDictionary(g_mutableDictionaryClass, other)));
}

void NSMutableDictionary::setObjectForKey(id object, id key)
{
    store(key, object);
}

void NSMutableDictionary::removeObjectForKey(id key)
{
    if (!key)
        return;
    NSUInteger hash = hashOf(key);
    std::size_t index = indexOfKey(key, hash);
    if (index == kNoIndex)
        return;
    auto eraseIndexEntry = [this](NSUInteger entryHash, std::size_t entryIndex) {
        auto [first, last] = m_indexByHash.equal_range(entryHash);
        for (auto it = first; it != last; ++it)
            if (it->second == entryIndex) {
                m_indexByHash.erase(it);
                return;
            }
    };
    eraseIndexEntry(hash, index);
    std::size_t lastIndex = m_entries.size() - 1;
    if (index != lastIndex) {
        NSUInteger movedHash = hashOf(m_entries[lastIndex].first);
        eraseIndexEntry(movedHash, lastIndex);
        m_indexByHash.emplace(movedHash, index);
        m_entries[index] = std::move(m_entries[lastIndex]);
    }
    m_entries.pop_back();
}

void NSMutableDictionary::addEntriesFromDictionary(const NSDictionary *other)
{
    if (!other)
        return;
    for (const auto &[key, value] : *other)
        store(key, value);
}

void NSMutableDictionary::removeAllObjects()
{
    m_entries.clear();
    m_indexByHash.clear();
}
