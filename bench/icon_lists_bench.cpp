// The icon update that runs on every layout pass and every scroll step of a dock: one
// page of 24 icons brought up to date with cover flow on (a turn, a scale and a
// perspective per icon, besides the label and image alpha), and with every option off
// (labels and image alpha only). The reference in the same run sets the same 24 sublayer
// transforms directly by message, the least any update of the page's transforms does.
// The goal is a cover-flow update of a page in under 20 µs of CPU time, about a
// thousandth of a frame at 60 Hz, so that a scrolling dock never drops a frame for it.

#include "darwin/TemporaryDevice.h"
#include "foundation/DeviceProfile.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Extension.h"
#include "springboard-extension/home-screen/IconTransforms.h"
#include "springboard/IconListKinds.h"
#include "springboard/SBIconController.h"
#include "springboard/SpringBoardHost.h"

#include <benchmark/benchmark.h>

#include <optional>
#include <string>

namespace {

constexpr std::size_t kIconsPerPage = 24;

// SpringBoard running on a device of its own, with one extra page of 24 icons that no
// layout pass touches while it is measured.
struct BenchSpringBoard {
    sim::TemporaryDevice device;
    AutoreleasePool pool;
    StrongRef<SBIconListView> page;

    BenchSpringBoard()
    {
        if (!device.ready() || !sim::SpringBoardHost::launch())
            return;
        LoadCachedClasses();
        gCVIcons.setDefaults();
        SBIconController *controller =
            msg<SBIconController *>(SBIconController::class_(), "sharedInstance"_sel);
        NSMutableArray *icons = NSMutableArray::array();
        for (std::size_t index = 0; index < kIconsPerPage; ++index) {
            std::string name = "App " + std::to_string(index);
            icons->addObject(StrongRef<SBApplicationIcon>::adopt(
                SBApplicationIcon::create("com.example.app" + std::to_string(index), name)));
        }
        page = StrongRef<SBIconListView>::adopt(SBIconListView::create(
            SBRootIconListView::class_(), {{0, 0}, {375, 571}}, controller->m_iconViewMap, icons));
        msg<void>(page.get(), "layoutIconsNow"_sel);
    }

    ~BenchSpringBoard() { sim::SpringBoardHost::terminate(); }

    bool ready() const { return page; }
};

BenchSpringBoard &springBoard()
{
    static BenchSpringBoard running;
    return running;
}

void updatePage(benchmark::State &state, bool coverFlow)
{
    BenchSpringBoard &board = springBoard();
    if (!board.ready()) {
        state.SkipWithError("SpringBoard did not start");
        return;
    }
    gCVIcons.pages.coverflow.enabled = coverFlow;
    for (auto _ : state) {
        updateIconsOfList(board.page.get(), NO, 0);
        benchmark::ClobberMemory();
    }
    gCVIcons.pages.coverflow.enabled = false;
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kIconsPerPage));
}

void BM_UpdateIconsOfList_CoverFlow(benchmark::State &state)
{
    updatePage(state, true);
}

void BM_UpdateIconsOfList_AllOff(benchmark::State &state)
{
    updatePage(state, false);
}

// Reference: the page's 24 sublayer transforms set by message, with nothing computed.
void BM_Reference_SetSublayerTransforms(benchmark::State &state)
{
    BenchSpringBoard &board = springBoard();
    if (!board.ready()) {
        state.SkipWithError("SpringBoard did not start");
        return;
    }
    std::vector<CALayer *> layers;
    for (id icon : *board.page->m_icons)
        layers.push_back(
            board.page->m_viewMap->mappedIconViewForIcon(static_cast<SBIcon *>(icon))->layer());
    const CATransform3D transform =
        CATransform3DRotate(CATransform3DMakeScale(0.9, 0.9, 1), 0.3, 0, 1, 0);
    for (auto _ : state) {
        for (CALayer *layer : layers)
            msg<void, CATransform3D>(layer, "setSublayerTransform:"_sel, transform);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kIconsPerPage));
}

BENCHMARK(BM_Reference_SetSublayerTransforms);
BENCHMARK(BM_UpdateIconsOfList_CoverFlow);
BENCHMARK(BM_UpdateIconsOfList_AllOff);

} // namespace

BENCHMARK_MAIN();
