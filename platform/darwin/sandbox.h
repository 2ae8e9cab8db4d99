#pragma once
// Sandbox checks. The simulated device runs no process in a sandbox, so every operation is
// allowed; the call still validates its arguments as the phone does.

#include <sys/types.h>

extern "C" {

enum sandbox_filter_type {
    SANDBOX_FILTER_NONE = 0,
    SANDBOX_FILTER_PATH = 1,
    SANDBOX_FILTER_GLOBAL_NAME = 2,
    SANDBOX_FILTER_LOCAL_NAME = 3,
};

// Or-ed into the filter type: do not log a denial.
inline constexpr int SANDBOX_CHECK_NO_REPORT = 0x40000000;

// 0 when the process may perform the operation, 1 when it may not, -1 on bad arguments
// (errno EINVAL). The variable argument is the filter's subject (a path or a name).
int sandbox_check(pid_t pid, const char *operation, int type, ...);

} // extern "C"
