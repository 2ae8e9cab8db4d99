// Control Center's and Notification Center's device commands inside SpringBoard
// (CentersCommands.cpp checked their arguments), and their dump sections.

#include "features/FeatureLists.h"

#include "springboard/control-center/ControlCenterHost.h"
#include "springboard/notification-center/NotificationCenterHost.h"

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

ControlReply notificationCenter(const Arguments &arguments)
{
    if (arguments[0] == "open")
        return openNotificationCenter() ? commandDone()
                                        : commandFailed("Notification Center did not open: its "
                                                        "edge gesture is withdrawn or refused");
    return closeNotificationCenter() ? commandDone()
                                     : commandFailed("Notification Center is not open");
}

// The words after the bundle identifier are the text, one space between them.
ControlReply notify(const Arguments &arguments)
{
    std::string text = arguments[1];
    for (std::size_t i = 2; i < arguments.size(); ++i)
        text += " " + arguments[i];
    postNotification(arguments[0], text);
    return commandDone();
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
    {"notification-center", notificationCenter},
    {"notify", notify},
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

nlohmann::json notificationCenterDump()
{
    return dumpNotificationCenter();
}

} // namespace sim
