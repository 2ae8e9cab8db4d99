#pragma once
// The Unix sequenced-packet sockets that carry everything between the processes of the
// device: the connection of each process to the device services and the connections of
// senders to receive rights. A packet arrives whole or not at all, so a message never
// needs framing, and descriptors (out-of-line memory) ride beside a packet as SCM_RIGHTS.
// Only processes of the same user may talk to each other: every accepted connection is
// checked with SO_PEERCRED.

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace sim {

// Owns one file descriptor and closes it.
class OwnedFd {
public:
    OwnedFd() = default;
    explicit OwnedFd(int fd) : m_fd(fd) {}
    OwnedFd(OwnedFd &&other) noexcept : m_fd(other.release()) {}
    OwnedFd &operator=(OwnedFd &&other) noexcept;
    OwnedFd(const OwnedFd &) = delete;
    OwnedFd &operator=(const OwnedFd &) = delete;
    ~OwnedFd() { reset(); }

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    [[nodiscard]] int release();
    void reset(int fd = -1);

private:
    int m_fd = -1;
};

// The most descriptors one packet may carry; more are refused by the sender and dropped
// by the receiver.
inline constexpr size_t kMaxPacketDescriptors = 8;

struct Packet {
    std::vector<std::byte> bytes;
    std::vector<OwnedFd> descriptors;
};

enum class SendStatus {
    Sent,
    PeerGone, // nobody listens at the address, or the connection was closed or reset
    TimedOut,
    Failed,
};

enum class ReceiveStatus {
    Received,
    Empty,     // nothing pending (non-blocking receive)
    Malformed, // a packet arrived truncated or with too many descriptors; it was dropped
    Closed,    // the peer closed the connection, or it failed
};

// A listening, non-blocking socket bound at `path`; invalid on failure (errno set,
// ENAMETOOLONG when the path does not fit a socket address).
[[nodiscard]] OwnedFd listenAt(const std::string &path);

// A blocking connection to the socket at `path`; invalid on failure (errno set).
[[nodiscard]] OwnedFd connectTo(const std::string &path);

// Whether the socket file at `path` refuses connections: nobody listens there any more
// (its process ended without removing it). Never waits: a listener whose queue is full
// still counts as listening.
[[nodiscard]] bool refusesConnections(const std::string &path);

// Accepts one pending connection; a peer of another user is closed at once and the next
// one tried. Invalid when none is pending.
[[nodiscard]] OwnedFd acceptSameUser(int listener);

// Sends one packet with its descriptors. timeoutMs < 0 waits as long as the receiver's
// queue stays full.
[[nodiscard]] SendStatus sendPacket(int fd, std::span<const std::byte> bytes,
                                    std::span<const int> descriptors, int timeoutMs);

// Receives one pending packet of at most maxBytes without waiting.
[[nodiscard]] ReceiveStatus receivePacket(int fd, size_t maxBytes, Packet &packet);

// Waits until fd is readable; false on timeout (timeoutMs < 0 waits without limit).
[[nodiscard]] bool waitReadable(int fd, int timeoutMs);

} // namespace sim
