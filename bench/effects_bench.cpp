// The icon image filters. On a 2048 × 2048 image, each filter in pixels per second
// (items_per_second) against a memcpy of the same 16 MiB buffer in the same run: first
// the pixel walk alone over the filters' buffer (PixelWalk), then the whole filter as
// callers see it, with the buffer, the bitmap context, drawing the image in and making
// the new image (Filter). The per-pixel block path, one std::function call per pixel, is
// measured beside the inlined walks. Last, one 120 × 120 icon end to end per effect
// value, allocation and context included, beside imageWithAlpha: on the same icon, which
// costs a context, one draw and a new image without any pixel walk.
//
// Goals on one core: invert, black-and-white and sepia at 1 gigapixel per second or more
// (the walk, and the whole filter reported beside it), one icon in under 50 µs.

#include "effects/CVIconImageEffect.h"
#include "effects/CVImageEffects.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr std::size_t kSide = 2048;
constexpr std::size_t kIconSide = 120;

// Premultiplied RGBA noise with a fifth of the pixels translucent and some transparent,
// like the edges of icons.
std::vector<std::uint8_t> noisePixels(std::size_t side)
{
    std::vector<std::uint8_t> pixels(side * side * 4);
    std::mt19937 random(7);
    for (std::size_t i = 0; i < side * side; ++i) {
        std::uint8_t *p = pixels.data() + i * 4;
        unsigned kind = random() % 10;
        std::uint8_t alpha = kind == 0 ? 0 : kind < 3 ? std::uint8_t(random() % 256) : 255;
        for (int c = 0; c < 3; ++c)
            p[c] = std::uint8_t(random() % (alpha + 1u));
        p[3] = alpha;
    }
    return pixels;
}

// The same noise in the filters' own byte order: alpha, blue, green, red.
const std::vector<std::uint8_t> &filterBuffer()
{
    static const std::vector<std::uint8_t> buffer = [] {
        std::vector<std::uint8_t> rgba = noisePixels(kSide), abgr(rgba.size());
        for (std::size_t i = 0; i < rgba.size(); i += 4)
            for (std::size_t c = 0; c < 4; ++c)
                abgr[i + c] = rgba[i + 3 - c];
        return abgr;
    }();
    return buffer;
}

UIImage *imageOfSide(std::size_t side)
{
    auto pixels = StrongRef<CGImage>::adopt(sim::imageFromPixels(side, side, noisePixels(side)));
    return retain(UIImage::imageWithCGImageScaleOrientation(pixels, 1, UIImageOrientationUp));
}

UIImage *largeImage()
{
    static UIImage *const image = imageOfSide(kSide);
    return image;
}

UIImage *iconImage()
{
    static UIImage *const image = imageOfSide(kIconSide);
    return image;
}

void countPixels(benchmark::State &state, std::size_t pixelsPerIteration)
{
    state.SetItemsProcessed(std::int64_t(state.iterations() * pixelsPerIteration));
}

void BM_Memcpy(benchmark::State &state)
{
    const std::vector<std::uint8_t> &source = filterBuffer();
    std::vector<std::uint8_t> copy(source.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), source.data(), source.size());
        benchmark::DoNotOptimize(copy.data());
    }
    countPixels(state, kSide * kSide);
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

// Each iteration walks a fresh copy of the noise, so that no rule meets its own output.
template <class Walk> void walkFreshBuffers(benchmark::State &state, Walk walk)
{
    std::vector<std::uint8_t> buffer = filterBuffer();
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(buffer.data(), filterBuffer().data(), buffer.size());
        state.ResumeTiming();
        walk(CVPixelBuffer{buffer.data(), kSide, kSide});
        benchmark::DoNotOptimize(buffer.data());
    }
    countPixels(state, kSide * kSide);
}

void BM_PixelWalk(benchmark::State &state, CVPixelFilter filter)
{
    walkFreshBuffers(state, [&](CVPixelBuffer buffer) { CVFilterBuffer(buffer, filter); });
}
BENCHMARK_CAPTURE(BM_PixelWalk, Invert, CVPixelFilter::Invert)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PixelWalk, BlackAndWhite, CVPixelFilter::BlackAndWhite)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PixelWalk, Sepia, CVPixelFilter::Sepia)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PixelWalk, Psycho, CVPixelFilter::Psycho)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PixelWalk, RedAscendant, CVPixelFilter::RedAscendant)
    ->Unit(benchmark::kMillisecond);

void BM_PixelWalkContrast(benchmark::State &state)
{
    walkFreshBuffers(state, [](CVPixelBuffer buffer) { CVContrastBuffer(buffer, 3.0f); });
}
BENCHMARK(BM_PixelWalkContrast)->Unit(benchmark::kMillisecond);

// The invert rule as an outside caller would give it: one block call per pixel.
const CVPixelBlock kInvertBlock = [](std::uint8_t *pixel) {
    if (pixel[1] | pixel[2] | pixel[3]) {
        pixel[1] = std::uint8_t(255 - pixel[1]);
        pixel[2] = std::uint8_t(255 - pixel[2]);
        pixel[3] = std::uint8_t(255 - pixel[3]);
    }
};

void BM_PixelWalkBlockInvert(benchmark::State &state)
{
    walkFreshBuffers(state, [](CVPixelBuffer buffer) { CVRecolourBuffer(buffer, kInvertBlock); });
}
BENCHMARK(BM_PixelWalkBlockInvert)->Unit(benchmark::kMillisecond);

void BM_Filter(benchmark::State &state, CVPixelFilter filter)
{
    UIImage *image = largeImage();
    for (auto _ : state) {
        AutoreleasePool pool;
        benchmark::DoNotOptimize(CVFilteredImage(image, filter));
    }
    countPixels(state, kSide * kSide);
}
BENCHMARK_CAPTURE(BM_Filter, Invert, CVPixelFilter::Invert)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Filter, BlackAndWhite, CVPixelFilter::BlackAndWhite)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Filter, Sepia, CVPixelFilter::Sepia)->Unit(benchmark::kMillisecond);

void BM_FilterBlockInvert(benchmark::State &state)
{
    UIImage *image = largeImage();
    for (auto _ : state) {
        AutoreleasePool pool;
        benchmark::DoNotOptimize(CVRecolourPixels(image, kInvertBlock));
    }
    countPixels(state, kSide * kSide);
}
BENCHMARK(BM_FilterBlockInvert)->Unit(benchmark::kMillisecond);

// The reference for one icon: a context, one draw and a new image, with no pixel walk.
void BM_IconImageWithAlpha(benchmark::State &state)
{
    UIImage *icon = iconImage();
    for (auto _ : state) {
        AutoreleasePool pool;
        benchmark::DoNotOptimize(CVImageWithAlpha(icon, 1.0f));
    }
    countPixels(state, kIconSide * kIconSide);
}
BENCHMARK(BM_IconImageWithAlpha)->Unit(benchmark::kMicrosecond);

void BM_Icon(benchmark::State &state)
{
    UIImage *icon = iconImage();
    auto effect = std::int32_t(state.range(0));
    for (auto _ : state) {
        AutoreleasePool pool;
        benchmark::DoNotOptimize(CVApplyIconImageEffect(icon, effect));
    }
    state.SetLabel(CVIconImageEffectTitles()[std::size_t(effect + 1)].title);
    countPixels(state, kIconSide * kIconSide);
}
BENCHMARK(BM_Icon)->DenseRange(0, 7)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
