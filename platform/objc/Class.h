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
// retires the old one, which stays allocated while a reader on another thread may still be
// probing it. Each thread marks the moments it probes a table (SendMark); retired tables
// are freed once every thread has been seen outside a probe after their retirement
// (RetiredCaches.cpp). The mark costs a reader two stores to memory of its own thread.

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

// A thread's mark that it is probing a method table. Marks are made by the runtime on a
// thread's first send and never freed (a thread may still send while it ends); the mark of
// a thread that is gone serves the next new thread.
struct SendMark {
    std::atomic<bool> probing{false};
    std::atomic<bool> ended{false};
    int thread = 0; // the kernel's thread identifier
};

// This thread's mark; null until its first send.
extern constinit thread_local SendMark *t_sendMark [[gnu::tls_model("initial-exec")]];
SendMark *markSendingThread();

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
    SendMark *mark = t_sendMark;
    if (!mark) [[unlikely]]
        mark = markSendingThread();
    // Only this thread writes its mark; the runtime makes the store visible before it
    // frees a table (a process-wide memory barrier), so no fence is paid here.
    mark->probing.store(true, std::memory_order_relaxed);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    IMP cached = cls->cache.load(std::memory_order_acquire)->find(selector);
    mark->probing.store(false, std::memory_order_release);
    return cached ? cached : lookUpImplementation(cls, selector);
}

} // namespace sim
