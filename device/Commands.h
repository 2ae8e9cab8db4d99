#pragma once
// The device tool's commands. Each takes the arguments after its name and answers the
// process's exit status: 0 done, 1 failed, 2 misused.

#include <string>
#include <vector>

namespace sim {

int defaultsCommand(int argc, char **argv);
int listenCommand(int argc, char **argv);
int effectCommand(int argc, char **argv);

// These choose and prepare their root themselves (a --root among their words).
int runCommand(const std::vector<std::string> &words);
int scriptCommand(const std::vector<std::string> &words);

// Drives the device of the current root.
int ctlCommand(const std::vector<std::string> &words);

} // namespace sim
