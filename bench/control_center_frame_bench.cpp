// One frame of Control Center half open over the home screen, on the default phone
// (750 × 1334 pixels): the panel moves on by a step, pending layers display, and the
// visible windows are composited by a renderer kept between frames, with the panel's
// backdrop blurring what lies behind it (radius 30 points, σ = 60 pixels). Goal: 60
// frames a second on one core, 16.7 ms a frame.
//
// Reference in the same run: the home screen's frame with Control Center closed, so the
// difference is what the panel and its backdrop cost.

#include "ScreenFrames.h"

#include "springboard/control-center/ControlCenterHost.h"

namespace {

// Two positions around half open, taken in turn, as while a finger drags the panel.
constexpr double kRevealed[] = {0.48, 0.52};

void renderFrames(benchmark::State &state, bool controlCenter)
{
    BenchSpringBoard springBoard(state);
    if (!springBoard.ready())
        return;
    std::size_t frame = 0;
    for (auto _ : state) {
        if (controlCenter)
            sim::revealControlCenter(kRevealed[frame++ % 2]);
        springBoard.renderFrame();
    }
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
