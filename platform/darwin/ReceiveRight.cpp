#include "darwin/ReceiveRight.h"

#include "foundation/DeviceRoot.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <random>
#include <signal.h>
#include <sys/epoll.h>
#include <syslog.h>
#include <unistd.h>

namespace sim {

namespace {

// Past this many senders a right refuses new connections: a runaway sender cannot exhaust
// the receiver's descriptors.
constexpr size_t kMaxConnections = 512;
// One descriptor per wait: a wait then decodes at most one message, which goes straight to
// the caller, and everything else stays pending in the sockets, where it keeps the
// readiness descriptor readable for a run loop.
constexpr int kEventsPerWait = 1;

// "<pid>-<serial>-<random>": unique among the device's live processes, and the random
// part keeps a reused pid from meeting a stale socket file of an earlier process.
std::string makeAddress()
{
    static std::atomic<unsigned> serial{0};
    char buffer[kMaxPortAddressLength + 1];
    std::snprintf(buffer, sizeof(buffer), "%d-%u-%08x", getpid(), ++serial,
                  static_cast<unsigned>(std::random_device{}()));
    return buffer;
}

[[nodiscard]] bool watch(int epoll, int fd)
{
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = fd;
    return epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &event) == 0;
}

int remainingMs(std::chrono::steady_clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

} // namespace

std::string portSocketPath(std::string_view address)
{
    return hostPath("/var/run/ports/") + std::string(address);
}

namespace {

// The socket files of the live receive rights, each with the process that made it: a
// forked child inherits the table but must not remove its parent's files.
struct LiveSockets {
    std::mutex lock;
    std::map<std::string, pid_t> paths;
};

LiveSockets &liveSockets()
{
    static auto *sockets = [] {
        std::atexit(removePortSocketsOfThisProcess);
        return new LiveSockets; // never destroyed: the exit handler uses it
    }();
    return *sockets;
}

void rememberSocket(const std::string &path)
{
    LiveSockets &sockets = liveSockets();
    std::lock_guard guard(sockets.lock);
    sockets.paths[path] = getpid();
}

void forgetSocket(const std::string &path)
{
    LiveSockets &sockets = liveSockets();
    std::lock_guard guard(sockets.lock);
    sockets.paths.erase(path);
}

} // namespace

void removePortSocketsOfThisProcess()
{
    LiveSockets &sockets = liveSockets();
    std::lock_guard guard(sockets.lock);
    pid_t self = getpid();
    for (auto entry = sockets.paths.begin(); entry != sockets.paths.end();) {
        if (entry->second == self) {
            unlink(entry->first.c_str());
            entry = sockets.paths.erase(entry);
        } else {
            ++entry;
        }
    }
}

namespace {

// The process a socket file's name says made it ("<pid>-..."), or 0 for another name.
pid_t ownerOfSocketFile(const std::string &name)
{
    char *end = nullptr;
    long pid = std::strtol(name.c_str(), &end, 10);
    return end != name.c_str() && *end == '-' && pid > 0 ? static_cast<pid_t>(pid) : 0;
}

bool isRunning(pid_t process)
{
    return kill(process, 0) == 0 || errno == EPERM;
}

// Sweeps the port directory once per device root a process uses, before its first right.
void removeStaleSocketsOnce(const std::string &directory)
{
    static std::mutex lock;
    static std::string swept;
    std::lock_guard guard(lock);
    if (swept == directory)
        return;
    swept = directory;
    removeStalePortSockets();
}

} // namespace

std::size_t removeStalePortSockets()
{
    std::size_t removed = 0;
    std::error_code error;
    std::filesystem::directory_iterator entries(hostPath("/var/run/ports"), error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        std::string path = entries->path().string();
        pid_t owner = ownerOfSocketFile(entries->path().filename().string());
        // Between bind and listen a live right refuses connections too: its process runs.
        if (owner == 0 || isRunning(owner) || !refusesConnections(path))
            continue;
        if (unlink(path.c_str()) == 0)
            ++removed;
    }
    return removed;
}

std::shared_ptr<ReceiveRight> ReceiveRight::create()
{
    if (deviceRoot().empty() || !makeDirectories(hostPath("/var/run/ports")))
        return nullptr;
    removeStaleSocketsOnce(hostPath("/var/run/ports"));
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::string address = makeAddress();
        std::string path = portSocketPath(address);
        OwnedFd listener = listenAt(path);
        if (!listener.valid()) {
            if (errno == EADDRINUSE)
                continue;
            syslog(LOG_ERR, "mach_port_allocate: cannot bind %s: %m", path.c_str());
            return nullptr;
        }
        OwnedFd epoll(epoll_create1(EPOLL_CLOEXEC));
        if (!epoll.valid() || !watch(epoll.get(), listener.get())) {
            unlink(path.c_str());
            return nullptr;
        }
        rememberSocket(path);
        return std::shared_ptr<ReceiveRight>(new ReceiveRight(
            std::move(address), std::move(path), std::move(listener), std::move(epoll)));
    }
    return nullptr;
}

