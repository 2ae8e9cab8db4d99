#include "DeviceBoot.h"

#include "Deliverables.h"
#include "DeviceRootSetup.h"
#include "Processes.h"
#include "SpringBoardProcess.h"

#include "foundation/DeviceRoot.h"

#include <csignal>
#include <cstdio>
#include <cstring>

namespace sim {

namespace {

sigset_t deviceSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : {SIGINT, SIGTERM, SIGCHLD})
        sigaddset(&signals, signal);
    return signals;
}

bool writeProfile(const DeviceProfile &profile)
{
    DeviceProfile::setCurrent(profile);
    if (!makeDirectories(hostPath("/var/run/corvane")) || !profile.save()) {
        std::fprintf(stderr, "cvsim: cannot write the device profile under %s\n",
                     deviceRoot().c_str());
        return false;
    }
    return true;
}

bool install()
{
    InstallReport report = installDeliverables(builtDeliverables());
    for (const std::string &path : report.copied)
        std::fprintf(stderr, "cvsim: installed %s\n", path.c_str());
    for (const std::string &error : report.errors)
        std::fprintf(stderr, "cvsim: %s\n", error.c_str());
    return report.errors.empty();
}

} // namespace

bool BootedDevice::boot(const BootOptions &options, const std::string &root)
{
    if (!prepareDeviceRoot(root))
        return false;
    // First, so that a device running on the root already is left exactly as it is.
    if (!m_services.start()) {
        std::fprintf(stderr,
                     "cvsim: cannot start the device services on %s: is a device "
                     "running there already?\n",
                     root.c_str());
        return false;
    }
    if (writeProfile(options.profile) && install())
        return true;
    m_services.stop();
    return false;
}

pid_t BootedDevice::launchSpringBoard(int launchNumber, const std::vector<std::string> &arguments,
                                      int console)
{
    pid_t child = spawnChild(springBoardExecutable(), arguments,
                             {{kBundleIdentifierVariable, kSpringBoardBundleIdentifier},
                              {kDeviceRootVariable, deviceRoot()},
                              {kLaunchNumberVariable, std::to_string(launchNumber)}},
                             console, console);
    if (child < 0)
        std::fprintf(stderr, "cvsim: cannot start %s: %s (build the target springboard)\n",
                     springBoardExecutable().c_str(), std::strerror(errno));
    return child;
}

void holdDeviceSignals()
{
    sigset_t signals = deviceSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

DeviceEvent waitForDeviceEvent()
{
    sigset_t signals = deviceSignals();
    for (;;) {
        int signal = sigwaitinfo(&signals, nullptr);
        if (signal == SIGCHLD)
            return DeviceEvent::ChildEnded;
        if (signal == SIGINT || signal == SIGTERM)
            return DeviceEvent::StopAsked;
    }
}

} // namespace sim
