// Control Center's and Notification Center's device commands inside SpringBoard
// (CentersCommands.cpp checked their arguments), and their dump sections.

#include "features/FeatureLists.h"

#include "springboard/control-center/ControlCenterHost.h"

#include <nlohmann/json.hpp>

namespace sim {

namespace {

using Arguments = std::vector<std::string>;

ControlReply controlCenter(const Arguments &arguments)
{
    if (arguments[0] == "open")
        return openControlCenter() ? commandDone()
                                   : commandFailed("Control Center did not open: its edge "
                                                   "gesture is withdrawn or refused");
    return closeControlCenter() ? commandDone() : commandFailed("Control Center is not open");
}

ControlReply tapToggle(const Arguments &arguments)
{
    int index = std::stoi(arguments[0]);
    if (!tapControlCenterToggle(index))
        return commandFailed("no toggle " + std::to_string(index) +
                             " to tap: Control Center is closed, or it has no such toggle, "
                             "or the toggle is hidden");
    return commandDone();
}

constexpr FeatureAction kActions[] = {
    {"control-center", controlCenter},
    {"tap-toggle", tapToggle},
};

} // namespace

std::span<const FeatureAction> centersActions()
{
    return kActions;
}

nlohmann::json controlCenterDump()
{
    return dumpControlCenter();
}

} // namespace sim
