// The renderer concatenates a layer's transform with its parent's on every frame and
// projects every corner and mesh point through the result, so both must stay a handful
// of arithmetic instructions with no allocation. Each benchmark reports the heap
// allocations per iteration of its timed loop; the expected count is zero. The reference in
// the same run allocates and frees one matrix per iteration: it shows what a single
// allocation would cost, and that the counter does count.

#include "quartzcore/CATransform3D.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

std::size_t g_allocations = 0;

// A typical transform of a page turning in depth: perspective, a turn about y, a scale.
CATransform3D turningPage()
{
    CATransform3D t = CATransform3DIdentity;
    t.m34 = -1.0 / 500;
    t = CATransform3DRotate(t, 0.6, 0, 1, 0);
    return CATransform3DScale(t, 0.9, 0.9, 1);
}

void reportAllocations(benchmark::State &state, std::size_t before)
{
    state.counters["allocations"] = benchmark::Counter(static_cast<double>(g_allocations - before),
                                                       benchmark::Counter::kAvgIterations);
}

void BM_Concat(benchmark::State &state)
{
    CATransform3D parent = turningPage();
    CATransform3D child = CATransform3DMakeTranslation(12, 34, 0);
    std::size_t before = g_allocations;
    for (auto _ : state) {
        benchmark::DoNotOptimize(parent);
        benchmark::DoNotOptimize(child);
        CATransform3D product = CATransform3DConcat(child, parent);
        benchmark::DoNotOptimize(product);
    }
    reportAllocations(state, before);
}
BENCHMARK(BM_Concat);

void BM_ConcatWithIdentity(benchmark::State &state)
{
    CATransform3D parent = turningPage();
    CATransform3D child = CATransform3DIdentity;
    std::size_t before = g_allocations;
    for (auto _ : state) {
        benchmark::DoNotOptimize(child);
        CATransform3D product = CATransform3DConcat(child, parent);
        benchmark::DoNotOptimize(product);
    }
    reportAllocations(state, before);
}
BENCHMARK(BM_ConcatWithIdentity);

void BM_Project1000Points(benchmark::State &state)
{
    CATransform3D t = turningPage();
    std::vector<CGPoint> points(1000);
    for (std::size_t i = 0; i < points.size(); ++i)
        points[i] = CGPointMake(static_cast<CGFloat>(i % 40) * 8, static_cast<CGFloat>(i / 40) * 8);
    std::size_t before = g_allocations;
    for (auto _ : state) {
        for (const CGPoint &point : points) {
            sim::ProjectedPoint projected = sim::projectPoint(t, point);
            benchmark::DoNotOptimize(projected);
        }
    }
    reportAllocations(state, before);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}
BENCHMARK(BM_Project1000Points);

void BM_ReferenceAllocateOneMatrix(benchmark::State &state)
{
    std::size_t before = g_allocations;
    for (auto _ : state) {
        auto *matrix = new CATransform3D(CATransform3DIdentity);
        benchmark::DoNotOptimize(matrix);
        delete matrix;
    }
    reportAllocations(state, before);
}
BENCHMARK(BM_ReferenceAllocateOneMatrix);

} // namespace

// Counting replacement of the global allocator, for the allocation counters above. Kept
// out of line so that the compiler sees a matched new/delete pair rather than malloc/free.
[[gnu::noinline]] void *operator new(std::size_t size)
{
    ++g_allocations;
    if (void *memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void *memory) noexcept
{
    std::free(memory);
}
[[gnu::noinline]] void operator delete(void *memory, std::size_t) noexcept
{
    std::free(memory);
}

BENCHMARK_MAIN();
