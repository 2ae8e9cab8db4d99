// One scroll step of every page-scroll effect, as the home screen's scroll hook makes it:
// two pages of 24 icon views each (a 4 × 6 grid on a 320 × 480 page), the leaving page at
// offset o and the entering page at o − W, inside one autorelease pool as a turn of the
// main run loop has. The offset sweeps across the page from step to step, so effects
// that branch on the side of the swipe take both branches.
//
// Reference in the same run: the same 50 layers (two pages, 48 icons) reached the same
// way and given the identity transform, one message each, which is the least a step that
// moves every layer can cost.
//
// Goal: every effect under 5 µs a step, against a frame budget of 8.3 ms at 120 Hz.

#include "effects/CVScrollAnimations.h"

#include "foundation/NSString.h"
#include "quartzcore/CATransform3D.h"
#include "uikit/UIScrollView.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

constexpr CGSize kSize = {320, 480};

UIView *newView(Class cls, CGRect frame)
{
    return static_cast<UIView *>(
        msg<id, CGRect>(msg<id>(cls, "alloc"_sel), "initWithFrame:"_sel, frame));
}

void add(UIView *parent, UIView *child)
{
    msg<void, UIView *>(parent, "addSubview:"_sel, child);
    objc_release(child);
}

// The two pages, made once and kept for the life of the benchmark.
struct HomeScreen {
    UIScrollView *scrollView;
    UIView *pages[2];
};

const HomeScreen &homeScreen()
{
    static const HomeScreen home = [] {
        HomeScreen made{};
        made.scrollView = static_cast<UIScrollView *>(
            newView(UIScrollView::class_(), CGRectMake(0, 0, kSize.width, kSize.height)));
        for (int index = 0; index < 2; ++index) {
            UIView *page = newView(UIView::class_(),
                                   CGRectMake(index * kSize.width, 0, kSize.width, kSize.height));
            for (int row = 0; row < 6; ++row)
                for (int column = 0; column < 4; ++column)
                    add(page, newView(UIView::class_(),
                                      CGRectMake(16 + column * 76, 8 + row * 78, 60, 74)));
            made.pages[index] = page;
            add(made.scrollView, page);
        }
        return made;
    }();
    return home;
}

// The next offset of the sweep: a little under four points a step, across the page.
float nextOffset(float offset)
{
    offset += 3.7f;
    return offset < kSize.width ? offset : offset - float(kSize.width);
}

void BM_ScrollStep(benchmark::State &state)
{
    auto identifier = static_cast<CVUIScrollAnimationID>(state.range(0));
    CVUIScrollAnimationFunction effect = CVUIScrollAnimationForID(identifier);
    const HomeScreen &home = homeScreen();
    float offset = 0;
    for (auto _ : state) {
        AutoreleasePool pool;
        effect(home.pages[0], offset, kSize);
        effect(home.pages[1], offset - float(kSize.width), kSize);
        offset = nextOffset(offset);
    }
    CVUIResetScrollAnimations(home.scrollView);
    state.SetLabel(CVUIScrollAnimationTitle(identifier)->str());
}

void setIdentity(UIView *view)
{
    msg<void, CATransform3D>(msg<CALayer *>(view, "layer"_sel), "setTransform:"_sel,
                             CATransform3DIdentity);
}

void BM_IdentityOnEveryLayer(benchmark::State &state)
{
    const HomeScreen &home = homeScreen();
    for (auto _ : state) {
        AutoreleasePool pool;
        for (UIView *page : home.pages) {
            setIdentity(page);
            for (id icon : *msg<NSArray *>(page, "subviews"_sel))
                setIdentity(static_cast<UIView *>(icon));
        }
    }
}

double smallest(const std::vector<double> &values)
{
    return *std::min_element(values.begin(), values.end());
}

double largest(const std::vector<double> &values)
{
    return *std::max_element(values.begin(), values.end());
}

} // namespace

BENCHMARK(BM_IdentityOnEveryLayer)
    ->Repetitions(5)
    ->MinTime(0.05)
    ->ComputeStatistics("min", smallest)
    ->ComputeStatistics("max", largest)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ScrollStep)
    ->DenseRange(1, 38)
    ->Repetitions(5)
    ->MinTime(0.05)
    ->ComputeStatistics("min", smallest)
    ->ComputeStatistics("max", largest)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
