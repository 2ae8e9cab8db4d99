// The home screen's device commands: editing mode and folders.
//
//     edit on|off                        the icons' editing mode
//     open-folder INDEX | close-folder   the INDEX-th folder of the home screen (from 0)
//     drag-icon FROM TO                  in editing mode, the icon FROM (an application's
//                                        identifier or a folder's name) dragged to place TO
//                                        of its list (from 0) or onto the icon TO
//     badge BUNDLE_ID [TEXT]             the application's badge; without TEXT, none
//     pinch                              two fingers pinch inward on the open folder
//     spotlight open|close               the pull-down Spotlight

#include "BootOptions.h"
#include "features/FeatureLists.h"

#include <cmath>

namespace sim {

namespace {

using Arguments = std::vector<std::string>;

std::string checkEdit(const Arguments &arguments)
{
    if (arguments.size() != 1 || (arguments[0] != "on" && arguments[0] != "off"))
        return "usage: edit on|off";
    return {};
}

std::string checkOpenFolder(const Arguments &arguments)
{
    std::optional<double> index = arguments.size() == 1 ? parseNumber(arguments[0]) : std::nullopt;
    if (!index || *index != std::floor(*index) || *index < 0)
        return "usage: open-folder INDEX (0 the first folder of the home screen)";
    return {};
}

std::string checkCloseFolder(const Arguments &arguments)
{
    return arguments.empty() ? std::string() : "close-folder takes no arguments";
}

std::string checkDragIcon(const Arguments &arguments)
{
    if (arguments.size() != 2)
        return "usage: drag-icon FROM TO (FROM an identifier or folder name, TO a place from 0 "
               "or another icon)";
    return {};
}

std::string checkBadge(const Arguments &arguments)
{
    if (arguments.empty() || arguments.size() > 2)
        return "usage: badge BUNDLE_ID [TEXT] (without TEXT the badge is cleared)";
    return {};
}

std::string checkPinch(const Arguments &arguments)
{
    return arguments.empty() ? std::string() : "pinch takes no arguments";
}

std::string checkSpotlight(const Arguments &arguments)
{
    if (arguments.size() != 1 || (arguments[0] != "open" && arguments[0] != "close"))
        return "usage: spotlight open|close";
    return {};
}

constexpr FeatureCommand kCommands[] = {
    {"edit", "edit on|off", checkEdit},
    {"open-folder", "open-folder INDEX | close-folder", checkOpenFolder},
    {"close-folder", nullptr, checkCloseFolder},
    {"drag-icon", "drag-icon FROM TO", checkDragIcon},
    {"badge", "badge BUNDLE_ID [TEXT]", checkBadge},
    {"pinch", "pinch", checkPinch},
    {"spotlight", "spotlight open|close", checkSpotlight},
};

} // namespace

std::span<const FeatureCommand> homeScreenCommands()
{
    return kCommands;
}

} // namespace sim
