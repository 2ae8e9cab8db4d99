// One full-screen frame (750 × 1334 pixels) of the iOS 9 switcher's deck: a dimmed
// backdrop and six cards of full-screen snapshots drawn at three quarters of the screen,
// each partly covering the one to its left, with the three left-most (apps that are not
// running, "appsMode" 2) blurred by 8 points and rasterised. Goal: 60 frames a second on
// one core, 16.7 ms a frame. The renderer is kept between frames, as the screen keeps it.
//
// Reference in the same run: the same deck without blur.

#include "LayerFrames.h"

#include "foundation/NSArray.h"
#include "foundation/NSNumber.h"
#include "foundation/NSString.h"
#include "quartzcore/CAFilter.h"
#include "quartzcore/Renderer.h"

#include <benchmark/benchmark.h>

namespace {

constexpr CGSize kScreen = {375, 667};
constexpr double kScale = 2;
constexpr int kCards = 6;
constexpr CGFloat kCardScale = 0.75;
constexpr CGFloat kCardSpacing = 0.55 * 375 * kCardScale;

// A snapshot: an application's colour with a lighter band across it, screen-sized.
CGImageRef snapshotImage(int seed)
{
    const int width = 750, height = 1334;
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t *p = pixels.data() + (std::size_t(y) * width + x) * 4;
            bool band = y > 600 && y < 700;
            p[0] = std::uint8_t(band ? 255 : 40 * seed);
            p[1] = std::uint8_t(band ? 255 : 90 + 20 * seed);
            p[2] = std::uint8_t(band ? 255 : 200 - 25 * seed);
            p[3] = 255;
        }
    return sim::imageFromPixels(width, height, std::move(pixels));
}

StrongRef<CALayer> newLayer(CGRect frame)
{
    StrongRef<CALayer> layer = StrongRef<CALayer>::adopt(sim::create<CALayer>(CALayer::class_()));
    layer->setFrame(frame);
    return layer;
}

void blur(CALayer *layer)
{
    CAFilter *filter = CAFilter::filterWithName("gaussianBlur"_ns);
    filter->setValueForKey(NSNumber::numberWithDouble(8.0), "inputRadius"_ns);
    layer->setFilters(NSArray::arrayWithObjects({filter}));
    layer->setShouldRasterize(true);
}

// Card i lies (1 − i) spacings right of the middle, the right-most on top.
StrongRef<CALayer> deck(int blurred)
{
    StrongRef<CALayer> root = newLayer({{0, 0}, kScreen});
    CGColorRef backdrop = CGColorCreateGenericRGB(0.05, 0.05, 0.1, 1);
    root->setBackgroundColor(backdrop);
    CGColorRelease(backdrop);
    for (int card = kCards - 1; card >= 0; --card) {
        StrongRef<CALayer> snapshot = newLayer({{0, 0}, kScreen});
        snapshot->setPosition({kScreen.width / 2 + (1 - card) * kCardSpacing, kScreen.height / 2});
        snapshot->setTransform(CATransform3DMakeScale(kCardScale, kCardScale, 1));
        CGImageRef image = snapshotImage(card + 1);
        snapshot->setContents(image);
        CGImageRelease(image);
        if (card >= kCards - blurred)
            blur(snapshot);
        root->addSublayer(snapshot);
    }
    return root;
}

void renderFrames(benchmark::State &state, int blurred)
{
    AutoreleasePool pool;
    StrongRef<CALayer> root = deck(blurred);
    renderLayerFrames(state, root.get(), kScreen, kScale);
}

void BM_DeckWithThreeBlurredCards(benchmark::State &state)
{
    renderFrames(state, 3);
}
BENCHMARK(BM_DeckWithThreeBlurredCards)->Unit(benchmark::kMillisecond);

void BM_DeckWithoutBlur(benchmark::State &state)
{
    renderFrames(state, 0);
}
BENCHMARK(BM_DeckWithoutBlur)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
