// The app switcher's device command inside SpringBoard (SwitcherCommands.cpp checked its
// arguments), and its dump section: whether it is open and its pages.

#include "features/FeatureLists.h"

#include "springboard/switcher/SwitcherHost.h"

#include <nlohmann/json.hpp>

namespace sim {

namespace {

using Arguments = std::vector<std::string>;

ControlReply gesture(const std::string &name, std::size_t index)
{
    bool done = name == "tap"        ? SwitcherHost::tap(index)
                : name == "swipe-up" ? SwitcherHost::swipeUp(index)
                                     : SwitcherHost::scroll(index);
    if (done)
        return commandDone();
    if (!SwitcherHost::isOpen())
        return commandFailed("the switcher is not open");
    if (name == "swipe-up" && index < SwitcherHost::dump()["pages"].size())
        return commandFailed("the switcher keeps page " + std::to_string(index));
    return commandFailed("the switcher has no page " + std::to_string(index));
}

ControlReply switcher(const Arguments &arguments)
{
    if (arguments[0] == "open")
        return SwitcherHost::open() ? commandDone() : commandFailed("the device is locked");
    if (arguments[0] == "close") {
        SwitcherHost::close();
        return commandDone();
    }
    return gesture(arguments[0], std::stoul(arguments[1]));
}

constexpr FeatureAction kActions[] = {
    {"switcher", switcher},
};

} // namespace

std::span<const FeatureAction> switcherActions()
{
    return kActions;
}

nlohmann::json switcherDump()
{
    return SwitcherHost::dump();
}

} // namespace sim
