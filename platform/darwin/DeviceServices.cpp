#include "darwin/DeviceServices.h"

#include "darwin/bootstrap.h"
#include "darwin/notify.h"
#include "foundation/DeviceRoot.h"

#include <cstring>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <syslog.h>
#include <unistd.h>

namespace sim {

namespace {

constexpr ClientId kListenerId = 0;
constexpr ClientId kWakeId = 1;
constexpr size_t kMaxClients = 1024;
// Replies and events waiting for a process that does not read; past this the process is
// disconnected rather than let the services grow.
constexpr size_t kMaxOutbox = 4096;
// Requests read from one process before the others get their turn.
constexpr int kRequestsPerTurn = 64;

[[nodiscard]] bool addToEpoll(int epoll, int fd, ClientId id)
{
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u64 = id;
    return epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &event) == 0;
}

// The run directory holds every socket of the device: only its user may enter it.
[[nodiscard]] bool makePrivateRunDirectory()
{
    std::string directory = hostPath("/var/run");
    return makeDirectories(directory) && chmod(directory.c_str(), 0700) == 0;
}

// True when services of another process already answer at `path`.
bool servicesAnswerAt(const std::string &path)
{
    return connectTo(path).valid();
}

} // namespace

DeviceServices::~DeviceServices()
{
    stop();
}

bool DeviceServices::start()
{
    if (running())
        return true;
    if (deviceRoot().empty() || !makePrivateRunDirectory()) {
        syslog(LOG_ERR, "DeviceServices: no device root to serve");
        return false;
    }
    m_socketPath = servicesSocketPath();
    if (servicesAnswerAt(m_socketPath)) {
        syslog(LOG_ERR, "DeviceServices: services already run at %s", m_socketPath.c_str());
        return false;
    }
    unlink(m_socketPath.c_str()); // a socket file left by services that ended abruptly
    m_listener = listenAt(m_socketPath);
    m_epoll = OwnedFd(epoll_create1(EPOLL_CLOEXEC));
    m_wake = OwnedFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!m_listener.valid() || !m_epoll.valid() || !m_wake.valid() ||
        !addToEpoll(m_epoll.get(), m_listener.get(), kListenerId) ||
        !addToEpoll(m_epoll.get(), m_wake.get(), kWakeId)) {
        syslog(LOG_ERR, "DeviceServices: cannot listen at %s: %m", m_socketPath.c_str());
        stop();
        return false;
    }
    m_thread = std::thread([this] { serve(); });
    return true;
}

void DeviceServices::stop()
{
    if (m_thread.joinable()) {
        std::uint64_t one = 1;
        if (write(m_wake.get(), &one, sizeof(one)) != sizeof(one))
            syslog(LOG_ERR, "DeviceServices: cannot wake the service thread: %m");
        m_thread.join();
    }
    if (m_listener.valid())
        unlink(m_socketPath.c_str());
    m_clients.clear();
    m_dropped.clear();
    m_bootstrapNames.clear();
    m_notifications = NotificationCenter{};
    m_listener.reset();
    m_epoll.reset();
    m_wake.reset();
}

void DeviceServices::serve()
{
    epoll_event events[32];
    while (true) {
        int count = epoll_wait(m_epoll.get(), events, 32, -1);
        if (count < 0 && errno != EINTR) {
            syslog(LOG_ERR, "DeviceServices: wait failed: %m");
            return;
        }
        for (int index = 0; index < count; ++index) {
            ClientId id = events[index].data.u64;
            if (id == kWakeId)
                return;
            if (id == kListenerId)
                acceptClients();
            else if (m_clients.count(id) && !m_dropped.count(id)) {
                if (events[index].events & EPOLLOUT)
                    flush(id);
                if (events[index].events & (EPOLLIN | EPOLLHUP | EPOLLERR))
                    readClient(id);
            }
        }
        closeDroppedClients();
    }
}

void DeviceServices::acceptClients()
{
    while (true) {
        OwnedFd connection = acceptSameUser(m_listener.get());
        if (!connection.valid())
            return;
        if (m_clients.size() >= kMaxClients) {
            syslog(LOG_WARNING, "DeviceServices: too many processes, connection refused");
            continue;
        }
        ClientId id = m_nextClient++;
        if (!addToEpoll(m_epoll.get(), connection.get(), id))
            continue;
        m_clients[id].connection = std::move(connection);
    }
}

void DeviceServices::readClient(ClientId id)
{
    for (int turn = 0; turn < kRequestsPerTurn && !m_dropped.count(id); ++turn) {
        Packet packet;
        ReceiveStatus status =
            receivePacket(m_clients.at(id).connection.get(), sizeof(ServiceMessage), packet);
        if (status == ReceiveStatus::Empty)
            return;
        if (status == ReceiveStatus::Closed) {
            m_dropped.insert(id);
            return;
        }
        ServiceMessage request;
        if (status == ReceiveStatus::Malformed || !parseServiceMessage(packet.bytes, request) ||
            request.kind == ServiceKind::Reply || request.kind == ServiceKind::NotifyEvent) {
            syslog(LOG_WARNING, "DeviceServices: dropped a malformed request");
            continue;
        }
        handleRequest(id, request);
    }
}

void DeviceServices::handleRequest(ClientId id, const ServiceMessage &request)
{
    ServiceMessage reply = makeServiceMessage(ServiceKind::Reply);
    reply.sequence = request.sequence;
    reply.token = request.token;
    if (request.kind == ServiceKind::BootstrapRegister ||
        request.kind == ServiceKind::BootstrapLookUp)
        handleBootstrap(id, request, reply);
    else
        handleNotify(id, request, reply);
    enqueue(id, reply);
}

