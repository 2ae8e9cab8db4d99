// One frame of Control Center half open over the home screen, on the default phone
// (750 × 1334 pixels): the panel moves on by a step, pending layers display, and the
// visible windows are composited by a renderer kept between frames, with the panel's
// backdrop blurring what lies behind it (radius 30 points, σ = 60 pixels). Goal: 60
// frames a second on one core, 16.7 ms a frame.
//
// Reference in the same run: the home screen's frame with Control Center closed, so the
// difference is what the panel and its backdrop cost.

#include "darwin/TemporaryDevice.h"
#include "foundation/Clock.h"
#include "foundation/DeviceProfile.h"
#include "quartzcore/Renderer.h"
#include "springboard/SpringBoardHost.h"
#include "springboard/control-center/ControlCenterHost.h"
#include "uikit/Snapshot.h"
#include "uikit/UIScreen.h"
#include "uikit/UIWindow.h"

#include <benchmark/benchmark.h>

namespace {

// Two positions around half open, taken in turn, as while a finger drags the panel.
constexpr double kRevealed[] = {0.48, 0.52};

void renderFrames(benchmark::State &state, bool controlCenter)
{
    sim::TemporaryDevice device;
    if (!device.ready()) {
        state.SkipWithError("the device services did not start");
        return;
    }
    AutoreleasePool pool;
    sim::useVirtualClock();
    sim::DeviceProfile::setCurrent(sim::DeviceProfile{});
    sim::SpringBoardHost::launch();
    sim::SpringBoardHost::unlock();
    UIScreen *screen = UIScreen::mainScreen();
    sim::Renderer renderer;
    std::size_t frame = 0;
    for (auto _ : state) {
        if (controlCenter)
            sim::revealControlCenter(kRevealed[frame++ % 2]);
        std::vector<CALayer *> roots;
        for (UIWindow *window : sim::visibleWindowsBottomUp()) {
            sim::displayPendingLayers(window->layer());
            roots.push_back(window->layer());
        }
        const sim::PixelBuffer &pixels =
            renderer.renderFrame(roots, screen->bounds().size, screen->scale());
        benchmark::DoNotOptimize(pixels.pixels.data());
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    sim::SpringBoardHost::terminate();
}

void BM_ControlCenterHalfOpenFrame(benchmark::State &state)
{
    renderFrames(state, true);
}
BENCHMARK(BM_ControlCenterHalfOpenFrame)->Unit(benchmark::kMillisecond);

void BM_HomeScreenFrame(benchmark::State &state)
{
    renderFrames(state, false);
}
BENCHMARK(BM_HomeScreenFrame)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
