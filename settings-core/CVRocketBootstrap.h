#pragma once
// rocketbootstrap lets sandboxed processes (the Settings application's panel is one)
// reach a service that their sandbox would hide from bootstrap_look_up. It is an optional
// library: it is opened once per process from its phone path, and when it or one of its
// functions is missing the plain bootstrap calls do the work.

#include "darwin/bootstrap.h"

using CVRocketBootstrapUnlockFunction = kern_return_t (*)(const char *serviceName);
using CVBootstrapLookUpFunction = kern_return_t (*)(mach_port_t bootstrapPort,
                                                    const char *serviceName, mach_port_t *port);

// rocketbootstrap_unlock, or nullptr when the library does not offer it.
CVRocketBootstrapUnlockFunction CVRocketBootstrapUnlock();

// rocketbootstrap_look_up where available, else bootstrap_look_up.
CVBootstrapLookUpFunction CVBootstrapLookUp();
