#pragma once
// The device services: what launchd and notifyd are to the phone, for the simulated
// device. One process of the device (the device tool, or a test) runs them on a thread of
// its own; every process of the device, that one included, reaches them through the socket
// /var/run/services under the device root. They keep the bootstrap names (name to the
// socket address of the receive right registered under it) and the Darwin notification
// centre. The run directory is private to the user (mode 0700) and a connection from a
// process of another user is closed unanswered.
//
// A process's bootstrap registrations and notification registrations end with its
// connection, so a name never outlives the process that registered it, and a new process
// registering the same name simply takes it over.

#include "darwin/NotificationCenter.h"
#include "darwin/ServicesProtocol.h"
#include "darwin/Socket.h"

#include <deque>
#include <map>
#include <set>
#include <string>
#include <thread>

namespace sim {

class DeviceServices {
public:
    DeviceServices() = default;
    DeviceServices(const DeviceServices &) = delete;
    DeviceServices &operator=(const DeviceServices &) = delete;
    ~DeviceServices();

    // Binds the services socket under the current device root and starts serving; false
    // (with a log line) when the root is unset, the socket cannot be bound, or services
    // already run for this root.
    [[nodiscard]] bool start();
    // Stops serving, drops every connection and removes the socket. Safe when not started.
    void stop();

    bool running() const { return m_thread.joinable(); }

private:
    struct Client {
        OwnedFd connection;
        std::deque<ServiceMessage> outbox;
        std::set<int> queuedEvents; // tokens with an event in the outbox already
        bool writable = true;
    };
    struct Registration {
        std::string address;
        ClientId owner;
    };

    void serve();
    void acceptClients();
    void readClient(ClientId id);
    void handleRequest(ClientId id, const ServiceMessage &request);
    void handleBootstrap(ClientId id, const ServiceMessage &request, ServiceMessage &reply);
    void handleNotify(ClientId id, const ServiceMessage &request, ServiceMessage &reply);
    void enqueue(ClientId id, const ServiceMessage &message);
    void flush(ClientId id);
    void watchWritable(ClientId id, bool wanted);
    void closeClient(ClientId id);
    void closeDroppedClients();

    std::string m_socketPath;
    OwnedFd m_listener;
    OwnedFd m_epoll;
    OwnedFd m_wake;
    std::thread m_thread;

    // Touched by the service thread only.
    std::map<ClientId, Client> m_clients;
    std::set<ClientId> m_dropped;
    ClientId m_nextClient = 2;
    std::map<std::string, Registration> m_bootstrapNames;
    NotificationCenter m_notifications;
};

} // namespace sim
