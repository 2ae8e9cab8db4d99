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
};

} // namespace sim
