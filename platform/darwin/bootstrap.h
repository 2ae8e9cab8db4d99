#pragma once
// Bootstrap names: how a process finds another process's port. A process registers a
// receive right under a name with the device services; any process of the device may then
// look the name up and gets a send right to it. A name registered again (by a new instance
// of the same service, typically after its process restarted) points to the new port from
// then on, and a name whose process has gone away is forgotten, so a look-up always answers
// the live instance or BOOTSTRAP_UNKNOWN_SERVICE.

#include "darwin/mach.h"

extern "C" {

typedef char name_t[128];

#define BOOTSTRAP_SUCCESS 0
#define BOOTSTRAP_NOT_PRIVILEGED 1100
#define BOOTSTRAP_NAME_IN_USE 1101
#define BOOTSTRAP_UNKNOWN_SERVICE 1102
#define BOOTSTRAP_SERVICE_ACTIVE 1103
#define BOOTSTRAP_BAD_COUNT 1104
#define BOOTSTRAP_NO_MEMORY 1105

// Registers the port (a receive right or a send right of this process) under the name;
// bp is the task's bootstrap port (task_get_special_port with TASK_BOOTSTRAP_PORT).
kern_return_t bootstrap_register(mach_port_t bp, const char *service_name, mach_port_t port);

// Looks the name up and answers a send right to its port in *port.
kern_return_t bootstrap_look_up(mach_port_t bp, const char *service_name, mach_port_t *port);

} // extern "C"
