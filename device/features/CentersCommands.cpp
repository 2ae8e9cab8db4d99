// Control Center's and Notification Center's device commands.
//
//     control-center open|close        a swipe up from the bottom edge, or closing it
//     notification-center open|close   a swipe down from the top edge, or pushing it back
//     notify BUNDLE_ID TEXT...          a notification of that application
//     tap-toggle INDEX                  a finger held on a toggle of the open Control Center
//                                       (from 0: settings, AirDrop, AirPlay, quick launch)

#include "BootOptions.h"
#include "features/FeatureLists.h"

#include <cmath>

namespace sim {

namespace {

using Arguments = std::vector<std::string>;

std::string checkOpenClose(const Arguments &arguments, const std::string &usage)
{
    if (arguments.size() != 1 || (arguments[0] != "open" && arguments[0] != "close"))
        return "usage: " + usage;
    return {};
}

std::string checkControlCenter(const Arguments &arguments)
{
    return checkOpenClose(arguments, "control-center open|close");
}

std::string checkNotificationCenter(const Arguments &arguments)
{
    return checkOpenClose(arguments, "notification-center open|close");
}

std::string checkNotify(const Arguments &arguments)
{
    if (arguments.size() < 2 || arguments[0].empty())
        return "usage: notify BUNDLE_ID TEXT";
    return {};
}

std::string checkTapToggle(const Arguments &arguments)
{
    std::optional<double> index = arguments.size() == 1 ? parseNumber(arguments[0]) : std::nullopt;
    if (!index || *index != std::floor(*index) || *index < 0)
        return "usage: tap-toggle INDEX (0 the first toggle of Control Center)";
    return {};
}

constexpr FeatureCommand kCommands[] = {
    {"control-center", "control-center open|close", checkControlCenter},
    {"notification-center", "notification-center open|close", checkNotificationCenter},
    {"notify", "notify BUNDLE_ID TEXT", checkNotify},
    {"tap-toggle", "tap-toggle INDEX", checkTapToggle},
};

} // namespace

std::span<const FeatureCommand> centersCommands()
{
    return kCommands;
}

} // namespace sim
