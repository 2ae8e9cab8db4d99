#include "FrameSource.h"

#include "foundation/Clock.h"
#include "objc/NSObject.h"
#include "quartzcore/CALayer.h"
#include "uikit/Snapshot.h"
#include "uikit/UIScreen.h"
#include "uikit/UIWindow.h"

#include <cstring>

namespace sim {

namespace {

// FNV-1a over the bytes of plain values: enough to tell one screen state from another,
// cheap enough for hundreds of layers sixty times a second.
class Fingerprint {
public:
    template <typename T> void add(const T &value)
    {
        const auto *bytes = reinterpret_cast<const unsigned char *>(&value);
        for (std::size_t index = 0; index < sizeof(T); ++index) {
            m_hash ^= bytes[index];
            m_hash *= 0x100000001b3ull;
        }
    }
    std::uint64_t value() const { return m_hash; }

private:
    std::uint64_t m_hash = 0xcbf29ce484222325ull;
};

// Adds the layer tree's model values; answers whether a layer of it animates or waits to
// draw its contents (the model then says nothing of what the next frame shows).
bool addLayerTree(const CALayer *layer, Fingerprint &fingerprint)
{
    fingerprint.add(layer);
    fingerprint.add(layer->m_bounds);
    fingerprint.add(layer->m_position);
    fingerprint.add(layer->m_anchorPoint);
    fingerprint.add(layer->m_zPosition);
    fingerprint.add(layer->m_transform);
    fingerprint.add(layer->m_sublayerTransform);
    fingerprint.add(layer->m_opacity);
    fingerprint.add(layer->m_hidden);
    fingerprint.add(layer->m_masksToBounds);
    fingerprint.add(layer->m_backgroundColor.get());
    fingerprint.add(layer->m_cornerRadius);
    fingerprint.add(layer->m_contents.get());
    fingerprint.add(layer->m_filters.get());
    fingerprint.add(layer->m_sublayers.size());
    bool moving = layer->hasAnimations() || layer->needsDisplay();
    for (const StrongRef<CALayer> &sublayer : layer->m_sublayers)
        moving = addLayerTree(sublayer.get(), fingerprint) || moving;
    return moving;
}

} // namespace

FrameSource::FrameSource(FrameSink sink, double framesPerSecond, Policy policy)
    : m_sink(std::move(sink)), m_interval(1.0 / framesPerSecond), m_policy(policy)
{
}

FrameSource::~FrameSource()
{
    stop();
}

void FrameSource::start()
{
    if (m_timer)
        return;
    m_timer = RunLoop::main().addTimer(now(), m_interval, [this] { tick(); });
}

void FrameSource::stop()
{
    if (m_timer)
        RunLoop::main().removeSource(m_timer);
    m_timer = 0;
}

bool FrameSource::screenMayHaveChanged()
{
    Fingerprint fingerprint;
    bool moving = false;
    for (UIWindow *window : visibleWindowsBottomUp())
        moving = addLayerTree(window->layer(), fingerprint) || moving;
    bool changed = !m_rendered || moving || m_wasMoving || fingerprint.value() != m_fingerprint;
    m_wasMoving = moving;
    m_fingerprint = fingerprint.value();
    return changed;
}

bool FrameSource::tick()
{
    bool mayHaveChanged = screenMayHaveChanged();
    if (!mayHaveChanged && m_policy == Policy::ChangedFrames)
        return false;
    AutoreleasePool pool;
    auto image = StrongRef<CGImage>::adopt(snapshotOfScreen());
    if (!image)
        return false;
    m_rendered = true;
    if (m_policy == Policy::ChangedFrames && image->m_pixels == m_lastPixels)
        return false;
    m_lastPixels = image->m_pixels;
    RenderedFrame frame{int(image->m_width), int(image->m_height), UIScreen::mainScreen()->scale(),
                        now(), image->m_pixels};
    ++m_framesSent;
    m_sink(std::move(frame));
    return true;
}

} // namespace sim
