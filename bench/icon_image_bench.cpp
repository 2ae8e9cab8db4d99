// The home screen's icon images with an image effect: a page of 24 icons of 120 × 120
// pixels (60 points at two pixels per point) asked for their home-screen image
// (getIconImage: with format 2) with "Black & White" and "Sepia" on, against the same
// page asked with no effect, the reference in the same run (SpringBoard's own answer, an
// image it drew once and keeps). The goal: the effect adds under 1 ms for the whole
// page, so that a redraw of the home screen with an effect never drops a frame for it.
// The extension keeps each filtered copy with its image, so that is the page asked again;
// BM_FilterPage_* is the first ask after the effect changes: the filter run on each of
// the page's images.

#include "darwin/TemporaryDevice.h"
#include "effects/CVIconImageEffect.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Extension.h"
#include "springboard-extension/home-screen/Icons.h"
#include "springboard/SBIcon.h"
#include "springboard/SpringBoardHost.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr std::size_t kIconsPerPage = 24;
constexpr int kHomeScreenImageFormat = 2;

struct BenchSpringBoard {
    sim::TemporaryDevice device;
    AutoreleasePool pool;
    std::vector<StrongRef<SBIcon>> icons;

    BenchSpringBoard()
    {
        if (!device.ready() || !sim::SpringBoardHost::launch())
            return;
        LoadCachedClasses();
        gCVIcons.setDefaults();
        IconsInit();
        for (std::size_t index = 0; index < kIconsPerPage; ++index)
            icons.push_back(StrongRef<SBIcon>::adopt(SBApplicationIcon::create(
                "com.example.app" + std::to_string(index), "App " + std::to_string(index))));
    }

    ~BenchSpringBoard() { sim::SpringBoardHost::terminate(); }

    bool ready() const { return !icons.empty(); }
};

BenchSpringBoard &springBoard()
{
    static BenchSpringBoard running;
    return running;
}

void imagesOfPage(benchmark::State &state, std::int32_t effect)
{
    BenchSpringBoard &board = springBoard();
    if (!board.ready()) {
        state.SkipWithError("SpringBoard did not start");
        return;
    }
    gCVIcons.effect = effect;
    for (auto _ : state) {
        AutoreleasePool pool;
        for (SBIcon *icon : board.icons)
            benchmark::DoNotOptimize(
                msg<UIImage *, int>(icon, "getIconImage:"_sel, kHomeScreenImageFormat));
    }
    gCVIcons.effect = CVIconImageEffectNone;
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kIconsPerPage));
}

void BM_IconImages_NoEffect(benchmark::State &state)
{
    imagesOfPage(state, CVIconImageEffectNone);
}

void BM_IconImages_BlackAndWhite(benchmark::State &state)
{
    imagesOfPage(state, CVIconImageEffectBlackAndWhite);
}

void BM_IconImages_Sepia(benchmark::State &state)
{
    imagesOfPage(state, CVIconImageEffectSepia);
}

// The first ask of each image after a change of effect: the page's images filtered.
void filterPage(benchmark::State &state, std::int32_t effect)
{
    BenchSpringBoard &board = springBoard();
    if (!board.ready()) {
        state.SkipWithError("SpringBoard did not start");
        return;
    }
    std::vector<UIImage *> images;
    for (SBIcon *icon : board.icons)
        images.push_back(msg<UIImage *, int>(icon, "getIconImage:"_sel, kHomeScreenImageFormat));
    for (auto _ : state) {
        AutoreleasePool pool;
        for (UIImage *image : images)
            benchmark::DoNotOptimize(CVApplyIconImageEffect(image, effect));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kIconsPerPage));
}

void BM_FilterPage_BlackAndWhite(benchmark::State &state)
{
    filterPage(state, CVIconImageEffectBlackAndWhite);
}

void BM_FilterPage_Sepia(benchmark::State &state)
{
    filterPage(state, CVIconImageEffectSepia);
}

BENCHMARK(BM_IconImages_NoEffect)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IconImages_BlackAndWhite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IconImages_Sepia)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FilterPage_BlackAndWhite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FilterPage_Sepia)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
