#pragma once
// What the frame benchmarks share: a layer tree rendered once an iteration with the
// renderer kept between frames, as the device keeps it, and the frames a second counted.

#include "quartzcore/Renderer.h"

#include <benchmark/benchmark.h>

// The run's frames a second, as a counter beside its time.
inline void countFramesPerSecond(benchmark::State &state)
{
    state.counters["frames_per_second"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// Renders `root` at `size` points and `scale` pixels a point once an iteration.
inline void renderLayerFrames(benchmark::State &state, CALayer *root, CGSize size, CGFloat scale)
{
    sim::Renderer renderer;
    for (auto _ : state) {
        const sim::PixelBuffer &frame = renderer.renderFrame(root, size, scale);
        benchmark::DoNotOptimize(frame.pixels.data());
    }
    countFramesPerSecond(state);
}
