#pragma once
// What the runtime holds back only because another thread might still read it, and how a
// host frees it. Method tables replaced while senders may probe them are retired, and a
// disposed class stays while an instance or a subclass still refers to it (Class.h,
// ClassDisposal.cpp). A host that relaunches in its process (SpringBoard's in-process
// relaunch) frees what is free to go at each relaunch, so relaunching does not grow it.

#include <cstddef>

namespace sim {

struct RuntimeMemory {
    std::size_t classObjects = 0;        // classes and metaclasses, registered or disposed
    std::size_t retiredMethodCaches = 0; // replaced method tables not freed yet
};

RuntimeMemory runtimeMemory();

// Frees the retired method tables that no thread can still be probing and the disposed
// classes whose last instance and subclass are gone.
void reclaimRuntimeMemory();

} // namespace sim
