#pragma once
// Running this test binary again as SpringBoard (or another application), for the
// settings core's behaviour that depends on the process it runs in (the reload service,
// the launch flag, the usage report). The child has its main bundle from its first
// instruction: the identifier comes with its environment, so that what the library arms
// as it loads sees it too. The binary's main asks springBoardRole() first and, when it
// answers a role, plays that role instead of running the tests.

#include <span>
#include <string>
#include <sys/types.h>
#include <utility>

namespace cvtest {

// Starts this binary as SpringBoard playing `role`, on the device of the calling test.
// Each pair (from, to) of `descriptors` hands the parent's descriptor `from` to the child
// as `to`. The environment is made before the fork: the device services run on a thread
// of this process, so the child calls nothing that could wait for a lock before exec.
pid_t startAsSpringBoard(const std::string &role,
                         std::span<const std::pair<int, int>> descriptors = {});
// The same with the main bundle `bundle`.
pid_t startAsApplication(const std::string &bundle, const std::string &role,
                         std::span<const std::pair<int, int>> descriptors = {});

// The role this process was started to play, or "" when it runs the tests.
std::string springBoardRole(int argc, char **argv);

} // namespace cvtest
