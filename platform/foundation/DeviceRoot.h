#pragma once
// The device root: every absolute path of the phone ("/var/mobile/Library/Preferences/...",
// "/usr/lib/...", "/Library/...") lives under one directory of the host, chosen by the
// process that starts the device. Processes of the device learn it from the environment
// variable CORVANE_DEVICE_ROOT, which the device tool sets for the processes it launches;
// tests choose a temporary directory with setDeviceRoot. Only the stand-ins translate
// paths: product code keeps writing phone paths.

#include <string>
#include <string_view>

namespace sim {

// The host directory that plays "/" for the phone. Empty until one is chosen.
const std::string &deviceRoot();

// Chooses the device root for this process and the processes it starts (the variable is
// exported). Creates the directory if needed.
void setDeviceRoot(const std::string &hostDirectory);

// The host path of a phone path: "/var/run/x" becomes "<root>/var/run/x". A relative path
// is a host path already and is answered unchanged.
std::string hostPath(std::string_view phonePath);

// Creates a directory and its parents (mode 0700 for new ones); false when that fails.
[[nodiscard]] bool makeDirectories(const std::string &hostDirectory);

} // namespace sim
