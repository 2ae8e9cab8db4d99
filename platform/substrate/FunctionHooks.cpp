// The hookable functions of the process: which exported function calls through which
// slot. There are a handful of them, registered once per host start, so a small map under
// a lock is all that is needed; the slots themselves are read without the lock by the
// functions that call through them, on the host's main thread.

#include "substrate/substrate.h"

#include <dlfcn.h>

#include "foundation/NSLog.h"

#include <map>
#include <mutex>

namespace {

std::mutex g_lock;

std::map<void *, void **> &slotsByFunction()
{
    static std::map<void *, void **> slots;
    return slots;
}

} // namespace

extern "C" void MSHookFunction(void *symbol, void *replacement, void **result)
{
    if (!symbol || !replacement) {
        NSLog("substrate: MSHookFunction needs a function and a replacement (got %p, %p)", symbol,
              replacement);
        return;
    }
    std::lock_guard guard(g_lock);
    auto found = slotsByFunction().find(symbol);
    if (found == slotsByFunction().end()) {
        NSLog("substrate: MSHookFunction: %p is not a function this process lets hook", symbol);
        return;
    }
    void **slot = found->second;
    if (result)
        *result = *slot;
    *slot = replacement;
}

namespace sim {

void registerHookableFunction(void *exportedFunction, void **slot)
{
    if (!exportedFunction || !slot)
        return;
    std::lock_guard guard(g_lock);
    slotsByFunction()[exportedFunction] = slot;
}

void unregisterHookableFunction(void *exportedFunction)
{
    std::lock_guard guard(g_lock);
    slotsByFunction().erase(exportedFunction);
}

} // namespace sim

// The phone's symbol names carry one more leading underscore than the C names; this
// platform's do not.
extern "C" void *MSFindSymbol(MSImageRef image, const char *name)
{
    if (image || !name || name[0] != '_')
        return nullptr;
    return dlsym(RTLD_DEFAULT, name + 1);
}
