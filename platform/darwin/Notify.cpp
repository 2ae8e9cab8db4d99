// The notify calls: each checks its arguments here and asks the device services through
// the process's connection (ServicesClient).

#include "darwin/notify.h"
#include "darwin/ServicesClient.h"

#include <cstring>

namespace {

bool isValidNotificationName(const char *name)
{
    return name && name[0] != '\0' && std::strlen(name) <= sim::kMaxServiceNameLength;
}

// Sends a request about one of this process's tokens; answers its NOTIFY_STATUS.
uint32_t askAboutToken(sim::ServiceKind kind, int token, uint64_t value, uint64_t *answer)
{
    sim::ServicesClient &client = sim::ServicesClient::shared();
    if (!client.isRegistered(token))
        return NOTIFY_STATUS_INVALID_TOKEN;
    sim::ServiceMessage request = sim::makeServiceMessage(kind);
    request.token = token;
    request.value = value;
    sim::ServiceMessage reply;
    if (!client.request(request, reply))
        return NOTIFY_STATUS_FAILED;
    if (answer && reply.status == NOTIFY_STATUS_OK)
        *answer = reply.value;
    return reply.status;
}

} // namespace

extern "C" {

uint32_t notify_post(const char *name)
{
    if (!isValidNotificationName(name))
        return NOTIFY_STATUS_INVALID_NAME;
    sim::ServiceMessage request = sim::makeServiceMessage(sim::ServiceKind::NotifyPost);
    if (!sim::setServiceName(request, name))
        return NOTIFY_STATUS_INVALID_NAME;
    sim::ServiceMessage reply;
    if (!sim::ServicesClient::shared().request(request, reply))
        return NOTIFY_STATUS_FAILED;
    return reply.status;
}

uint32_t notify_register_check(const char *name, int *out_token)
{
    if (!isValidNotificationName(name))
        return NOTIFY_STATUS_INVALID_NAME;
    if (!out_token)
        return NOTIFY_STATUS_INVALID_REQUEST;
    return sim::ServicesClient::shared().registerName(name, std::nullopt, *out_token);
}

uint32_t notify_check(int token, int *check)
{
    if (!check)
        return NOTIFY_STATUS_INVALID_REQUEST;
    uint64_t posted = 0;
    uint32_t status = askAboutToken(sim::ServiceKind::NotifyCheck, token, 0, &posted);
    if (status == NOTIFY_STATUS_OK)
        *check = posted ? 1 : 0;
    return status;
}

uint32_t notify_register_dispatch(const char *name, int *out_token, dispatch_queue_t queue,
                                  notify_handler_t handler)
{
    if (!isValidNotificationName(name))
        return NOTIFY_STATUS_INVALID_NAME;
    if (!out_token || !queue || !handler)
        return NOTIFY_STATUS_INVALID_REQUEST;
    return sim::ServicesClient::shared().registerName(
        name, sim::ServicesClient::Delivery{queue, std::move(handler)}, *out_token);
}

uint32_t notify_cancel(int token)
{
    return sim::ServicesClient::shared().cancel(token);
}

uint32_t notify_get_state(int token, uint64_t *state64)
{
    if (!state64)
        return NOTIFY_STATUS_INVALID_REQUEST;
    return askAboutToken(sim::ServiceKind::NotifyGetState, token, 0, state64);
}

uint32_t notify_set_state(int token, uint64_t state64)
{
    return askAboutToken(sim::ServiceKind::NotifySetState, token, state64, nullptr);
}

} // extern "C"
