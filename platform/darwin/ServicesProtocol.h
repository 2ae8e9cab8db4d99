#pragma once
// What a process and the device services say to each other. Each process keeps one
// connection to the services socket (/var/run/services of the device). Over it the
// process sends requests and gets exactly one reply per request, in order; between the
// replies the services may send notification events for the process's registrations.
// Every packet, in both directions, is one fixed-size ServiceMessage, so a reader checks
// the length, the magic, the kind and the terminators and needs nothing else.

#include "darwin/MessageWire.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace sim {

// The longest notification or bootstrap name the services keep.
inline constexpr size_t kMaxServiceNameLength = 511;

enum class ServiceKind : std::uint32_t {
    BootstrapRegister = 1, // name, address
    BootstrapLookUp,       // name -> address
    NotifyRegisterCheck,   // name, token
    NotifyRegisterEvents,  // name, token: post events come over the connection
    NotifyCancel,          // token
    NotifyPost,            // name
    NotifyCheck,           // token -> value 1 when posted since the last check
    NotifyGetState,        // token -> value
    NotifySetState,        // token, value
    Reply = 100,           // status, value, address
    NotifyEvent = 101,     // token: a name this token watches was posted
};

struct ServiceMessage {
    std::uint32_t magic;
    ServiceKind kind;
    std::uint32_t sequence; // a reply carries its request's
    std::int32_t token;
    std::uint32_t status;
    std::uint32_t reserved;
    std::uint64_t value;
    char name[kMaxServiceNameLength + 1];
    char address[kMaxPortAddressLength + 1];
};

inline constexpr std::uint32_t kServiceMagic = 0x53535643; // "CVSS"

// A message of `kind` with every other field empty.
ServiceMessage makeServiceMessage(ServiceKind kind);

// Copies `text` into a fixed field; false when it does not fit with its terminator.
[[nodiscard]] bool setServiceName(ServiceMessage &message, std::string_view text);
[[nodiscard]] bool setServiceAddress(ServiceMessage &message, std::string_view text);

// Checks a received packet; false when it is not a well-formed ServiceMessage.
[[nodiscard]] bool parseServiceMessage(std::span<const std::byte> bytes, ServiceMessage &message);

// The host path of the services socket.
std::string servicesSocketPath();

} // namespace sim
