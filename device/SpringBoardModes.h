#pragma once
// The two ways the `springboard` process runs (SpringBoardProcess.h): served, on the
// real clock, driven through the control channel and ended by cvsim; or scripted, on the
// virtual clock, driven by a script in the same process. Both answer the process's exit
// status.

#include "DeviceDump.h"

#include <string>

namespace sim {

int serveSpringBoard(LogCollector &log);
int runScriptedSpringBoard(const std::string &script, LogCollector &log);

// Ends the process at once with `status`, after flushing its output. SpringBoard's
// objects live as long as the process, as on the phone: nothing is unwound.
[[noreturn]] void endSpringBoardProcess(int status);

} // namespace sim
