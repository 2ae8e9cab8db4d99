// Opens a library by its phone path the way product code does: a plain dlopen from a
// library that knows nothing of the device root.

#include <dlfcn.h>

extern "C" void *PhoneLoaderOpen(const char *phonePath)
{
    return dlopen(phonePath, RTLD_NOW | RTLD_LOCAL);
}
