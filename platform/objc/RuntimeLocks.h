#pragma once
// The runtime's locks and tables shared between its sources.
//
// runtimeLock guards the class registry, method lists, instance variables and protocols:
// readers share it, changes take it exclusively. Method caches are read without it
// (Class.h); filling one happens under a shared runtimeLock plus the cache lock, so a
// change of methods (exclusive runtimeLock) never races a fill that would put a stale
// implementation back.

#include "objc/Class.h"

#include <shared_mutex>
#include <vector>

// The runtime's tables are made once and never destroyed: threads and exit-time
// destructors may still send messages while the process ends.

namespace sim {

std::shared_mutex &runtimeLock();

// Every class and metaclass ever made, for flushing caches. Guarded by runtimeLock.
std::vector<Class> &allClasses();

// The shared empty table that new and flushed classes start from.
MethodCache *emptyMethodCache();

// Empties the cache of every class that holds `selector`. Needs runtimeLock exclusively.
void flushCachesHolding(SEL selector);

// Hands a replaced method table over to be freed once no thread can be probing it
// (RetiredCaches.cpp).
void retireCache(MethodCache *table);
// Frees the retired tables when no thread probes; answers how many were freed.
std::size_t reclaimRetiredMethodCaches();
// The same, once enough tables were retired since the last attempt. Called without the
// runtime's locks.
void reclaimWhenManyRetired();
std::size_t retiredMethodCacheCount();

} // namespace sim
