#pragma once
// The device tool's commands. Each takes the arguments after its name and answers the
// process's exit status: 0 done, 1 failed, 2 misused.

#include "BootOptions.h"

#include <string>
#include <vector>

namespace sim {

int defaultsCommand(int argc, char **argv);
int listenCommand(int argc, char **argv);
int effectCommand(int argc, char **argv);

// These choose and prepare their root themselves (a --root among their words).
int runCommand(const std::vector<std::string> &words);
int scriptCommand(const std::vector<std::string> &words);
int galleryCommand(const std::vector<std::string> &words);

// Runs the script file on a fresh device booted with `options` (in a temporary root,
// removed afterwards, unless the options name one) and answers the script's status.
int runScriptOnFreshDevice(const BootOptions &options, const std::string &script);

// Drives the device of the current root.
int ctlCommand(const std::vector<std::string> &words);

} // namespace sim
