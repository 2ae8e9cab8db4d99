#pragma once
// Booting a device for `cvsim run` and `cvsim script`: the root made, the profile of the
// boot options written, the deliverables installed, the device services started (on a
// thread of cvsim), and then SpringBoard started as a process of its own. cvsim waits
// for signals rather than polling: SIGINT and SIGTERM end the device, SIGCHLD says
// SpringBoard ended.

#include "BootOptions.h"

#include "darwin/DeviceServices.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace sim {

class BootedDevice {
public:
    BootedDevice() = default;
    BootedDevice(const BootedDevice &) = delete;
    BootedDevice &operator=(const BootedDevice &) = delete;

    // Prepares `root` as the device for `options` and starts its services; false (after
    // a message on standard error) when any step fails or a device already runs there.
    [[nodiscard]] bool boot(const BootOptions &options, const std::string &root);

    // Starts springboard with `arguments`, as launch number `launchNumber`, its standard
    // output and error on `console` (-1: cvsim's own); -1 (after a message) when it cannot
    // be started.
    pid_t launchSpringBoard(int launchNumber, const std::vector<std::string> &arguments,
                            int console = -1);

    void shutDown() { m_services.stop(); }

private:
    DeviceServices m_services;
};

// Holds SIGINT, SIGTERM and SIGCHLD back for waitForDeviceEvent. Call before any thread
// starts, so that every thread of the process holds them back too.
void holdDeviceSignals();

enum class DeviceEvent {
    ChildEnded, // SIGCHLD
    StopAsked,  // SIGINT or SIGTERM
};

DeviceEvent waitForDeviceEvent();

} // namespace sim
