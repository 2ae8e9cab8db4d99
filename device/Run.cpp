// `cvsim run`: the device as a long-running job. SpringBoard runs in a process of its own
// and is started again each time it relaunches itself; its log lines reach this
// console because it shares cvsim's standard error.

#include "Commands.h"
#include "DeviceBoot.h"
#include "DeviceRootSetup.h"
#include "Processes.h"
#include "SpringBoardProcess.h"

#include <cstdio>

namespace sim {

namespace {

// How long SpringBoard has to end when the device stops, before it is killed.
constexpr int kShutdownGraceMs = 5000;

int usage(const std::string &error)
{
    std::fprintf(stderr, "cvsim: %s\nusage: cvsim run %s\n", error.c_str(), kBootOptionsUsage);
    return 2;
}

// Runs SpringBoard until the device is asked to stop (answers 0) or SpringBoard ends
// other than by relaunching (answers 1).
int superviseSpringBoard(BootedDevice &device, const std::string &root)
{
    int launches = 1;
    pid_t springBoard = device.launchSpringBoard(launches, {});
    if (springBoard < 0)
        return 1;
    std::fprintf(stderr,
                 "cvsim: the device runs on %s (SpringBoard is process %d); stop it "
                 "with Ctrl-C\n",
                 root.c_str(), springBoard);
    for (;;) {
        if (waitForDeviceEvent() == DeviceEvent::StopAsked) {
            endChild(springBoard, kShutdownGraceMs);
            std::fprintf(stderr, "cvsim: the device stopped\n");
            return 0;
        }
        std::optional<int> status = waitForChild(springBoard, 0);
        if (!status)
            continue;
        if (*status != kRelaunchExitStatus) {
            std::fprintf(stderr, "cvsim: SpringBoard ended with status %d; the device stops\n",
                         *status);
            return 1;
        }
        springBoard = device.launchSpringBoard(++launches, {});
        if (springBoard < 0)
            return 1;
        std::fprintf(stderr, "cvsim: SpringBoard relaunched (launch %d, process %d)\n", launches,
                     springBoard);
    }
}

} // namespace

int runCommand(const std::vector<std::string> &words)
{
    ParsedBootOptions parsed = parseBootOptions(words);
    if (!parsed.options)
        return usage(parsed.error);
    if (!parsed.options->operands.empty())
        return usage("run takes no operand \"" + parsed.options->operands.front() + "\"");
    std::string root = parsed.options->root.value_or(defaultDeviceRoot());
    holdDeviceSignals();
    BootedDevice device;
    if (!device.boot(*parsed.options, root))
        return 1;
    int status = superviseSpringBoard(device, root);
    device.shutDown();
    return status;
}

} // namespace sim
