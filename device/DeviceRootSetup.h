#pragma once
// Choosing and preparing the device root: the directory that plays the phone's "/" for
// every process of the device.

#include <string>

namespace sim {

// $XDG_DATA_HOME/corvane/device, else ~/.local/share/corvane/device.
std::string defaultDeviceRoot();

// Chooses the root for this process and those it starts, makes the phone's standard
// directories in it, and reads its device profile. False (with a message) when the root
// cannot be made.
[[nodiscard]] bool prepareDeviceRoot(const std::string &root);

} // namespace sim
