#include "FrameRelay.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace sim {

namespace {

// Only processes of this user may send frames.
bool peerIsSameUser(int fd)
{
    ucred credentials{};
    socklen_t length = sizeof credentials;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 &&
           credentials.uid == geteuid();
}

} // namespace

FrameRelay::~FrameRelay()
{
    stop();
}

bool FrameRelay::start(const std::string &path)
{
    m_listener = listenForFrames(path);
    if (!m_listener.valid() || pipe2(m_stopPipe, O_CLOEXEC) != 0)
        return false;
    m_thread = std::thread([this] { receiveFrames(); });
    return true;
}

void FrameRelay::stop()
{
    if (m_thread.joinable()) {
        char stop = 1;
        [[maybe_unused]] ssize_t written = write(m_stopPipe[1], &stop, 1);
        m_thread.join();
    }
    for (int &end : m_stopPipe) {
        if (end >= 0)
            close(end);
        end = -1;
    }
    m_listener.reset();
}

FrameRelay::Numbered FrameRelay::waitForFrameAfter(std::uint64_t after, int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    if (!m_arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                            [&] { return m_newest.number > after; }))
        return {};
    return m_newest;
}

std::uint64_t FrameRelay::framesReceived() const
{
    std::lock_guard lock(m_mutex);
    return m_newest.number;
}

// One SpringBoard at a time: a new connection (a relaunch) replaces the current one.
void FrameRelay::receiveFrames()
{
    OwnedFd sender;
    for (;;) {
        pollfd watched[3] = {
            {m_stopPipe[0], POLLIN, 0}, {m_listener.get(), POLLIN, 0}, {sender.get(), POLLIN, 0}};
        if (poll(watched, sender.valid() ? 3 : 2, -1) < 0)
            continue;
        if (watched[0].revents)
            return;
        if (watched[1].revents & POLLIN) {
            OwnedFd accepted(accept4(m_listener.get(), nullptr, nullptr, SOCK_CLOEXEC));
            if (accepted.valid() && peerIsSameUser(accepted.get()))
                sender = std::move(accepted);
        }
        if (sender.valid() && (watched[2].revents & (POLLIN | POLLHUP | POLLERR))) {
            std::optional<EncodedFrame> frame = readFrame(sender.get());
            if (!frame) {
                sender.reset();
                continue;
            }
            {
                std::lock_guard lock(m_mutex);
                m_newest = {m_newest.number + 1,
                            std::make_shared<const EncodedFrame>(std::move(*frame))};
            }
            m_arrived.notify_all();
        }
    }
}

} // namespace sim
