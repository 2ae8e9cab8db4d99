// The status bar's device commands: the phone's networks, as the status bar reads them.
//
//     network wifi ADDRESS NAME | none   join the Wi-Fi network NAME with the IPv4 address
//                                        ADDRESS, or leave Wi-Fi
//     carrier NAME                       the cellular carrier's name (words joined by spaces)

#include "features/FeatureLists.h"

#include <arpa/inet.h>

namespace sim {

namespace {

using Arguments = std::vector<std::string>;

bool isIPv4Address(const std::string &text)
{
    in_addr address{};
    return inet_pton(AF_INET, text.c_str(), &address) == 1;
}

std::string checkNetwork(const Arguments &arguments)
{
    const std::string usage = "usage: network wifi ADDRESS NAME | network wifi none";
    if (arguments.empty() || arguments[0] != "wifi")
        return usage;
    if (arguments.size() == 2 && arguments[1] == "none")
        return {};
    if (arguments.size() != 3 || arguments[2].empty())
        return usage;
    if (!isIPv4Address(arguments[1]))
        return "network wifi: \"" + arguments[1] + "\" is not an IPv4 address";
    return {};
}

std::string checkCarrier(const Arguments &arguments)
{
    if (arguments.empty() || arguments[0].empty())
        return "usage: carrier NAME";
    return {};
}

constexpr FeatureCommand kCommands[] = {
    {"network", "network wifi ADDRESS NAME | none", checkNetwork},
    {"carrier", "carrier NAME", checkCarrier},
};

} // namespace

std::span<const FeatureCommand> statusBarCommands()
{
    return kCommands;
}

} // namespace sim
