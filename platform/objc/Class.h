#pragma once
// What a class is made of. A class object starts like every object (its `isa` is the
// metaclass) and is followed by the method cache that message sending reads first, the
// superclass, and the class data that only the runtime's slower paths touch.
//
// The method cache is a small open-addressing table from selector to implementation.
// Readers take no lock: a reader loads the table pointer, then probes entries, loading a
// slot's selector with acquire order before its implementation. The one writer at a time
// (under the runtime's cache lock) stores the implementation first and the selector last
// with release order, so a reader that sees the selector also sees its implementation.
// A table is never changed in any other way: growing or flushing swaps in a new table and
// retires the old one, which stays allocated for as long as the process runs, because a
// reader on another thread may still be probing it. Flushes happen when methods change,
// which is rare (start-up and method replacement), so the retired tables stay few.

#include "objc/objc.h"

#include <atomic>

namespace sim {

struct CacheEntry {
    std::atomic<SEL> selector{nullptr};
    std::atomic<IMP> implementation{nullptr};
};

struct MethodCache {
    std::uint32_t mask;     // capacity - 1; capacity is a power of two
    std::uint32_t occupied; // written under the cache lock only
    CacheEntry entries[1];  // `mask + 1` entries follow

    static std::uint32_t slotFor(SEL selector, std::uint32_t mask)
    {
        return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(selector) >> 4) & mask;
    }

    // The cached implementation, or nullptr when the selector is not cached.
    IMP find(SEL selector) const
    {
        for (std::uint32_t i = slotFor(selector, mask);; i = (i + 1) & mask) {
            SEL cached = entries[i].selector.load(std::memory_order_acquire);
            if (cached == selector)
                return entries[i].implementation.load(std::memory_order_relaxed);
            if (cached == nullptr)
                return nullptr;
        }
    }
};

struct ClassData;

} // namespace sim

struct objc_class : objc_object {
    std::atomic<sim::MethodCache *> cache;
    Class superclass;
    const char *name;
    sim::ClassData *data;
    bool isMeta;
};

namespace sim {

// The slow path of message sending: looks the selector up through the class chain,
// fills the class's cache and answers the implementation, or nullptr when no class of
// the chain has the method.
IMP lookUpImplementation(Class cls, SEL selector);

inline IMP findImplementation(Class cls, SEL selector)
{
    IMP cached = cls->cache.load(std::memory_order_acquire)->find(selector);
    return cached ? cached : lookUpImplementation(cls, selector);
}

} // namespace sim