ReceiveRight::ReceiveRight(std::string address, std::string path, OwnedFd listener, OwnedFd epoll)
    : m_address(std::move(address)), m_path(std::move(path)), m_listener(std::move(listener)),
      m_epoll(std::move(epoll))
{
}

ReceiveRight::~ReceiveRight()
{
    destroy();
}

mach_msg_return_t ReceiveRight::receive(int timeoutMs, IncomingMessage &message)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        {
            std::lock_guard lock(m_lock);
            if (m_destroyed)
                return MACH_RCV_PORT_DIED;
            if (!m_ready.empty()) {
                message = std::move(m_ready.front());
                m_ready.pop_front();
                return MACH_MSG_SUCCESS;
            }
        }
        // Waiting happens without the lock, so destroy() and other receivers never block
        // behind a waiting receiver.
        epoll_event events[kEventsPerWait];
        int count = epoll_wait(m_epoll.get(), events, kEventsPerWait,
                               timeoutMs < 0 ? -1 : remainingMs(deadline));
        if (count < 0 && errno != EINTR)
            return MACH_RCV_PORT_DIED;
        {
            std::lock_guard lock(m_lock);
            for (int index = 0; index < count && !m_destroyed; ++index)
                serviceDescriptor(events[index].data.fd);
            if (m_destroyed)
                return MACH_RCV_PORT_DIED;
            if (!m_ready.empty())
                continue;
        }
        if (timeoutMs >= 0 && count == 0 && remainingMs(deadline) == 0)
            return MACH_RCV_TIMED_OUT;
    }
}

void ReceiveRight::putBack(IncomingMessage message)
{
    std::lock_guard lock(m_lock);
    if (!m_destroyed)
        m_ready.push_front(std::move(message));
}

// Called with the lock held. The descriptor may have been closed by another receiver
// since the wait reported it, so only descriptors still owned are touched.
void ReceiveRight::serviceDescriptor(int fd)
{
    if (fd == m_listener.get())
        acceptConnections();
    else if (m_connections.count(fd))
        readConnection(fd);
}

void ReceiveRight::acceptConnections()
{
    while (true) {
        OwnedFd connection = acceptSameUser(m_listener.get());
        if (!connection.valid())
            return;
        if (m_connections.size() >= kMaxConnections) {
            syslog(LOG_WARNING, "mach port %s: too many senders, connection refused",
                   m_address.c_str());
            continue;
        }
        if (!watch(m_epoll.get(), connection.get()))
            continue;
        int fd = connection.get();
        m_connections.emplace(fd, std::move(connection));
    }
}

void ReceiveRight::readConnection(int fd)
{
    Packet packet;
    switch (receivePacket(fd, maxPacketSize(), packet)) {
    case ReceiveStatus::Received: {
        IncomingMessage message;
        std::string_view problem;
        if (decodeMessage(packet, message, problem))
            m_ready.push_back(std::move(message));
        else
            syslog(LOG_WARNING, "mach port %s: dropped a malformed message (%.*s)",
                   m_address.c_str(), static_cast<int>(problem.size()), problem.data());
        return;
    }
    case ReceiveStatus::Malformed:
        syslog(LOG_WARNING, "mach port %s: dropped an oversized packet", m_address.c_str());
        return;
    case ReceiveStatus::Closed:
        closeConnection(fd);
        return;
    case ReceiveStatus::Empty:
        return;
    }
}

void ReceiveRight::closeConnection(int fd)
{
    epoll_ctl(m_epoll.get(), EPOLL_CTL_DEL, fd, nullptr);
    m_connections.erase(fd);
}

void ReceiveRight::destroy()
{
    std::lock_guard lock(m_lock);
    if (m_destroyed)
        return;
    m_destroyed = true;
    unlink(m_path.c_str());
    forgetSocket(m_path);
    // Closing removes each descriptor from the epoll set, which then never becomes
    // readable again; the epoll descriptor itself lives as long as the object, because a
    // run loop may still be watching it.
    m_listener.reset();
    m_connections.clear();
    m_ready.clear();
}

void ReceiveRight::abandonInChild()
{
    m_destroyed = true;
    m_listener.reset();
    m_connections.clear();
    m_ready.clear();
}

} // namespace sim
