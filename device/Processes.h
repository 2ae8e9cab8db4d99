#pragma once
// The processes of the device and how they start and end one another: cvsim starts
// `springboard`, and SpringBoard's `defaults write` runs the settings panel's edit cycle
// in a `cvsim` process of its own, as the panel would. A child gets this process's
// environment with the given changes, the default signal mask and dispositions (the
// parent may block signals it waits for), and this process's standard streams unless
// its standard error is sent elsewhere. Long-running processes end on SIGINT or SIGTERM.

#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace sim {

// Variables to set (a value) or to remove (nullopt) in the child's environment.
using EnvironmentChanges = std::map<std::string, std::optional<std::string>>;

// Starts `program` with `arguments` (argv[1] on), its standard error on `standardError`
// and its standard output on `standardOutput` unless they are -1; -1 (errno set) when it
// cannot start.
pid_t spawnChild(const std::string &program, const std::vector<std::string> &arguments,
                 const EnvironmentChanges &changes, int standardError = -1,
                 int standardOutput = -1);

// The next line that arrives on `fd` within `timeoutMs`, without its newline; nothing
// when the writer closes or the time runs out first. Reads byte by byte, so nothing after
// the line is taken from the descriptor.
std::optional<std::string> readLineWithin(int fd, int timeoutMs);

// Waits up to `timeoutMs` for the child to end and answers its exit status, 128 + the
// signal that ended it, -1 when it is not a child of this process (any more), or nullopt
// when it is still running.
std::optional<int> waitForChild(pid_t child, int timeoutMs);

// Asks the child to end (SIGTERM), waits up to `graceMs`, then kills it; answers how it
// ended.
int endChild(pid_t child, int graceMs);

// Runs `program` to its end (at most `timeoutMs`, then it is killed) and answers its
// status with what it wrote on standard error.
struct ChildOutcome {
    int status = -1;
    std::string standardError;
};
ChildOutcome runChild(const std::string &program, const std::vector<std::string> &arguments,
                      const EnvironmentChanges &changes, int timeoutMs);

// Blocks SIGINT and SIGTERM for the calling thread (call before any thread starts) and
// answers a descriptor that becomes readable when one arrives; -1 on failure.
int terminationSignalDescriptor();

// The status a waitpid status stands for: the exit status, or 128 + the signal.
int exitStatusOf(int waitStatus);

} // namespace sim
