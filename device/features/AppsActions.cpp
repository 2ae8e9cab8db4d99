// The applications' device commands inside SpringBoard (AppsCommands.cpp checked their
// arguments), and their dump section: the application in front, the running ones and the
// recently used ones.

#include "features/FeatureLists.h"

#include "springboard/apps/ApplicationsHost.h"

#include <nlohmann/json.hpp>

namespace sim {

namespace {

using Arguments = std::vector<std::string>;

ControlReply launch(const Arguments &arguments)
{
    if (!ApplicationsHost::launch(arguments[0]))
        return commandFailed(arguments[0] + " cannot be launched (not installed, no icon, or "
                                            "the device is locked)");
    return commandDone();
}

ControlReply quit(const Arguments &arguments)
{
    if (!ApplicationsHost::quit(arguments[0]))
        return commandFailed("no application " + arguments[0] + " is installed");
    return commandDone();
}

constexpr FeatureAction kActions[] = {
    {"launch", launch},
    {"quit", quit},
};

} // namespace

std::span<const FeatureAction> appsActions()
{
    return kActions;
}

nlohmann::json appsDump()
{
    return ApplicationsHost::dump();
}

} // namespace sim
