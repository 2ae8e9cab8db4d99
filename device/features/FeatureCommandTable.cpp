// Every feature's device commands. A feature adds its commands here by name, from a file
// of its own in this folder (its syntax) and FeatureActionTable.cpp (its actions).

#include "FeatureCommands.h"
#include "features/FeatureLists.h"

#include <algorithm>

namespace sim {

namespace {

using CommandList = std::span<const FeatureCommand> (*)();

constexpr CommandList kFeatures[] = {
    homeScreenCommands, appsCommands,       switcherCommands, centersCommands, statusBarCommands,
    lockScreenCommands, animationsCommands, fingerCommands,   recordCommands,
};

std::vector<FeatureCommand> allCommands()
{
    std::vector<FeatureCommand> commands;
    for (CommandList list : kFeatures)
        for (const FeatureCommand &command : list())
            commands.push_back(command);
    return commands;
}

} // namespace

std::span<const FeatureCommand> featureCommands()
{
    static const std::vector<FeatureCommand> kCommands = allCommands();
    return kCommands;
}

const FeatureCommand *findFeatureCommand(const std::string &name)
{
    std::span<const FeatureCommand> commands = featureCommands();
    auto found = std::find_if(commands.begin(), commands.end(),
                              [&](const FeatureCommand &command) { return name == command.name; });
    return found == commands.end() ? nullptr : &*found;
}

} // namespace sim
