#pragma once
// The status bar's part of SpringBoard: its classes, and the entry points through which
// the device tool changes what the phone's network is, as the network itself would.

#include <optional>
#include <string>

namespace sim {

void registerStatusBarClasses();

namespace StatusBarHost {

// The phone joins another carrier: the telephony manager takes its name.
void setCarrier(const std::string &name);
// The phone joins a Wi-Fi network (an IPv4 address for "en0" and the network's name) or,
// with neither, leaves Wi-Fi; the status bar's Wi-Fi item follows.
void setWiFi(const std::optional<std::string> &address, const std::optional<std::string> &name);

} // namespace StatusBarHost

} // namespace sim
