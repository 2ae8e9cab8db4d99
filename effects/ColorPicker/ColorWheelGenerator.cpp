#include "effects/ColorPicker/ColorWheelGenerator.h"

#include "effects/ColorPicker/ColorPickerImages.h"
#include "effects/ColorPicker/ColorWheelPixels.h"
#include "foundation/NSLog.h"
#include "foundation/dispatch.h"

#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace {

class Generator {
public:
    Generator(CGFloat diameter, CGFloat padding) : m_diameter(diameter), m_padding(padding) {}

    void generate()
    {
        auto side = std::size_t(std::ceil(m_diameter));
        std::vector<std::uint8_t> pixels(side * side * 4);
        CVFillColorWheel(pixels.data(), side, float(m_diameter), float(m_padding));
        StrongRef<CGImage> bitmap = CVImageFromPixels(side, side, pixels.data());
        std::lock_guard lock(m_mutex);
        m_bitmap = std::move(bitmap);
        m_finished = true;
        m_done.notify_all();
    }

    StrongRef<CGImage> waitUntilFinished()
    {
        std::unique_lock lock(m_mutex);
        m_done.wait(lock, [this] { return m_finished; });
        return m_bitmap;
    }

private:
    const CGFloat m_diameter;
    const CGFloat m_padding;
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    StrongRef<CGImage> m_bitmap;
};

struct GeneratorCache {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<Generator>> generators;
};

// Never destroyed: a generation still running on a queue thread when the process exits may
// yet reach it.
GeneratorCache &generatorCache()
{
    static auto *const cache = new GeneratorCache;
    return *cache;
}

std::string cacheKey(CGFloat diameter, CGFloat padding)
{
    char key[64];
    std::snprintf(key, sizeof key, "%.1f-%.1f", diameter, padding);
    return key;
}

dispatch_queue_t generatorQueue()
{
    return dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0);
}

dispatch_queue_t prefetchQueue()
{
    static const dispatch_queue_t queue =
        dispatch_queue_create("com.kestrelworks.corvane3.colorwheel", DISPATCH_QUEUE_SERIAL);
    return queue;
}

// The cached generator for the key, or a new one, started on the generators' queue.
std::shared_ptr<Generator> generatorFor(CGFloat diameter, CGFloat padding, bool cache)
{
    std::string key = cacheKey(diameter, padding);
    GeneratorCache &cached = generatorCache();
    std::lock_guard lock(cached.mutex);
    auto found = cached.generators.find(key);
    if (found != cached.generators.end())
        return found->second;
    auto generator = std::make_shared<Generator>(diameter, padding);
    if (cache)
        cached.generators.emplace(key, generator);
    dispatch_async(generatorQueue(), [generator] { generator->generate(); });
    return generator;
}

} // namespace

StrongRef<CGImage> CVColorWheelBitmap(CGFloat pixelDiameter, CGFloat pixelPadding, bool cache)
{
    if (!(pixelDiameter > 0))
        return {};
    if (!(std::ceil(pixelDiameter) <= CGFloat(kCVMaxWheelSide))) {
        NSLog("[Corvane][ERROR]: A colour wheel of %.1f pixels is too large", pixelDiameter);
        return {};
    }
    return generatorFor(pixelDiameter, pixelPadding, cache)->waitUntilFinished();
}

void CVPrepareColorWheel(CGFloat pixelDiameter, CGFloat pixelPadding, bool inBackground)
{
    auto prepare = [pixelDiameter, pixelPadding] {
        CVColorWheelBitmap(pixelDiameter, pixelPadding, true);
    };
    if (inBackground)
        dispatch_async(prefetchQueue(), prepare);
    else
        dispatch_sync(prefetchQueue(), prepare);
}
