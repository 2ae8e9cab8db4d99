// The applications' device commands.
//
//     launch BUNDLE_ID   a tap on the application's icon: it comes to the front
//     quit BUNDLE_ID     the system ends the application in the background

#include "features/FeatureLists.h"

namespace sim {

namespace {

using Arguments = std::vector<std::string>;

std::string checkLaunch(const Arguments &arguments)
{
    return arguments.size() == 1 ? std::string() : "usage: launch BUNDLE_ID";
}

std::string checkQuit(const Arguments &arguments)
{
    return arguments.size() == 1 ? std::string() : "usage: quit BUNDLE_ID";
}

constexpr FeatureCommand kCommands[] = {
    {"launch", "launch BUNDLE_ID", checkLaunch},
    {"quit", "quit BUNDLE_ID", checkQuit},
};

} // namespace

std::span<const FeatureCommand> appsCommands()
{
    return kCommands;
}

} // namespace sim
