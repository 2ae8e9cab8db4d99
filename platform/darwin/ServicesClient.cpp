#include "darwin/ServicesClient.h"

#include "darwin/notify.h"
#include "foundation/DeviceRoot.h"

#include <chrono>
#include <pthread.h>
#include <syslog.h>

namespace sim {

namespace {

// The services answer within microseconds; a reply this late means they hang.
constexpr int kReplyTimeoutMs = 10000;

int remainingMs(std::chrono::steady_clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

ServiceMessage registrationRequest(const std::string &name, int token, bool wantsEvents)
{
    ServiceMessage message = makeServiceMessage(wantsEvents ? ServiceKind::NotifyRegisterEvents
                                                            : ServiceKind::NotifyRegisterCheck);
    message.token = token;
    (void)setServiceName(message, name); // the name was checked when it was registered
    return message;
}

} // namespace

ServicesClient &ServicesClient::shared()
{
    // Never destroyed: queues may still run handlers while the process exits.
    static ServicesClient *client = new ServicesClient;
    return *client;
}

ServicesClient::ServicesClient()
{
    pthread_atfork(lockBeforeFork, unlockAfterFork, resetInChild);
}

void ServicesClient::lockBeforeFork()
{
    shared().m_lock.lock();
}

void ServicesClient::unlockAfterFork()
{
    shared().m_lock.unlock();
}

// The child must not read or write the parent's connection, and its run loop is not
// the parent's: everything is forgotten, and the source id with it.
void ServicesClient::resetInChild()
{
    ServicesClient &client = shared();
    client.m_connection.reset();
    client.m_connectedPath.clear();
    client.m_registrations.clear();
    client.m_watchWanted = false;
    client.m_watchedFd = -1;
    client.m_lock.unlock();
}

bool ServicesClient::request(ServiceMessage message, ServiceMessage &reply)
{
    std::lock_guard lock(m_lock);
    return requestLocked(message, reply);
}

bool ServicesClient::requestLocked(ServiceMessage &message, ServiceMessage &reply)
{
    // A connection found broken is made once more: the services may have restarted.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!connectLocked())
            return false;
        switch (exchangeLocked(message, reply)) {
        case Exchange::Replied:
            return true;
        case Exchange::TimedOut:
            syslog(LOG_ERR, "device services did not answer in time");
            disconnectLocked();
            return false;
        case Exchange::ConnectionLost:
            disconnectLocked();
            break;
        }
    }
    return false;
}

bool ServicesClient::connectLocked()
{
    std::string path = servicesSocketPath();
    if (m_connection.valid() && path == m_connectedPath)
        return true;
    disconnectLocked();
    if (deviceRoot().empty())
        return false;
    m_connection = connectTo(path);
    if (!m_connection.valid())
        return false;
    m_connectedPath = path;
    if (!replayLocked()) {
        disconnectLocked();
        return false;
    }
    watchConnectionLocked();
    return true;
}

bool ServicesClient::replayLocked()
{
    for (const auto &[token, registration] : m_registrations) {
        ServiceMessage message =
            registrationRequest(registration.name, token, registration.delivery.has_value());
        ServiceMessage reply;
        if (exchangeLocked(message, reply) != Exchange::Replied)
            return false;
    }
    return true;
}

ServicesClient::Exchange ServicesClient::exchangeLocked(ServiceMessage &message,
                                                        ServiceMessage &reply)
{
    message.sequence = ++m_sequence;
    auto bytes = std::as_bytes(std::span(&message, 1));
    if (sendPacket(m_connection.get(), bytes, {}, kReplyTimeoutMs) != SendStatus::Sent)
        return Exchange::ConnectionLost;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kReplyTimeoutMs);
    while (true) {
        if (!waitReadable(m_connection.get(), remainingMs(deadline)))
            return Exchange::TimedOut;
        Packet packet;
        ReceiveStatus status = receivePacket(m_connection.get(), sizeof(ServiceMessage), packet);
        if (status == ReceiveStatus::Closed)
            return Exchange::ConnectionLost;
        ServiceMessage received;
        if (status != ReceiveStatus::Received || !parseServiceMessage(packet.bytes, received))
            continue;
        if (received.kind == ServiceKind::NotifyEvent)
            deliverLocked(received.token);
        else if (received.kind == ServiceKind::Reply && received.sequence == message.sequence) {
            reply = received;
            return Exchange::Replied;
        }
        // Anything else is a reply to a request that timed out earlier: skipped.
    }
}

