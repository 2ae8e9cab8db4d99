#pragma once
// The rocketbootstrap library as the device carries it at /usr/lib/librocketbootstrap.dylib.
// On the phone it lets sandboxed processes reach services that a sandbox would hide from
// bootstrap_look_up. The simulated device has no sandboxes, so unlocking a name only checks
// it and a look-up is a plain bootstrap look-up. Product code never links this library:
// it loads it with dlopen and falls back to the bootstrap calls when it is absent.

#include "darwin/bootstrap.h"

extern "C" {

// Makes the service name reachable from sandboxed processes.
kern_return_t rocketbootstrap_unlock(const char *service_name);

kern_return_t rocketbootstrap_look_up(mach_port_t bp, const char *service_name,
                                      mach_port_t *out_port);

} // extern "C"