void DeviceServices::handleBootstrap(ClientId id, const ServiceMessage &request,
                                     ServiceMessage &reply)
{
    std::string name = request.name;
    if (name.empty() || name.size() >= sizeof(name_t)) {
        bool registering = request.kind == ServiceKind::BootstrapRegister;
        reply.status = registering ? KERN_INVALID_ARGUMENT : BOOTSTRAP_UNKNOWN_SERVICE;
        return;
    }
    if (request.kind == ServiceKind::BootstrapRegister) {
        if (request.address[0] == '\0') {
            reply.status = KERN_INVALID_ARGUMENT;
            return;
        }
        m_bootstrapNames[name] = Registration{request.address, id};
        reply.status = BOOTSTRAP_SUCCESS;
        return;
    }
    auto found = m_bootstrapNames.find(name);
    if (found == m_bootstrapNames.end()) {
        reply.status = BOOTSTRAP_UNKNOWN_SERVICE;
        return;
    }
    reply.status = BOOTSTRAP_SUCCESS;
    (void)setServiceAddress(reply, found->second.address); // valid: checked when registered
}

void DeviceServices::handleNotify(ClientId id, const ServiceMessage &request, ServiceMessage &reply)
{
    bool posted = false;
    switch (request.kind) {
    case ServiceKind::NotifyRegisterCheck:
    case ServiceKind::NotifyRegisterEvents:
        reply.status = m_notifications.registerToken(
            id, request.token, request.name, request.kind == ServiceKind::NotifyRegisterEvents);
        return;
    case ServiceKind::NotifyCancel:
        reply.status = m_notifications.cancel(id, request.token);
        return;
    case ServiceKind::NotifyPost:
        if (request.name[0] == '\0') {
            reply.status = NOTIFY_STATUS_INVALID_NAME;
            return;
        }
        // The events go out before the reply, so the poster's own registrations have
        // heard of the post by the time notify_post returns.
        for (const NotificationCenter::Delivery &delivery : m_notifications.post(request.name)) {
            ServiceMessage event = makeServiceMessage(ServiceKind::NotifyEvent);
            event.token = delivery.token;
            enqueue(delivery.client, event);
        }
        reply.status = NOTIFY_STATUS_OK;
        return;
    case ServiceKind::NotifyCheck:
        reply.status = m_notifications.check(id, request.token, posted);
        reply.value = posted ? 1 : 0;
        return;
    case ServiceKind::NotifyGetState:
        reply.status = m_notifications.state(id, request.token, reply.value);
        return;
    case ServiceKind::NotifySetState:
        reply.status = m_notifications.setState(id, request.token, request.value);
        return;
    default:
        reply.status = NOTIFY_STATUS_INVALID_REQUEST;
        return;
    }
}

// Queues a packet for a process and sends what its socket takes now. Events for a token
// that already has one waiting are coalesced into it.
void DeviceServices::enqueue(ClientId id, const ServiceMessage &message)
{
    auto found = m_clients.find(id);
    if (found == m_clients.end() || m_dropped.count(id))
        return;
    Client &client = found->second;
    if (message.kind == ServiceKind::NotifyEvent &&
        !client.queuedEvents.insert(message.token).second)
        return;
    if (client.outbox.size() >= kMaxOutbox) {
        syslog(LOG_WARNING, "DeviceServices: a process stopped reading; disconnected");
        m_dropped.insert(id);
        return;
    }
    client.outbox.push_back(message);
    if (client.writable)
        flush(id);
}

void DeviceServices::flush(ClientId id)
{
    Client &client = m_clients.at(id);
    while (!client.outbox.empty()) {
        const ServiceMessage &next = client.outbox.front();
        auto bytes = std::as_bytes(std::span(&next, 1));
        SendStatus status = sendPacket(client.connection.get(), bytes, {}, 0);
        if (status == SendStatus::TimedOut) {
            watchWritable(id, true);
            return;
        }
        if (status != SendStatus::Sent) {
            m_dropped.insert(id);
            return;
        }
        if (next.kind == ServiceKind::NotifyEvent)
            client.queuedEvents.erase(next.token);
        client.outbox.pop_front();
    }
    watchWritable(id, false);
}

void DeviceServices::watchWritable(ClientId id, bool wanted)
{
    Client &client = m_clients.at(id);
    if (client.writable == !wanted)
        return;
    client.writable = !wanted;
    epoll_event event{};
    event.events = wanted ? EPOLLIN | EPOLLOUT : EPOLLIN;
    event.data.u64 = id;
    if (epoll_ctl(m_epoll.get(), EPOLL_CTL_MOD, client.connection.get(), &event) != 0)
        m_dropped.insert(id);
}

void DeviceServices::closeDroppedClients()
{
    for (ClientId id : m_dropped)
        closeClient(id);
    m_dropped.clear();
}

void DeviceServices::closeClient(ClientId id)
{
    auto found = m_clients.find(id);
    if (found == m_clients.end())
        return;
    epoll_ctl(m_epoll.get(), EPOLL_CTL_DEL, found->second.connection.get(), nullptr);
    m_clients.erase(found);
    m_notifications.forgetClient(id);
    // A name taken over by a newer process since stays with that process.
    std::erase_if(m_bootstrapNames, [id](const auto &entry) { return entry.second.owner == id; });
}

} // namespace sim