void ServicesClient::disconnectLocked()
{
    // The run loop must let go of the descriptor before it is closed.
    if (m_watchedFd >= 0)
        RunLoop::main().removeSource(m_watchSource);
    m_watchedFd = -1;
    m_connection.reset();
    m_connectedPath.clear();
}

void ServicesClient::watchConnectionLocked()
{
    if (!m_watchWanted || !m_connection.valid() || m_watchedFd == m_connection.get())
        return;
    if (m_watchedFd >= 0)
        RunLoop::main().removeSource(m_watchSource);
    m_watchedFd = m_connection.get();
    m_watchSource = RunLoop::main().addFileDescriptor(m_watchedFd, [this] {
        std::lock_guard lock(m_lock);
        readEventsLocked();
    });
}

void ServicesClient::readEventsLocked()
{
    while (m_connection.valid()) {
        Packet packet;
        ReceiveStatus status = receivePacket(m_connection.get(), sizeof(ServiceMessage), packet);
        if (status == ReceiveStatus::Empty)
            return;
        if (status == ReceiveStatus::Closed) {
            // The services went away; the next request connects again and replays.
            disconnectLocked();
            return;
        }
        ServiceMessage received;
        if (status == ReceiveStatus::Received && parseServiceMessage(packet.bytes, received) &&
            received.kind == ServiceKind::NotifyEvent)
            deliverLocked(received.token);
    }
}

void ServicesClient::deliverLocked(int token)
{
    auto found = m_registrations.find(token);
    if (found == m_registrations.end() || !found->second.delivery)
        return;
    const Delivery &delivery = *found->second.delivery;
    dispatch_async(delivery.queue, [token, handler = delivery.handler] {
        if (shared().isRegistered(token))
            handler(token);
    });
}

std::uint32_t ServicesClient::registerName(const std::string &name,
                                           std::optional<Delivery> delivery, int &token)
{
    std::lock_guard lock(m_lock);
    bool wantsEvents = delivery.has_value();
    int newToken = m_nextToken++;
    m_registrations[newToken] = Registration{name, std::move(delivery)};
    ServiceMessage message = registrationRequest(name, newToken, wantsEvents);
    ServiceMessage reply;
    // A fresh connection replays the registration itself; the request then repeats it,
    // which the services take as the same registration.
    bool answered = requestLocked(message, reply);
    if (!answered || reply.status != NOTIFY_STATUS_OK) {
        m_registrations.erase(newToken);
        return answered ? reply.status : NOTIFY_STATUS_FAILED;
    }
    if (wantsEvents) {
        m_watchWanted = true;
        watchConnectionLocked();
    }
    token = newToken;
    return NOTIFY_STATUS_OK;
}

std::uint32_t ServicesClient::cancel(int token)
{
    std::lock_guard lock(m_lock);
    if (!m_registrations.erase(token))
        return NOTIFY_STATUS_INVALID_TOKEN;
    ServiceMessage message = makeServiceMessage(ServiceKind::NotifyCancel);
    message.token = token;
    ServiceMessage reply;
    // Once forgotten here the token is cancelled for this process, whatever the services
    // answer: an event still on its way finds no registration.
    if (!requestLocked(message, reply))
        return NOTIFY_STATUS_FAILED;
    return NOTIFY_STATUS_OK;
}

bool ServicesClient::isRegistered(int token)
{
    std::lock_guard lock(m_lock);
    return m_registrations.count(token) != 0;
}

} // namespace sim
