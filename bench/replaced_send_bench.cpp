// A message send that reaches a replaced method, against the same send to the method as
// SpringBoard defines it, in the same run. The replacement is installed with the
// extension's own recipe and does what most replacements do: it calls the previous
// implementation through its slot and adjusts the answer. Replacing a method that the
// class only inherits goes through a superclass caller, which asks the superclass for
// its implementation at every call; that path is measured too.

#include "objc/ClassBuilder.h"
#include "springboard-extension/frame/Replacement.h"

#include <benchmark/benchmark.h>

namespace {

struct Inset : NSObject {
    long m_inset = 10;
};

__attribute__((noinline)) long sideIconInset(Inset *self, SEL, long scale)
{
    return self->m_inset * scale;
}

long (*orig_direct_sideIconInset)(Inset *, SEL, long);
long (*orig_inherited_sideIconInset)(Inset *, SEL, long);

__attribute__((noinline)) long direct_sideIconInset(Inset *self, SEL _cmd, long scale)
{
    return orig_direct_sideIconInset(self, _cmd, scale) + 1;
}

__attribute__((noinline)) long inherited_sideIconInset(Inset *self, SEL _cmd, long scale)
{
    return orig_inherited_sideIconInset(self, _cmd, scale) + 1;
}

// Three classes with one method each: as SpringBoard defines it, replaced where it is
// defined, and replaced on a subclass that inherits it.
struct Classes {
    Class original;
    Class replaced;
    Class inheriting;
};

const Classes &classes()
{
    static const Classes made = [] {
        Classes built;
        built.original = ClassBuilder<Inset>("BenchListView", "NSObject")
                             .method("sideIconInset:", sideIconInset)
                             .registerClass();
        built.replaced = ClassBuilder<Inset>("BenchReplacedListView", "NSObject")
                             .method("sideIconInset:", sideIconInset)
                             .registerClass();
        built.inheriting =
            ClassBuilder<Inset>("BenchRootListView", "BenchListView").registerClass();
        ReplaceMethod(built.replaced, "sideIconInset:"_sel, direct_sideIconInset,
                      &orig_direct_sideIconInset);
        ReplaceMethod(built.inheriting, "sideIconInset:"_sel, inherited_sideIconInset,
                      &orig_inherited_sideIconInset);
        return built;
    }();
    return made;
}

void sendRepeatedly(benchmark::State &state, Class cls, long expected)
{
    StrongRef<Inset> view = StrongRef<Inset>::adopt(sim::create<Inset>(cls));
    Inset *receiver = view.get();
    benchmark::DoNotOptimize(receiver);
    if (msg<long>(receiver, "sideIconInset:"_sel, 2L) != expected) {
        state.SkipWithError("the send did not reach the expected implementation");
        return;
    }
    SEL selector = "sideIconInset:"_sel;
    for (auto _ : state) {
        benchmark::DoNotOptimize(msg<long>(receiver, selector, 2L));
        benchmark::ClobberMemory();
    }
}

void BM_SendToOriginalMethod(benchmark::State &state)
{
    sendRepeatedly(state, classes().original, 20);
}
BENCHMARK(BM_SendToOriginalMethod);

void BM_SendToReplacedMethod(benchmark::State &state)
{
    sendRepeatedly(state, classes().replaced, 21);
}
BENCHMARK(BM_SendToReplacedMethod);

void BM_SendToReplacedInheritedMethod(benchmark::State &state)
{
    sendRepeatedly(state, classes().inheriting, 21);
}
BENCHMARK(BM_SendToReplacedInheritedMethod);

} // namespace

BENCHMARK_MAIN();
