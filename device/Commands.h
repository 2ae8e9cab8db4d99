#pragma once
// The device tool's commands. Each takes the arguments after its name and answers the
// process's exit status: 0 done, 1 failed, 2 misused.

namespace sim {

int defaultsCommand(int argc, char **argv);
int listenCommand(int argc, char **argv);

} // namespace sim
