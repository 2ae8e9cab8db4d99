// The home screen's device commands: editing mode and folders.
//
//     edit on|off                        the icons' editing mode
//     open-folder INDEX | close-folder   the INDEX-th folder of the home screen (from 0)

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

constexpr FeatureCommand kCommands[] = {
    {"edit", "edit on|off", checkEdit},
    {"open-folder", "open-folder INDEX | close-folder", checkOpenFolder},
    {"close-folder", nullptr, checkCloseFolder},
};

} // namespace

std::span<const FeatureCommand> homeScreenCommands()
{
    return kCommands;
}

} // namespace sim
