#pragma once
// The device commands that each feature of the phone brings (the switcher's, the status
// bar's, the centers'…), beside the core commands of DeviceCommand.h. A feature keeps its
// commands in files of its own under device/features/: the syntax (here, shared by ctl and
// scripts, so that a mistake is refused before anything runs) and the action (in
// FeatureActions.h, run inside SpringBoard). Both tables list every feature by name, in
// features/FeatureCommandTable.cpp and features/FeatureActionTable.cpp.
//
// A feature command reaches its action as the words after its name: parsing checks them
// and keeps them as they are.

#include <span>
#include <string>
#include <vector>

namespace sim {

struct FeatureCommand {
    const char *name;
    // Its line for the usage messages, such as "switcher open|close".
    const char *usage;
    // Why the arguments cannot be right, or an empty string when they may be.
    std::string (*check)(const std::vector<std::string> &arguments);
    // The index of an argument that names a file or folder of this machine, which ctl
    // makes absolute before SpringBoard (running elsewhere) sees it; −1 for none.
    int pathArgument = -1;
};

// Every feature's commands, in the table's order.
std::span<const FeatureCommand> featureCommands();

// The command of that name, or nullptr.
const FeatureCommand *findFeatureCommand(const std::string &name);

} // namespace sim
