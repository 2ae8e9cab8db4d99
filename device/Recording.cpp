#include "Recording.h"

#include "FrameSource.h"

#include "objc/NSObject.h"
#include "uikit/PNGCodec.h"

#include <nlohmann/json.hpp>
#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <thread>

namespace sim {

namespace {

namespace fs = std::filesystem;

constexpr const char *kAnimationName = "recording.webp";

// Written beside its name and renamed over it, so nobody sees half a file.
bool writeWhole(const fs::path &path, const void *bytes, std::size_t length)
{
    fs::path partial = path;
    partial += ".partial";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file.write(static_cast<const char *>(bytes), std::streamsize(length));
        if (!file.flush())
            return false;
    }
    std::error_code error;
    fs::rename(partial, path, error);
    return !error;
}

// The animated WebP, frame by frame at the time each was rendered.
class Animation {
public:
    ~Animation()
    {
        if (m_encoder)
            WebPAnimEncoderDelete(m_encoder);
    }

    bool add(const RenderedFrame &frame)
    {
        if (!m_encoder) {
            WebPAnimEncoderOptions options;
            WebPAnimEncoderOptionsInit(&options);
            m_encoder = WebPAnimEncoderNew(frame.width, frame.height, &options);
            m_firstTime = frame.time;
            WebPConfigInit(&m_config);
            m_config.quality = 75;
            m_config.method = 1; // fast: recordings are watched, not archived
        }
        WebPPicture picture;
        if (!m_encoder || !WebPPictureInit(&picture))
            return false;
        picture.width = frame.width;
        picture.height = frame.height;
        picture.use_argb = 1;
        // The screen is opaque, so its premultiplied colours are its colours.
        bool added = WebPPictureImportRGBA(&picture, frame.pixels.data(), frame.width * 4) &&
                     WebPAnimEncoderAdd(m_encoder, &picture, timestampOf(frame), &m_config);
        WebPPictureFree(&picture);
        return added;
    }

    // The whole animation; the last frame lasts one frame interval.
    bool write(const fs::path &path, double frameInterval)
    {
        if (!m_encoder)
            return false;
        int end = m_lastTimestamp + std::max(1, int(std::lround(frameInterval * 1000)));
        WebPData data;
        WebPDataInit(&data);
        bool written = WebPAnimEncoderAdd(m_encoder, nullptr, end, nullptr) &&
                       WebPAnimEncoderAssemble(m_encoder, &data) &&
                       writeWhole(path, data.bytes, data.size);
        WebPDataClear(&data);
        return written;
    }

private:
    // Milliseconds since the first frame, always later than the frame before.
    int timestampOf(const RenderedFrame &frame)
    {
        int timestamp = int(std::lround((frame.time - m_firstTime) * 1000));
        if (m_frames++ > 0)
            timestamp = std::max(timestamp, m_lastTimestamp + 1);
        m_lastTimestamp = timestamp;
        return timestamp;
    }

    WebPAnimEncoder *m_encoder = nullptr;
    WebPConfig m_config;
    double m_firstTime = 0;
    int m_lastTimestamp = 0;
    int m_frames = 0;
};

// The thread that writes every frame it is given, in order.
class FrameWriter {
public:
    explicit FrameWriter(fs::path directory)
        : m_directory(std::move(directory)), m_thread([this] { writeFrames(); })
    {
    }

    ~FrameWriter() { finish(); }

    void add(RenderedFrame &&frame)
    {
        {
            std::lock_guard lock(m_mutex);
            m_queue.push_back(std::move(frame));
        }
        m_wake.notify_all();
    }

    // Waits for every frame to be written; answers how many were, and whether all were.
    int finish()
    {
        {
            std::lock_guard lock(m_mutex);
            m_finishing = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable())
            m_thread.join();
        return m_written;
    }

    bool failed() const { return m_failed; }
    Animation &animation() { return m_animation; }

private:
    void writeFrames()
    {
        for (;;) {
            RenderedFrame frame;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return m_finishing || !m_queue.empty(); });
                if (m_queue.empty())
                    return;
                frame = std::move(m_queue.front());
                m_queue.pop_front();
            }
            write(frame);
        }
    }

    void write(const RenderedFrame &frame)
    {
        AutoreleasePool pool;
        auto image = StrongRef<CGImage>::adopt(
            imageFromPixels(std::size_t(frame.width), std::size_t(frame.height), frame.pixels));
        std::optional<std::vector<std::uint8_t>> png = encodePNG(image.get());
        char name[32];
        std::snprintf(name, sizeof name, "frame-%04d.png", m_written + 1);
        if (!png || !writeWhole(m_directory / name, png->data(), png->size()) ||
            !m_animation.add(frame)) {
            m_failed = true;
            return;
        }
        ++m_written;
    }

    fs::path m_directory;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<RenderedFrame> m_queue;
    bool m_finishing = false;
    bool m_failed = false;
    int m_written = 0;
    Animation m_animation;
    std::thread m_thread;
};

struct ActiveRecording {
    fs::path directory;
    double framesPerSecond = Recording::kDefaultFramesPerSecond;
    std::unique_ptr<FrameWriter> writer;
    std::unique_ptr<FrameSource> source;
    int framesWritten = 0;
};

// Kept for the life of the process, as SpringBoard's own state is.
ActiveRecording &recording()
{
    static ActiveRecording *active = new ActiveRecording;
    return *active;
}

bool holdsFrames(const fs::path &directory)
{
    std::error_code error;
    for (const fs::directory_entry &entry : fs::directory_iterator(directory, error))
        if (entry.path().filename().string().rfind("frame-", 0) == 0 ||
            entry.path().filename() == kAnimationName)
            return true;
    return false;
}

} // namespace

std::string Recording::start(const std::string &directory, double framesPerSecond)
{
    ActiveRecording &active = recording();
    if (active.source)
        return "a recording into " + active.directory.string() + " runs already";
    std::error_code error;
    fs::create_directories(directory, error);
    if (error || !fs::is_directory(directory))
        return "cannot make the directory " + directory + ": " + error.message();
    if (holdsFrames(directory))
        return directory + " holds a recording already";
    active = {};
    active.directory = directory;
    active.framesPerSecond = framesPerSecond;
    active.writer = std::make_unique<FrameWriter>(directory);
    active.source = std::make_unique<FrameSource>(
        [writer = active.writer.get()](RenderedFrame &&frame) { writer->add(std::move(frame)); },
        framesPerSecond, FrameSource::Policy::EveryTick);
    active.source->start();
    return {};
}

std::string Recording::stop(bool &failed)
{
    ActiveRecording &active = recording();
    failed = true;
    if (!active.source)
        return "no recording runs";
    active.source.reset();
    active.framesWritten = active.writer->finish();
    fs::path animation = active.directory / kAnimationName;
    bool complete = !active.writer->failed() &&
                    active.writer->animation().write(animation, 1 / active.framesPerSecond);
    active.writer.reset();
    if (!complete)
        return "the recording in " + active.directory.string() + " could not be written whole";
    failed = false;
    return std::to_string(active.framesWritten) + " frames, " + animation.string();
}

nlohmann::json Recording::dump()
{
    ActiveRecording &active = recording();
    if (active.directory.empty())
        return nullptr;
    return {{"active", bool(active.source)},
            {"directory", active.directory.string()},
            {"frames", active.source ? int(active.source->framesSent()) : active.framesWritten}};
}

} // namespace sim
