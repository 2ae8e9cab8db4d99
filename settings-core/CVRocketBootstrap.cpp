#include "settings-core/CVRocketBootstrap.h"

#include <dlfcn.h>

namespace {

// The library's symbol, or nullptr when the library or the symbol is missing. The
// library is opened once per process and stays open.
void *rocketbootstrapSymbol(const char *name)
{
    static void *const library = dlopen("/usr/lib/librocketbootstrap.dylib", RTLD_LAZY);
    return library ? dlsym(library, name) : nullptr;
}

} // namespace

CVRocketBootstrapUnlockFunction CVRocketBootstrapUnlock()
{
    static const auto unlock = reinterpret_cast<CVRocketBootstrapUnlockFunction>(
        rocketbootstrapSymbol("rocketbootstrap_unlock"));
    return unlock;
}

CVBootstrapLookUpFunction CVBootstrapLookUp()
{
    static const CVBootstrapLookUpFunction lookUp = [] {
        auto rocketLookUp = reinterpret_cast<CVBootstrapLookUpFunction>(
            rocketbootstrapSymbol("rocketbootstrap_look_up"));
        return rocketLookUp ? rocketLookUp : bootstrap_look_up;
    }();
    return lookUp;
}
