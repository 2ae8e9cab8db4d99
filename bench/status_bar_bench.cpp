// The status bar's work on the phone's main thread: applyStatusBarSettings (the formatter
// reset and timer restart, and 25 item updates in one coalescent block) and one tick of
// the seconds clock (the time item formatted with seconds and written into the bar's
// data). The reference in the same run is one plain updateStatusBarItem: of an indicator
// item, the least any change of the bar costs. The goal is a seconds tick in under 50 µs
// of CPU time, so that a clock with seconds costs the phone nothing it would notice.

#include "darwin/TemporaryDevice.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Extension.h"
#include "springboard-extension/system-ui/StatusBar.h"
#include "springboard/SpringBoardHost.h"
#include "springboard/status-bar/SBStatusBarStateAggregator.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kAlarmItem = 13;

// SpringBoard running on a device of its own, with the status bar group installed.
struct BenchSpringBoard {
    sim::TemporaryDevice device;
    AutoreleasePool pool;
    SBStatusBarStateAggregator *aggregator = nullptr;

    BenchSpringBoard()
    {
        if (!device.ready() || !sim::SpringBoardHost::launch())
            return;
        LoadCachedClasses();
        gCVStatusBar.setDefaults();
        StatusBarInit();
        aggregator = msg<SBStatusBarStateAggregator *>(SBStatusBarStateAggregator::class_(),
                                                       "sharedInstance"_sel);
    }

    ~BenchSpringBoard() { sim::SpringBoardHost::terminate(); }
};

SBStatusBarStateAggregator *runningAggregator(benchmark::State &state)
{
    static BenchSpringBoard running;
    if (!running.aggregator)
        state.SkipWithError("SpringBoard did not start");
    return running.aggregator;
}

// Reference: one item brought up to date by SpringBoard's own message.
void BM_Reference_UpdateStatusBarItem(benchmark::State &state)
{
    SBStatusBarStateAggregator *aggregator = runningAggregator(state);
    for (auto _ : state) {
        AutoreleasePool pool;
        msg<void, int>(aggregator, "updateStatusBarItem:"_sel, kAlarmItem);
        benchmark::ClobberMemory();
    }
}

void BM_ApplyStatusBarSettings(benchmark::State &state)
{
    if (!runningAggregator(state))
        return;
    for (auto _ : state) {
        AutoreleasePool pool;
        applyStatusBarSettings();
        benchmark::ClobberMemory();
    }
}

void BM_SecondsTick(benchmark::State &state)
{
    SBStatusBarStateAggregator *aggregator = runningAggregator(state);
    if (!aggregator)
        return;
    gCVStatusBar.timeStringOption = 5;
    applyStatusBarSettings();
    for (auto _ : state) {
        AutoreleasePool pool;
        msg<void, id>(aggregator, "corvaneTimerCallback:"_sel, nil);
        benchmark::ClobberMemory();
    }
    gCVStatusBar.timeStringOption = 0;
}

BENCHMARK(BM_Reference_UpdateStatusBarItem);
BENCHMARK(BM_ApplyStatusBarSettings);
BENCHMARK(BM_SecondsTick);

} // namespace

BENCHMARK_MAIN();
