// One frame of a home-screen swipe with "Cube (Inside)" chosen, on the default phone
// (375 × 667 points at scale 2: 750 × 1334 pixels). A frame is what the screen does at
// one scroll step: the pages move on (the folder view's scroll hook turns the two pages
// in view in 3-D), pending layers display, and the visible windows are composited by a
// renderer kept between frames, as the screen keeps it. Goal: 120 frames a second, 8.3 ms
// a frame.
//
// Every effect's frame in the middle of the swipe (BM_MidSwipeFrame/1…38, named by the
// effect's title): at least 60 frames a second, 16.7 ms.
//
// Reference in the same run: the same frame with no effect chosen (the pages slide flat),
// so the difference is what the effect costs.

#include "ScreenFrames.h"

#include "effects/CVScrollAnimations.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/animations/IconsAnimation.h"
#include "springboard/SBIconController.h"

namespace {

// Pairs of scroll positions into a swipe to the second page, taken in turn so that every
// frame has transforms to change: a third of the way, and the middle.
constexpr double kThirdOfTheWay[] = {0.33, 0.37};
constexpr double kMidSwipe[] = {0.48, 0.52};

void renderSwipeFrames(benchmark::State &state, CVUIScrollAnimationID effect,
                       const double (&positions)[2] = kThirdOfTheWay)
{
    gCVAnimations.scrollAnimationType = effect;
    BenchSpringBoard springBoard(state, IconsAnimationInit);
    if (!springBoard.ready())
        return;
    sim::SpringBoardHost::swipePages(positions[0], true);

    SBIconController *controller =
        msg<SBIconController *>(SBIconController::class_(), "sharedInstance"_sel);
    UIScrollView *pages = controller->rootFolderView()->m_scrollView;
    CGFloat width = pages->bounds().size.width;
    std::size_t frame = 0;
    for (auto _ : state) {
        CGFloat x = width * positions[frame++ % 2];
        msg<void, CGPoint>(pages, "setContentOffset:"_sel, {x, 0});
        springBoard.renderFrame();
    }
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

void BM_MidSwipeFrame(benchmark::State &state)
{
    auto effect = CVUIScrollAnimationID(state.range(0));
    state.SetLabel(CVUIScrollAnimationTitle(effect)->str());
    renderSwipeFrames(state, effect, kMidSwipe);
}
BENCHMARK(BM_MidSwipeFrame)->DenseRange(1, 38)->Unit(benchmark::kMillisecond);

void BM_MidSwipeFrameNoEffect(benchmark::State &state)
{
    renderSwipeFrames(state, CVUIScrollAnimationNone, kMidSwipe);
}
BENCHMARK(BM_MidSwipeFrameNoEffect)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
