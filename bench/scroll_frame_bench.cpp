// One frame of a home-screen swipe with "Cube (Inside)" chosen, on the default phone
// (375 × 667 points at scale 2: 750 × 1334 pixels). A frame is what the screen does at
// one scroll step: the pages move on (the folder view's scroll hook turns the two pages
// in view in 3-D), pending layers display, and the visible windows are composited by a
// renderer kept between frames, as the screen keeps it. Goal: 120 frames a second, 8.3 ms
// a frame.
//
// Reference in the same run: the same frame with no effect chosen (the pages slide flat),
// so the difference is what the effect costs.

#include "darwin/TemporaryDevice.h"
#include "effects/CVScrollAnimations.h"
#include "foundation/Clock.h"
#include "foundation/DeviceProfile.h"
#include "quartzcore/Renderer.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/animations/IconsAnimation.h"
#include "springboard/SBIconController.h"
#include "springboard/SpringBoardHost.h"
#include "uikit/Snapshot.h"
#include "uikit/UIScreen.h"
#include "uikit/UIWindow.h"

#include <benchmark/benchmark.h>

namespace {

// Two scroll positions a third of the way into a swipe to the second page, taken in turn
// so that every frame has transforms to change.
constexpr double kPositions[] = {0.33, 0.37};

void renderSwipeFrames(benchmark::State &state, CVUIScrollAnimationID effect)
{
    sim::TemporaryDevice device;
    if (!device.ready()) {
        state.SkipWithError("the device services did not start");
        return;
    }
    AutoreleasePool pool;
    sim::useVirtualClock();
    sim::DeviceProfile::setCurrent(sim::DeviceProfile{});
    gCVAnimations.scrollAnimationType = effect;
    sim::SpringBoardHost::launch();
    IconsAnimationInit();
    sim::SpringBoardHost::unlock();
    sim::SpringBoardHost::swipePages(kPositions[0], true);

    SBIconController *controller =
        msg<SBIconController *>(SBIconController::class_(), "sharedInstance"_sel);
    UIScrollView *pages = controller->rootFolderView()->m_scrollView;
    CGFloat width = pages->bounds().size.width;
    UIScreen *screen = UIScreen::mainScreen();
    sim::Renderer renderer;
    std::size_t frame = 0;
    for (auto _ : state) {
        CGFloat x = width * kPositions[frame++ % 2];
        msg<void, CGPoint>(pages, "setContentOffset:"_sel, {x, 0});
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

void BM_SwipeFrameCubeInside(benchmark::State &state)
{
    renderSwipeFrames(state, CVUIScrollAnimationCubeInside);
}
BENCHMARK(BM_SwipeFrameCubeInside)->Unit(benchmark::kMillisecond);

void BM_SwipeFrameNoEffect(benchmark::State &state)
{
    renderSwipeFrames(state, CVUIScrollAnimationNone);
}
BENCHMARK(BM_SwipeFrameNoEffect)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
