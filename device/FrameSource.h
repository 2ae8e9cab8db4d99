#pragma once
// SpringBoard's screen as a stream of frames, for the device page and for recordings.
// A timer of the main run loop (in the common modes, so it ticks while a finger drags)
// looks at the screen up to `framesPerSecond` times a second on the process clock: the
// real clock under `cvsim run`, the virtual one in a script, so a scripted recording is
// the same at every run.
//
// Rendering costs milliseconds, so a tick renders only when the screen may have changed:
// while a layer of a visible window animates or waits to redraw its contents, once more
// after the last animation ends (its final state), and whenever the layer trees' model
// values differ from those of the last frame (a fingerprint over every layer's geometry,
// transforms, opacity, visibility, contents and sublayers: a relayout after a settings
// change, a page held by a finger, a window coming or going). A rendered frame whose
// pixels equal the last one's is dropped. What is left goes to the sink on the main
// thread; a sink that encodes or writes hands the frame to a thread of its own.
//
// The renderer is the one screenshots use (Snapshot.h), so the page shows exactly what a
// screenshot would.

#include "foundation/RunLoop.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace sim {

// One frame: premultiplied RGBA, rows of 4 × width bytes.
struct RenderedFrame {
    int width = 0;
    int height = 0;
    double scale = 1;
    double time = 0; // on the process clock
    std::vector<std::uint8_t> pixels;
};

using FrameSink = std::function<void(RenderedFrame &&frame)>;

class FrameSource {
public:
    enum class Policy {
        ChangedFrames, // only frames that differ from the last one (the page)
        EveryTick,     // a frame at every tick, changed or not (recordings)
    };

    FrameSource(FrameSink sink, double framesPerSecond, Policy policy = Policy::ChangedFrames);
    ~FrameSource();
    FrameSource(const FrameSource &) = delete;
    FrameSource &operator=(const FrameSource &) = delete;

    // Schedules the timer on the main run loop (the first tick renders at once); stop()
    // removes it. On the main thread.
    void start();
    void stop();
    // One tick now: renders when the screen may have changed. Answers whether a frame
    // went to the sink.
    bool tick();

    std::uint64_t framesSent() const { return m_framesSent; }

private:
    bool screenMayHaveChanged();

    FrameSink m_sink;
    double m_interval;
    Policy m_policy;
    RunLoop::SourceId m_timer = 0;
    bool m_rendered = false;
    bool m_wasMoving = false;
    std::uint64_t m_fingerprint = 0;
    std::vector<std::uint8_t> m_lastPixels;
    std::uint64_t m_framesSent = 0;
};

} // namespace sim
