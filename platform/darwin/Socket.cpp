#include "darwin/Socket.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace sim {

OwnedFd &OwnedFd::operator=(OwnedFd &&other) noexcept
{
    if (this != &other)
        reset(other.release());
    return *this;
}

int OwnedFd::release()
{
    int fd = m_fd;
    m_fd = -1;
    return fd;
}

void OwnedFd::reset(int fd)
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

namespace {

[[nodiscard]] bool makeAddress(const std::string &path, sockaddr_un &address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(address.sun_path)) {
        errno = ENAMETOOLONG;
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

bool isSameUser(int fd)
{
    ucred credentials{};
    socklen_t length = sizeof(credentials);
    if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0)
        return false;
    return credentials.uid == geteuid();
}

} // namespace

OwnedFd listenAt(const std::string &path)
{
    sockaddr_un address;
    if (!makeAddress(path, address))
        return {};
    OwnedFd fd(socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.valid())
        return {};
    if (bind(fd.get(), reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0 ||
        listen(fd.get(), SOMAXCONN) != 0)
        return {};
    return fd;
}

OwnedFd connectTo(const std::string &path)
{
    sockaddr_un address;
    if (!makeAddress(path, address))
        return {};
    OwnedFd fd(socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
    if (!fd.valid())
        return {};
    int result;
    do {
        result = connect(fd.get(), reinterpret_cast<sockaddr *>(&address), sizeof(address));
    } while (result != 0 && errno == EINTR);
    if (result != 0)
        return {};
    return fd;
}

bool refusesConnections(const std::string &path)
{
    sockaddr_un address;
    if (!makeAddress(path, address))
        return false;
    OwnedFd fd(socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.valid())
        return false;
    int result;
    do {
        result = connect(fd.get(), reinterpret_cast<sockaddr *>(&address), sizeof(address));
    } while (result != 0 && errno == EINTR);
    return result != 0 && errno == ECONNREFUSED;
}

OwnedFd acceptSameUser(int listener)
{
    while (true) {
        OwnedFd fd(accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!fd.valid()) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return {};
        }
        if (isSameUser(fd.get()))
            return fd;
        // A process of another user: refused by closing its connection unread.
    }
}

bool waitReadable(int fd, int timeoutMs)
{
    pollfd entry{fd, POLLIN, 0};
    int result;
    do {
        result = poll(&entry, 1, timeoutMs);
    } while (result < 0 && errno == EINTR);
    return result > 0;
}

namespace {

[[nodiscard]] bool waitWritable(int fd, int timeoutMs)
{
    pollfd entry{fd, POLLOUT, 0};
    int result;
    do {
        result = poll(&entry, 1, timeoutMs);
    } while (result < 0 && errno == EINTR);
    return result > 0;
}

// Room for the largest descriptor set a packet may carry.
union ControlBuffer {
    char bytes[CMSG_SPACE(sizeof(int) * kMaxPacketDescriptors)];
    cmsghdr alignment;
};

} // namespace

SendStatus sendPacket(int fd, std::span<const std::byte> bytes, std::span<const int> descriptors,
                      int timeoutMs)
{
    if (descriptors.size() > kMaxPacketDescriptors)
        return SendStatus::Failed;
    iovec part{const_cast<std::byte *>(bytes.data()), bytes.size()};
    msghdr header{};
    header.msg_iov = &part;
    header.msg_iovlen = 1;
    ControlBuffer control{};
    if (!descriptors.empty()) {
        header.msg_control = control.bytes;
        header.msg_controllen = CMSG_SPACE(sizeof(int) * descriptors.size());
        cmsghdr *rights = CMSG_FIRSTHDR(&header);
        rights->cmsg_level = SOL_SOCKET;
        rights->cmsg_type = SCM_RIGHTS;
        rights->cmsg_len = CMSG_LEN(sizeof(int) * descriptors.size());
        std::memcpy(CMSG_DATA(rights), descriptors.data(), sizeof(int) * descriptors.size());
    }
    while (true) {
        if (sendmsg(fd, &header, MSG_DONTWAIT | MSG_NOSIGNAL) >= 0)
            return SendStatus::Sent;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN) {
            if (!waitWritable(fd, timeoutMs))
                return SendStatus::TimedOut;
            continue;
        }
        if (errno == EPIPE || errno == ECONNRESET || errno == ENOTCONN)
            return SendStatus::PeerGone;
        return SendStatus::Failed;
    }
}

namespace {

void adoptDescriptors(msghdr &header, std::vector<OwnedFd> &descriptors)
{
    for (cmsghdr *part = CMSG_FIRSTHDR(&header); part; part = CMSG_NXTHDR(&header, part)) {
        if (part->cmsg_level != SOL_SOCKET || part->cmsg_type != SCM_RIGHTS)
            continue;
        size_t count = (part->cmsg_len - CMSG_LEN(0)) / sizeof(int);
        for (size_t index = 0; index < count; ++index) {
            int fd;
            std::memcpy(&fd, CMSG_DATA(part) + index * sizeof(int), sizeof(int));
            descriptors.emplace_back(fd);
        }
    }
}

} // namespace

ReceiveStatus receivePacket(int fd, size_t maxBytes, Packet &packet)
{
    packet.bytes.resize(maxBytes);
    packet.descriptors.clear();
    iovec part{packet.bytes.data(), packet.bytes.size()};
    ControlBuffer control{};
    msghdr header{};
    header.msg_iov = &part;
    header.msg_iovlen = 1;
    header.msg_control = control.bytes;
    header.msg_controllen = sizeof(control.bytes);
    ssize_t received;
    do {
        received = recvmsg(fd, &header, MSG_DONTWAIT | MSG_CMSG_CLOEXEC | MSG_TRUNC);
    } while (received < 0 && errno == EINTR);
    if (received < 0)
        return errno == EAGAIN ? ReceiveStatus::Empty : ReceiveStatus::Closed;
    // Descriptors are taken over before anything else, so a dropped packet closes them.
    adoptDescriptors(header, packet.descriptors);
    if (received == 0)
        return ReceiveStatus::Closed;
    if ((header.msg_flags & (MSG_TRUNC | MSG_CTRUNC)) || static_cast<size_t>(received) > maxBytes) {
        packet.descriptors.clear();
        return ReceiveStatus::Malformed;
    }
    packet.bytes.resize(static_cast<size_t>(received));
    return ReceiveStatus::Received;
}

} // namespace sim
