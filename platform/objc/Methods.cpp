// Methods: looking an implementation up through the class chain, the method caches, and
// adding or replacing implementations.

#include "objc/ClassData.h"
#include "objc/RuntimeLocks.h"
#include "objc/runtime.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <new>

namespace sim {

namespace {

std::mutex &cacheLock()
{
    static auto &lock = *new std::mutex;
    return lock;
}

MethodCache *newMethodCache(std::uint32_t capacity)
{
    void *memory = ::operator new(sizeof(MethodCache) + (capacity - 1) * sizeof(CacheEntry));
    auto *cache = static_cast<MethodCache *>(memory);
    cache->mask = capacity - 1;
    cache->occupied = 0;
    for (std::uint32_t i = 0; i < capacity; ++i)
        new (&cache->entries[i]) CacheEntry;
    return cache;
}

// Answers whether a table was retired. Readers may still probe the old table; see Class.h.
bool replaceCache(Class cls, MethodCache *replacement)
{
    MethodCache *old = cls->cache.exchange(replacement, std::memory_order_acq_rel);
    if (old == emptyMethodCache())
        return false;
    retireCache(old);
    return true;
}

// Needs a shared runtimeLock and the cache lock. A table is at most three quarters full,
// so every probe ends at an empty slot; a full table is replaced by an empty one of
// twice the size rather than rehashed, since refilling costs only a few slow look-ups.
// Answers whether a table was retired.
bool fillCache(Class cls, SEL selector, IMP implementation)
{
    MethodCache *cache = cls->cache.load(std::memory_order_relaxed);
    if (cache->find(selector))
        return false;
    std::uint32_t capacity = cache->mask + 1;
    bool retired = false;
    if (cache == emptyMethodCache() || (cache->occupied + 1) * 4 > capacity * 3) {
        cache = newMethodCache(cache == emptyMethodCache() ? 8 : capacity * 2);
        retired = replaceCache(cls, cache);
    }
    std::uint32_t i = MethodCache::slotFor(selector, cache->mask);
    while (cache->entries[i].selector.load(std::memory_order_relaxed))
        i = (i + 1) & cache->mask;
    cache->entries[i].implementation.store(implementation, std::memory_order_relaxed);
    cache->entries[i].selector.store(selector, std::memory_order_release);
    ++cache->occupied;
    return retired;
}

// Needs runtimeLock (shared or exclusive).
objc_method *findMethod(Class cls, SEL selector)
{
    for (; cls; cls = cls->superclass) {
        auto found = cls->data->methods.find(selector);
        if (found != cls->data->methods.end())
            return found->second;
    }
    return nullptr;
}

// Adds, or with `replace` changes, the class's own method. Needs runtimeLock exclusively.
// Answers the previous implementation of an own method, or nullptr when it added one.
IMP addOrReplaceMethod(Class cls, SEL selector, IMP implementation, const char *types, bool replace)
{
    auto found = cls->data->methods.find(selector);
    if (found != cls->data->methods.end()) {
        if (!replace)
            return found->second->implementation.load();
        IMP previous = found->second->implementation.exchange(implementation);
        flushCachesHolding(selector);
        return previous;
    }
    cls->data->methods[selector] = new objc_method{selector, {implementation}, types ? types : ""};
    // Subclasses may have cached what they inherited until now.
    flushCachesHolding(selector);
    return nullptr;
}

} // namespace

MethodCache *emptyMethodCache()
{
    static MethodCache *empty = newMethodCache(1);
    return empty;
}

void retireCacheOf(Class cls)
{
    std::lock_guard lock(cacheLock());
    replaceCache(cls, emptyMethodCache());
}

void flushCachesHolding(SEL selector)
{
    std::lock_guard lock(cacheLock());
    for (Class cls : allClasses()) {
        if (cls->cache.load(std::memory_order_relaxed)->find(selector))
            replaceCache(cls, emptyMethodCache());
    }
}

IMP lookUpImplementation(Class cls, SEL selector)
{
    if (!cls || !selector)
        return nullptr;
    std::shared_lock lock(runtimeLock());
    objc_method *method = findMethod(cls, selector);
    if (!method)
        return nullptr;
    IMP implementation = method->implementation.load();
    bool retired;
    {
        std::lock_guard fill(cacheLock());
        retired = fillCache(cls, selector, implementation);
    }
    lock.unlock();
    if (retired)
        reclaimWhenManyRetired();
    return implementation;
}

} // namespace sim

using namespace sim;

void _objc_msgForward()
{
    std::fprintf(stderr, "_objc_msgForward: a message was sent that no class implements\n");
    std::abort();
}

Method class_getInstanceMethod(Class cls, SEL selector)
{
    if (!cls || !selector)
        return nullptr;
    std::shared_lock lock(runtimeLock());
    return findMethod(cls, selector);
}

Method class_getClassMethod(Class cls, SEL selector)
{
    return cls ? class_getInstanceMethod(cls->isa, selector) : nullptr;
}

IMP class_getMethodImplementation(Class cls, SEL selector)
{
    if (!cls || !selector)
        return nullptr;
    IMP implementation = findImplementation(cls, selector);
    return implementation ? implementation : _objc_msgForward;
}

BOOL class_respondsToSelector(Class cls, SEL selector)
{
    return cls && selector && findImplementation(cls, selector) != nullptr;
}

BOOL class_addMethod(Class cls, SEL selector, IMP implementation, const char *types)
{
    if (!cls || !selector || !implementation)
        return NO;
    {
        std::unique_lock lock(runtimeLock());
        if (cls->data->methods.count(selector))
            return NO;
        addOrReplaceMethod(cls, selector, implementation, types, false);
    }
    reclaimWhenManyRetired();
    return YES;
}

IMP class_replaceMethod(Class cls, SEL selector, IMP implementation, const char *types)
{
    if (!cls || !selector || !implementation)
        return nullptr;
    IMP previous;
    {
        std::unique_lock lock(runtimeLock());
        previous = addOrReplaceMethod(cls, selector, implementation, types, true);
    }
    reclaimWhenManyRetired();
    return previous;
}

SEL method_getName(Method method)
{
    return method ? method->name : nullptr;
}

IMP method_getImplementation(Method method)
{
    return method ? method->implementation.load() : nullptr;
}

IMP method_setImplementation(Method method, IMP implementation)
{
    if (!method || !implementation)
        return nullptr;
    IMP previous;
    {
        std::unique_lock lock(runtimeLock());
        previous = method->implementation.exchange(implementation);
        flushCachesHolding(method->name);
    }
    reclaimWhenManyRetired();
    return previous;
}

const char *method_getTypeEncoding(Method method)
{
    return method ? method->types.c_str() : nullptr;
}
