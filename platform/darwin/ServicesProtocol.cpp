#include "darwin/ServicesProtocol.h"

#include "foundation/DeviceRoot.h"

#include <cstring>

namespace sim {

namespace {

template <size_t N> bool copyField(char (&field)[N], std::string_view text)
{
    if (text.size() >= N || text.find('\0') != std::string_view::npos)
        return false;
    std::memcpy(field, text.data(), text.size());
    std::memset(field + text.size(), 0, N - text.size());
    return true;
}

template <size_t N> bool isTerminated(const char (&field)[N])
{
    return std::memchr(field, '\0', N) != nullptr;
}

bool isKnownKind(ServiceKind kind)
{
    auto value = static_cast<std::uint32_t>(kind);
    return (value >= static_cast<std::uint32_t>(ServiceKind::BootstrapRegister) &&
            value <= static_cast<std::uint32_t>(ServiceKind::NotifySetState)) ||
           kind == ServiceKind::Reply || kind == ServiceKind::NotifyEvent;
}

} // namespace

ServiceMessage makeServiceMessage(ServiceKind kind)
{
    ServiceMessage message;
    std::memset(&message, 0, sizeof(message));
    message.magic = kServiceMagic;
    message.kind = kind;
    return message;
}

bool setServiceName(ServiceMessage &message, std::string_view text)
{
    return copyField(message.name, text);
}

bool setServiceAddress(ServiceMessage &message, std::string_view text)
{
    return copyField(message.address, text);
}

bool parseServiceMessage(std::span<const std::byte> bytes, ServiceMessage &message)
{
    if (bytes.size() != sizeof(ServiceMessage))
        return false;
    std::memcpy(&message, bytes.data(), sizeof(message));
    if (message.magic != kServiceMagic || !isKnownKind(message.kind) ||
        !isTerminated(message.name) || !isTerminated(message.address))
        return false;
    return message.address[0] == '\0' || isValidPortAddress(message.address);
}

std::string servicesSocketPath()
{
    return hostPath("/var/run/services");
}

} // namespace sim
