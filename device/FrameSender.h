#pragma once
// SpringBoard's side of the frame channel (FrameChannel.h): frames from the main thread
// are encoded and written on a thread of their own, so SpringBoard never waits for the
// encoder or for the device page. Only the newest frame waits: a frame offered while the
// thread is still busy replaces the one not yet taken, so a slow reader sees fewer frames,
// never older ones. When the reader goes away the sender stops taking frames.

#include "FrameChannel.h"
#include "FrameSource.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace sim {

class FrameSender {
public:
    explicit FrameSender(OwnedFd connection);
    ~FrameSender();
    FrameSender(const FrameSender &) = delete;
    FrameSender &operator=(const FrameSender &) = delete;

    // Hands the frame over (any thread); returns at once.
    void offer(RenderedFrame &&frame);
    // False once a write failed: nobody reads the frames any more.
    bool connected() const;

private:
    void sendFrames();

    OwnedFd m_connection;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<RenderedFrame> m_pending;
    bool m_stopping = false;
    bool m_connected = true;
    std::thread m_thread;
};

} // namespace sim
