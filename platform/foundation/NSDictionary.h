#pragma once
// Dictionaries from keys to objects. Keys are copied when stored and compared with
// -hash and -isEqual:, so a string key matches any equal string. Entries keep the order
// in which they were added until one is removed (the last entry then takes its place);
// callers that need a fixed order sort the keys.

#include "objc/ClassBuilder.h"

#include <initializer_list>
#include <unordered_map>
#include <utility>
#include <vector>

struct NSArray;
struct NSString;

struct NSDictionary : NSObject {
    std::vector<std::pair<StrongRef<objc_object>, StrongRef<objc_object>>> m_entries;
    std::unordered_multimap<NSUInteger, std::size_t> m_indexByHash;

    static Class class_();
    static NSDictionary *dictionary();
    // Pairs of key and value; pairs with a nil key or value are left out.
    static NSDictionary *
    dictionaryWithObjectsForKeys(std::initializer_list<std::pair<id, id>> entries);
    static NSDictionary *dictionaryWithDictionary(const NSDictionary *other);

    // Reads a property-list file of any format whose top level is a dictionary; nil when
    // the file is missing, unreadable or holds something else. (PropertyListFiles.cpp)
    static NSDictionary *dictionaryWithContentsOfFile(NSString *path);
    // Writes the dictionary as an XML property list. Atomically: a temporary file beside
    // the target, flushed to disk, then renamed over it, so that a crash never leaves a
    // half-written file. False when any step fails, and the old file is then untouched.
    [[nodiscard]] bool writeToFile(NSString *path, bool atomically) const;

    NSUInteger count() const { return m_entries.size(); }
    id objectForKey(id key) const;
    NSArray *allKeys() const;
    NSArray *allValues() const;

    auto begin() const { return m_entries.begin(); }
    auto end() const { return m_entries.end(); }

protected:
    std::size_t indexOfKey(id key, NSUInteger hash) const;
    void store(id key, id value);
};

struct NSMutableDictionary : NSDictionary {
    static Class class_();
    static NSMutableDictionary *dictionary();
    static NSMutableDictionary *dictionaryWithDictionary(const NSDictionary *other);

    void setObjectForKey(id object, id key);
    void removeObjectForKey(id key);
    void addEntriesFromDictionary(const NSDictionary *other);
    void removeAllObjects();
};
