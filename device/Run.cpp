// `cvsim run`: the device as a long-running job. SpringBoard runs in a process of its own
// and is started again each time it relaunches itself or is killed; its log lines reach
// this console through the console tail (ConsoleTail.h), which keeps the latest for the
// device page. The settings application runs beside it, serving the settings panel to a
// browser. The device page (DevicePage.h) shows both: its URL is the only line `run`
// prints on standard output; everything else goes to the console.

#include "Commands.h"
#include "ConsoleTail.h"
#include "Deliverables.h"
#include "DeviceBoot.h"
#include "DevicePage.h"
#include "DeviceRootSetup.h"
#include "FrameChannel.h"
#include "Processes.h"
#include "SpringBoardProcess.h"

#include "darwin/ReceiveRight.h"
#include "foundation/DeviceRoot.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace sim {

namespace {

// How long SpringBoard has to end when the device stops, before it is killed.
constexpr int kShutdownGraceMs = 5000;

// SpringBoard killed by a signal (a crash, or a kill from outside) is started again, as the
// phone's launchd keeps it alive; one that keeps dying this soon after its launch would only
// spin, so after kMaxShortLives such deaths in a row the device stops.
constexpr auto kShortLife = std::chrono::seconds(10);
constexpr int kMaxShortLives = 5;

// How long the settings application has to print its URL once started.
constexpr int kSettingsAppStartMs = 10000;

// The settings application while it runs: its process and the pipe it printed its URL
// on, kept open so that the application never writes into a closed pipe.
struct SettingsApp {
    pid_t process = -1;
    int output = -1;

    void stop()
    {
        if (process > 0)
            endChild(process, kShutdownGraceMs);
        if (output >= 0)
            close(output);
        process = -1;
        output = -1;
    }
};

// Starts the settings application on the device, framed by the device page; the device
// runs on without it (after a message) when it cannot start or does not print its URL.
SettingsApp startSettingsApp(DevicePage &page)
{
    SettingsApp app;
    std::string program = settingsAppExecutable();
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        std::fprintf(stderr, "cvsim: cannot start the settings application: %s\n",
                     std::strerror(errno));
        return app;
    }
    // Not SpringBoard: the application takes the ordinary identifier of a process.
    app.process =
        spawnChild(program, {"--framed-by", std::to_string(page.port())},
                   {{kDeviceRootVariable, deviceRoot()}, {kBundleIdentifierVariable, std::nullopt}},
                   -1, pipeEnds[1]);
    close(pipeEnds[1]);
    app.output = pipeEnds[0];
    if (app.process < 0) {
        std::fprintf(stderr, "cvsim: cannot start %s: %s (build the target CorvaneApp)\n",
                     program.c_str(), std::strerror(errno));
        app.stop();
        return app;
    }
    std::optional<std::string> url = readLineWithin(app.output, kSettingsAppStartMs);
    if (!url) {
        std::fprintf(stderr, "cvsim: the settings application did not start\n");
        app.stop();
        return app;
    }
    page.setSettingsUrl(*url);
    std::fprintf(stderr, "cvsim: the settings panel is at %s (process %d)\n", url->c_str(),
                 app.process);
    return app;
}

// A settings application that ended is reported once; the device runs on without it.
void noticeSettingsAppEnd(SettingsApp &app)
{
    if (app.process <= 0)
        return;
    if (std::optional<int> status = waitForChild(app.process, 0)) {
        std::fprintf(stderr, "cvsim: the settings application ended with status %d\n", *status);
        app.process = -1;
        app.stop();
    }
}

int usage(const std::string &error)
{
    std::fprintf(stderr, "cvsim: %s\nusage: cvsim run %s\n", error.c_str(), kBootOptionsUsage);
    return 2;
}

// Whether SpringBoard, ended with `status` (128 + the signal when killed) after a life
// that began at `launched`, is to be started again; counts the short lives in a row.
bool startsAgain(int status, std::chrono::steady_clock::time_point launched, int &shortLives)
{
    if (status == kRelaunchExitStatus)
        return true;
    if (status <= 128) {
        std::fprintf(stderr, "cvsim: SpringBoard ended with status %d; the device stops\n", status);
        return false;
    }
    bool shortLife = std::chrono::steady_clock::now() - launched < kShortLife;
    shortLives = shortLife ? shortLives + 1 : 0;
    if (shortLives >= kMaxShortLives) {
        std::fprintf(stderr,
                     "cvsim: SpringBoard was killed %d times in a row within seconds of its "
                     "launch (last by signal %d); the device stops\n",
                     shortLives, status - 128);
        return false;
    }
    std::fprintf(stderr, "cvsim: SpringBoard was killed by signal %d; starting it again\n",
                 status - 128);
    return true;
}

// Runs SpringBoard until the device is asked to stop (answers 0) or SpringBoard ends
// other than by relaunching or being killed (answers 1).
int superviseSpringBoard(BootedDevice &device, const std::string &root, SettingsApp &app,
                         DevicePage &page, int console)
{
    int launches = 1;
    int shortLives = 0;
    auto launched = std::chrono::steady_clock::now();
    pid_t springBoard = device.launchSpringBoard(launches, {}, console);
    if (springBoard < 0)
        return 1;
    page.springBoardLaunched(launches, springBoard);
    std::fprintf(stderr,
                 "cvsim: the device runs on %s (SpringBoard is process %d); stop it "
                 "with Ctrl-C\n",
                 root.c_str(), springBoard);
    app = startSettingsApp(page);
    page.serve();
    std::printf("%s\n", page.url().c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "cvsim: open the device page at %s\n", page.url().c_str());
    for (;;) {
        if (waitForDeviceEvent() == DeviceEvent::StopAsked) {
            app.stop();
            endChild(springBoard, kShutdownGraceMs);
            std::fprintf(stderr, "cvsim: the device stopped\n");
            return 0;
        }
        noticeSettingsAppEnd(app);
        std::optional<int> status = waitForChild(springBoard, 0);
        if (!status)
            continue;
        // A SpringBoard killed by a signal could not remove its ports' socket files.
        removeStalePortSockets();
        page.springBoardEnded();
        if (!startsAgain(*status, launched, shortLives))
            return 1;
        launched = std::chrono::steady_clock::now();
        springBoard = device.launchSpringBoard(++launches, {}, console);
        if (springBoard < 0)
            return 1;
        page.springBoardLaunched(launches, springBoard);
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
    ConsoleTail console;
    DevicePage page(parsed.options->profile.coreFoundationVersion, console);
    if (!console.start() || !page.start(0, frameSocketPath())) {
        device.shutDown();
        return 1;
    }
    SettingsApp app;
    int status = superviseSpringBoard(device, root, app, page, console.writeEnd());
    app.stop();
    // A child that had to be killed leaves its socket files; the device's root keeps none.
    removeStalePortSockets();
    page.stop();
    console.stop();
    device.shutDown();
    return status;
}

} // namespace sim
