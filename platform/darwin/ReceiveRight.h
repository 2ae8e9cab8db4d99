#pragma once
// A receive right: the listening socket that senders connect to, bound at
// /var/run/ports/<address> of the device, and the connections it accepted. One epoll
// descriptor watches the listener and every connection, so the right is ready for a run
// loop exactly when that one descriptor is readable. Messages are taken one packet at a
// time; a packet that does not hold a well-formed message is dropped with a log line and
// the next one is read.

#include "darwin/MessageWire.h"
#include "darwin/Socket.h"

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace sim {

// The host path of a receive right's socket.
std::string portSocketPath(std::string_view address);

// Removes the socket files of this process's receive rights still alive, for a process
// that ends with _exit (a normal exit removes them by itself): the port directory keeps
// no file of a process that is gone.
void removePortSocketsOfThisProcess();

// Removes the socket files that processes killed before they could remove them left in
// the device's port directory: a file whose process no longer runs and on which nobody
// listens. A live process's files are never touched. Answers how many were removed.
std::size_t removeStalePortSockets();

class ReceiveRight {
public:
    // Binds a new socket under the device's port directory; null on failure. The first
    // right of a process on a device root first clears the root's stale socket files.
    static std::shared_ptr<ReceiveRight> create();

    ReceiveRight(const ReceiveRight &) = delete;
    ReceiveRight &operator=(const ReceiveRight &) = delete;
    ~ReceiveRight();

    const std::string &address() const { return m_address; }
    // Readable while a connection or a message may be waiting.
    int readinessDescriptor() const { return m_epoll.get(); }

    // Waits up to timeoutMs (< 0: without limit) for the next well-formed message.
    // Answers MACH_MSG_SUCCESS, MACH_RCV_TIMED_OUT or MACH_RCV_PORT_DIED.
    [[nodiscard]] mach_msg_return_t receive(int timeoutMs, IncomingMessage &message);

    // Puts a message back in front of the queue (the receiver's buffer was too small).
    void putBack(IncomingMessage message);

    // Closes the socket and its connections: later senders get MACH_SEND_INVALID_DEST.
    void destroy();

    // In a forked child: closes this process's copies of the descriptors and leaves the
    // socket file to the parent.
    void abandonInChild();

private:
    ReceiveRight(std::string address, std::string path, OwnedFd listener, OwnedFd epoll);

    void serviceDescriptor(int fd);
    void acceptConnections();
    void readConnection(int fd);
    void closeConnection(int fd);

    std::mutex m_lock;
    const std::string m_address;
    const std::string m_path; // the socket file, fixed at creation whatever the root becomes
    OwnedFd m_listener;
    OwnedFd m_epoll;
    std::map<int, OwnedFd> m_connections;
    std::deque<IncomingMessage> m_ready;
    bool m_destroyed = false;
};

} // namespace sim
