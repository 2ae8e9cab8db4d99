#pragma once
// This process's side of the device services: its one connection, and the notification
// registrations it made over it. Requests are synchronous: a request is sent and its
// reply awaited (with a watchdog) under one lock, so replies arrive in request order.
// Notification events share the connection; whoever reads one — a request waiting for
// its reply, or the main run loop watching the connection — hands the registration's
// handler to its dispatch queue at once. The handler checks, when it runs, that its
// registration still exists, so nothing is delivered after notify_cancel returned.
//
// The connection is made on first use and made again when the services went away or the
// device root changed; a new connection first replays the registrations, so a process
// keeps hearing its names across a restart of the services. A forked child starts without
// the parent's connection and registrations, as a new process would.

#include "darwin/ServicesProtocol.h"
#include "darwin/Socket.h"
#include "foundation/RunLoop.h"
#include "foundation/dispatch.h"

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace sim {

class ServicesClient {
public:
    static ServicesClient &shared();

    // Sends a request and waits for its reply; false when the services cannot be reached
    // or do not answer in time.
    [[nodiscard]] bool request(ServiceMessage message, ServiceMessage &reply);

    struct Delivery {
        dispatch_queue_t queue;
        std::function<void(int token)> handler;
    };
    // Registers `name` with the services under a new token. Without a delivery the
    // registration is polled (notify_check). Answers a NOTIFY_STATUS code.
    [[nodiscard]] std::uint32_t registerName(const std::string &name,
                                             std::optional<Delivery> delivery, int &token);
    [[nodiscard]] std::uint32_t cancel(int token);
    bool isRegistered(int token);

private:
    struct Registration {
        std::string name;
        std::optional<Delivery> delivery;
    };
    enum class Exchange { Replied, ConnectionLost, TimedOut };

    ServicesClient();
    static void lockBeforeFork();
    static void unlockAfterFork();
    static void resetInChild();

    [[nodiscard]] bool requestLocked(ServiceMessage &message, ServiceMessage &reply);
    [[nodiscard]] bool connectLocked();
    [[nodiscard]] Exchange exchangeLocked(ServiceMessage &message, ServiceMessage &reply);
    [[nodiscard]] bool replayLocked();
    void disconnectLocked();
    void readEventsLocked();
    void deliverLocked(int token);
    void watchConnectionLocked();

    std::mutex m_lock;
    OwnedFd m_connection;
    std::string m_connectedPath;
    std::uint32_t m_sequence = 0;
    int m_nextToken = 0;
    std::map<int, Registration> m_registrations;
    bool m_watchWanted = false; // a registration delivers to a queue
    int m_watchedFd = -1;
    RunLoop::SourceId m_watchSource = 0;
};

} // namespace sim
