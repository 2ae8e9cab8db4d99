// `cvsim script`: a fresh device that runs a script to its end. SpringBoard and the
// script share one process on the virtual clock (springboard --script), so a script's
// minutes pass in milliseconds and every run is the same; cvsim provides the device
// services and waits. Without --root the device lives in a temporary root that goes away
// afterwards, so a script never disturbs a device that `cvsim run` keeps.

#include "Commands.h"
#include "DeviceBoot.h"
#include "Processes.h"
#include "SpringBoardProcess.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace sim {

namespace {

// How long a scripted SpringBoard has to end when the script is interrupted.
constexpr int kStopGraceMs = 2000;

int usage(const std::string &error)
{
    std::fprintf(stderr, "cvsim: %s\nusage: cvsim script [FILE|-] %s\n", error.c_str(),
                 kBootOptionsUsage);
    return 2;
}

// A new directory for a throw-away device; empty when none can be made.
std::string makeTemporaryRoot()
{
    const char *base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/cvsim-script-XXXXXX";
    if (!mkdtemp(pattern.data()))
        return "";
    return pattern;
}

// Runs springboard on the script to its end and answers the script's exit status.
int runScript(BootedDevice &device, const std::string &script)
{
    pid_t springBoard = device.launchSpringBoard(1, {kScriptOption, script});
    if (springBoard < 0)
        return 1;
    for (;;) {
        if (waitForDeviceEvent() == DeviceEvent::StopAsked) {
            endChild(springBoard, kStopGraceMs);
            return 1;
        }
        if (std::optional<int> status = waitForChild(springBoard, 0)) {
            if (*status > 2)
                std::fprintf(stderr, "cvsim: the scripted device ended with status %d\n", *status);
            return *status > 2 ? 1 : *status;
        }
    }
}

} // namespace

int runScriptOnFreshDevice(const BootOptions &options, const std::string &script)
{
    std::string root = options.root ? *options.root : makeTemporaryRoot();
    if (root.empty()) {
        std::fprintf(stderr, "cvsim: cannot make a temporary device root\n");
        return 1;
    }
    holdDeviceSignals();
    BootedDevice device;
    int status = device.boot(options, root) ? runScript(device, script) : 1;
    device.shutDown();
    if (!options.root) {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    return status;
}

int scriptCommand(const std::vector<std::string> &words)
{
    ParsedBootOptions parsed = parseBootOptions(words);
    if (!parsed.options)
        return usage(parsed.error);
    std::vector<std::string> &operands = parsed.options->operands;
    if (operands.size() > 1)
        return usage("a script runs one file");
    std::string script = operands.empty() ? "-" : operands.front();
    if (script != "-" && access(script.c_str(), R_OK) != 0) {
        std::fprintf(stderr, "cvsim: cannot read the script %s\n", script.c_str());
        return 1;
    }
    return runScriptOnFreshDevice(*parsed.options, script);
}

} // namespace sim
