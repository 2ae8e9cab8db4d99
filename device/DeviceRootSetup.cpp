#include "DeviceRootSetup.h"

#include "foundation/DeviceProfile.h"
#include "foundation/DeviceRoot.h"

#include <cstdio>
#include <cstdlib>

namespace sim {

namespace {

// The directories every phone has and the system writes into without making them.
constexpr const char *kPhoneDirectories[] = {
    "/var/mobile/Library/Preferences",
    "/var/run",
    "/usr/lib",
    "/Library/MobileSubstrate/DynamicLibraries",
    "/Library/PreferenceBundles",
};

} // namespace

std::string defaultDeviceRoot()
{
    if (const char *data = std::getenv("XDG_DATA_HOME"); data && *data)
        return std::string(data) + "/corvane/device";
    const char *home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/share/corvane/device";
}

bool prepareDeviceRoot(const std::string &root)
{
    if (!makeDirectories(root)) {
        std::fprintf(stderr, "cvsim: cannot make the device root %s\n", root.c_str());
        return false;
    }
    setDeviceRoot(root);
    for (const char *directory : kPhoneDirectories) {
        if (!makeDirectories(hostPath(directory))) {
            std::fprintf(stderr, "cvsim: cannot make %s\n", hostPath(directory).c_str());
            return false;
        }
    }
    DeviceProfile::current(); // sets the system's version number from the profile
    return true;
}

} // namespace sim
