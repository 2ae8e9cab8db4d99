#include "rocketbootstrap.h"

#include <cstring>

extern "C" {

__attribute__((visibility("default"))) kern_return_t
rocketbootstrap_unlock(const char *service_name)
{
    if (!service_name || service_name[0] == '\0' || std::strlen(service_name) >= sizeof(name_t))
        return KERN_INVALID_ARGUMENT;
    return KERN_SUCCESS;
}

__attribute__((visibility("default"))) kern_return_t
rocketbootstrap_look_up(mach_port_t bp, const char *service_name, mach_port_t *out_port)
{
    return bootstrap_look_up(bp, service_name, out_port);
}

} // extern "C"
