// A cached message send against a C++ virtual call, in the same run. Both calls go
// through memory the optimiser cannot see through, so neither is inlined away.

#include "objc/ClassBuilder.h"

#include <benchmark/benchmark.h>

namespace {

struct Counter : NSObject {
    long m_count = 0;
};

__attribute__((noinline)) long increment(Counter *self, SEL, long by)
{
    return self->m_count += by;
}

struct VirtualCounter {
    virtual ~VirtualCounter() = default;
    virtual long increment(long by) = 0;
};

// Not final and not inlined, like the message's implementation, so that both sides pay
// for one indirect call to a real function.
struct ConcreteCounter : VirtualCounter {
    long m_count = 0;
    __attribute__((noinline)) long increment(long by) override { return m_count += by; }
};

Class counterClass()
{
    static Class cls = ClassBuilder<Counter>("BenchCounter", "NSObject")
                           .method("increment:", increment)
                           .registerClass();
    return cls;
}

void BM_CachedMessageSend(benchmark::State &state)
{
    StrongRef<Counter> counter = StrongRef<Counter>::adopt(sim::create<Counter>(counterClass()));
    Counter *receiver = counter.get();
    benchmark::DoNotOptimize(receiver);
    SEL selector = "increment:"_sel;
    for (auto _ : state) {
        benchmark::DoNotOptimize(msg<long>(receiver, selector, 1L));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CachedMessageSend);

void BM_VirtualCall(benchmark::State &state)
{
    ConcreteCounter concrete;
    VirtualCounter *receiver = &concrete;
    benchmark::DoNotOptimize(receiver);
    for (auto _ : state) {
        benchmark::DoNotOptimize(receiver->increment(1));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_VirtualCall);

// The first send of each round misses the cache, as after a method replacement.
void BM_UncachedMessageSend(benchmark::State &state)
{
    StrongRef<Counter> counter = StrongRef<Counter>::adopt(sim::create<Counter>(counterClass()));
    Method method = class_getInstanceMethod(counterClass(), "increment:"_sel);
    IMP implementation = method_getImplementation(method);
    for (auto _ : state) {
        method_setImplementation(method, implementation); // flushes the caches holding it
        benchmark::DoNotOptimize(msg<long>(counter.get(), "increment:"_sel, 1L));
    }
}
BENCHMARK(BM_UncachedMessageSend);

} // namespace

BENCHMARK_MAIN();
