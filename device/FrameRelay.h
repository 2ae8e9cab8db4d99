#pragma once
// The device page's side of the frame channel (FrameChannel.h): it listens at the frame
// socket, takes the frames of whichever SpringBoard process is connected (a relaunched
// one replaces the one that ended) and keeps the newest, numbered, for the page's
// streams. A stream waits for a frame newer than the one it sent last; a browser that
// connects late gets the newest frame at once.

#include "FrameChannel.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace sim {

class FrameRelay {
public:
    FrameRelay() = default;
    ~FrameRelay();
    FrameRelay(const FrameRelay &) = delete;
    FrameRelay &operator=(const FrameRelay &) = delete;

    // Listens at `path` and takes frames on a thread of its own; false (errno set) when
    // the socket cannot be made.
    [[nodiscard]] bool start(const std::string &path);
    void stop();

    struct Numbered {
        std::uint64_t number = 0; // 0: no frame yet
        std::shared_ptr<const EncodedFrame> frame;
    };

    // The newest frame once it is numbered above `after`; waits at most `timeoutMs`,
    // answering number 0 when none came.
    Numbered waitForFrameAfter(std::uint64_t after, int timeoutMs);
    std::uint64_t framesReceived() const;

private:
    void receiveFrames();

    OwnedFd m_listener;
    int m_stopPipe[2] = {-1, -1};
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_arrived;
    Numbered m_newest;
};

} // namespace sim
