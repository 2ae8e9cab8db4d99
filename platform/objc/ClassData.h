#pragma once
// The runtime's own view of a class: its methods, instance variables, protocols and how
// its instances are made. Only the runtime's sources include this header.

#include "objc/Class.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

struct objc_selector {
    const char *name;
};

struct objc_method {
    SEL name;
    std::atomic<IMP> implementation;
    std::string types;
};

struct objc_ivar {
    std::string name;
    std::string types;
    std::ptrdiff_t offset;
};

struct objc_protocol {
    std::string name;
    bool registered = false;
};

namespace sim {

// Bits of NSObject::m_runtimeFlags.
inline constexpr std::uint32_t kHasAssociations = 1;
// Set by the last release, before -dealloc is sent: from then on retains and releases
// (a dealloc that hands itself to a helper) no longer count, so -dealloc runs once.
inline constexpr std::uint32_t kDeallocating = 2;

using Constructor = void (*)(void *memory);
using Destructor = void (*)(void *object);

struct ClassData {
    std::unordered_map<SEL, objc_method *> methods; // own methods only
    std::vector<objc_ivar *> ivars;                 // own instance variables
    std::vector<objc_protocol *> protocols;
    std::size_t instanceSize = 0;
    Constructor construct = nullptr; // the nearest C++ type's constructor, placement form
    Destructor destruct = nullptr;
    bool registered = false;
    // Disposed: out of the registry, freed once no instance and no subclass is left.
    bool disposed = false;
    std::string image; // the library whose code defines the class; empty when unknown
    std::atomic<std::size_t> liveInstances{0};
};

// Records the library that defines a class being registered. Needs runtimeLock exclusively.
void recordImage(Class cls);

// Marks a class taken out of the name table as disposed and frees what nothing refers to
// any more. Needs runtimeLock exclusively.
void disposeClass(Class cls);

// Frees every disposed class that nothing refers to any more: no live instance, no
// subclass. Needs runtimeLock exclusively.
void freeUnreferencedDisposedClasses();

// Hands a class's method table over to be freed once no sender can still read it. Needs
// runtimeLock exclusively.
void retireCacheOf(Class cls);

} // namespace sim
