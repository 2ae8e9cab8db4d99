// SpringBoard's start-up as the device runs it: the `springboard` process started on a
// device root, from the moment it is spawned until its launch notification
// ("SBSpringBoardDidLaunchNotification") reaches another process of the device. With the
// extension injected, the time includes loading CorvaneBoard with libcv3 and libcv3UI,
// its entry, reading the settings file and every feature installer. The reference in the
// same run is the same start-up with no extension to inject: the difference is what the
// extension costs SpringBoard's launch. The goal is under 150 ms with the extension.

#include "Deliverables.h"
#include "Processes.h"
#include "SpringBoardProcess.h"

#include "darwin/TemporaryDevice.h"
#include "darwin/notify.h"
#include "foundation/DeviceProfile.h"
#include "foundation/DeviceRoot.h"
#include "foundation/RunLoop.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr const char *kLaunchNotification = "SBSpringBoardDidLaunchNotification";
constexpr const char *kFilter = "/Library/MobileSubstrate/DynamicLibraries/CorvaneBoard.plist";
// A start-up that takes longer than this has failed.
constexpr double kLaunchTimeoutSeconds = 20;

// One device for the whole run: its services, its deliverables and its profile.
struct BenchDevice {
    sim::TemporaryDevice device;
    bool ready = false;
    int launchToken = -1;
    bool launched = false;

    BenchDevice()
    {
        if (!device.ready() || !sim::makeDirectories(sim::hostPath("/var/run/corvane")) ||
            !sim::DeviceProfile().save())
            return;
        ready = sim::installDeliverables(sim::builtDeliverables()).errors.empty() &&
                notify_register_dispatch(kLaunchNotification, &launchToken,
                                         dispatch_get_main_queue(), [this](int) {
                                             launched = true;
                                             sim::RunLoop::main().stop();
                                         }) == NOTIFY_STATUS_OK;
    }
};

BenchDevice &benchDevice()
{
    static BenchDevice device;
    return device;
}

// Starts springboard and answers the seconds until its launch notification arrived, or a
// negative number when it never did. SpringBoard is ended afterwards, outside the time.
double launchOnce(BenchDevice &device)
{
    static const int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
    device.launched = false;
    auto start = std::chrono::steady_clock::now();
    pid_t springBoard =
        sim::spawnChild(sim::springBoardExecutable(), {},
                        {{sim::kBundleIdentifierVariable, sim::kSpringBoardBundleIdentifier},
                         {sim::kDeviceRootVariable, sim::deviceRoot()},
                         {sim::kLaunchNumberVariable, "1"}},
                        quiet);
    if (springBoard < 0)
        return -1;
    sim::RunLoop::main().runInMode(sim::kDefaultMode, kLaunchTimeoutSeconds, false);
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    sim::endChild(springBoard, 5000);
    return device.launched ? elapsed.count() : -1;
}

void measureLaunches(benchmark::State &state, bool withExtension)
{
    BenchDevice &device = benchDevice();
    if (!device.ready) {
        state.SkipWithError("no device to launch SpringBoard on");
        return;
    }
    // Without its filter beside it, the injection stand-in skips CorvaneBoard.
    std::string filter = sim::hostPath(kFilter);
    if (!withExtension)
        std::filesystem::rename(filter, filter + ".off");
    for (auto _ : state) {
        double seconds = launchOnce(device);
        if (seconds < 0) {
            state.SkipWithError("SpringBoard did not announce its launch");
            break;
        }
        state.SetIterationTime(seconds);
    }
    if (!withExtension)
        std::filesystem::rename(filter + ".off", filter);
}

void BM_SpringBoardLaunchWithExtension(benchmark::State &state)
{
    measureLaunches(state, true);
}
BENCHMARK(BM_SpringBoardLaunchWithExtension)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SpringBoardLaunchWithoutExtension(benchmark::State &state)
{
    measureLaunches(state, false);
}
BENCHMARK(BM_SpringBoardLaunchWithoutExtension)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
