// One full-screen frame (375 × 667 points at scale 2: 750 × 1334 pixels) of a home screen:
// a wallpaper layer and 30 icon layers of 120 × 120-pixel contents, each turned in 3-D
// under perspective as the page-scroll effects turn them. Goal: 120 frames a second on
// one core, 8.3 ms a frame. The renderer is kept between frames, as the screen keeps it.
//
// References in the same run: the wallpaper alone (what the 30 icons add is the
// difference), and filling a kept frame buffer once (the floor of any frame).

#include "LayerFrames.h"

#include "quartzcore/Renderer.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstring>

namespace {

constexpr CGSize kScreen = {375, 667};
constexpr double kScale = 2;

CGImageRef gradientImage(int width, int height, int seed)
{
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t *p = pixels.data() + (std::size_t(y) * width + x) * 4;
            p[0] = std::uint8_t(x * 255 / width);
            p[1] = std::uint8_t(y * 255 / height);
            p[2] = std::uint8_t(seed * 37);
            p[3] = 255;
        }
    return sim::imageFromPixels(width, height, std::move(pixels));
}

// The wallpaper, and five columns of six icons, each turned about y by its own angle
// with the eye 500 points away.
StrongRef<CALayer> homeScreen(int icons)
{
    StrongRef<CALayer> root = StrongRef<CALayer>::adopt(sim::create<CALayer>(CALayer::class_()));
    root->setFrame(CGRectMake(0, 0, kScreen.width, kScreen.height));
    CGImageRef wallpaper = gradientImage(750, 1334, 0);
    root->setContents(wallpaper);
    CGImageRelease(wallpaper);
    CATransform3D perspective = CATransform3DIdentity;
    perspective.m34 = -1.0 / 500;
    root->setSublayerTransform(perspective);
    for (int i = 0; i < icons; ++i) {
        StrongRef<CALayer> icon =
            StrongRef<CALayer>::adopt(sim::create<CALayer>(CALayer::class_()));
        icon->setFrame(CGRectMake(15 + (i % 5) * 72, 40 + (i / 5) * 100, 60, 60));
        CGImageRef image = gradientImage(120, 120, i + 1);
        icon->setContents(image);
        CGImageRelease(image);
        icon->setTransform(CATransform3DMakeRotation(0.2 + 0.04 * i, 0, 1, 0.2));
        root->addSublayer(icon);
    }
    return root;
}

void renderFrames(benchmark::State &state, int icons)
{
    StrongRef<CALayer> root = homeScreen(icons);
    renderLayerFrames(state, root.get(), kScreen, kScale);
}

void BM_HomeScreenFrame(benchmark::State &state)
{
    renderFrames(state, 30);
}
BENCHMARK(BM_HomeScreenFrame)->Unit(benchmark::kMillisecond);

void BM_WallpaperOnlyFrame(benchmark::State &state)
{
    renderFrames(state, 0);
}
BENCHMARK(BM_WallpaperOnlyFrame)->Unit(benchmark::kMillisecond);

void BM_FillKeptFrameBuffer(benchmark::State &state)
{
    std::vector<std::uint8_t> frame(750 * 1334 * 4);
    for (auto _ : state) {
        std::memset(frame.data(), 0x40, frame.size());
        benchmark::DoNotOptimize(frame.data());
    }
}
BENCHMARK(BM_FillKeptFrameBuffer)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
