// One rendered frame in the middle of each lock animation (BM_LockAnimationFrame/1…4:
// Blur, Old TV, Zoom Out, Slide Away) on the default phone (750 × 1334 pixels), over the
// home screen of SpringBoard: the animation is started as locking starts it and the
// virtual clock stands half-way through it, so every frame composites the animated
// overlay with its presented values, and the Blur animation's frame blurs the screen
// snapshot (the renderer keeps no rasterised copy of it). Goal: 60 frames a second on one
// core, 16.7 ms.
//
// Reference in the same run: the home screen's frame with no animation running.

#include "ScreenFrames.h"

#include "effects/CVLockAnimator.h"

namespace {

constexpr float kDuration = 0.5f;

CVLockAnimator *animator()
{
    return msg<CVLockAnimator *>(CVLockAnimator::class_(), "sharedInstance"_sel);
}

void renderLockFrames(benchmark::State &state, CVLockAnimationType type)
{
    BenchSpringBoard springBoard(state);
    if (!springBoard.ready())
        return;
    if (type) {
        msg<void, CVLockAnimationType, float>(animator(), "startLockAnimation:withDuration:"_sel,
                                              type, kDuration);
        sim::advanceVirtualClock(kDuration / 2);
        if (!msg<BOOL>(animator(), "isAnimating"_sel))
            state.SkipWithError("the lock animation did not start");
    }
    for (auto _ : state)
        springBoard.renderFrame();
    msg<void>(animator(), "stopLockAnimation"_sel);
    sim::advanceVirtualClock(1);
}

void BM_LockAnimationFrame(benchmark::State &state)
{
    static const char *const kNames[] = {"", "Blur", "Old TV", "Zoom Out", "Slide Away"};
    state.SetLabel(kNames[state.range(0)]);
    renderLockFrames(state, CVLockAnimationType(state.range(0)));
}
BENCHMARK(BM_LockAnimationFrame)->DenseRange(1, 4)->Unit(benchmark::kMillisecond);

void BM_HomeScreenFrame(benchmark::State &state)
{
    renderLockFrames(state, 0);
}
BENCHMARK(BM_HomeScreenFrame)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
