// The system calls whose answers come from the simulated phone. Each is defined here
// under its own name, so it takes the place of the C library's for every caller in the
// process, product libraries included: executables link the Foundation stand-in ahead of
// the C library, so the dynamic linker finds these definitions first. Each reaches the C
// library's own through dlsym(RTLD_NEXT).
//
//   dlopen: the product loads libraries and bundles by their phone paths
//     ("/usr/lib/librocketbootstrap.dylib"); an absolute path that exists under the device
//     root is opened there. Names without a slash are searched as from this library.
//   getifaddrs: the phone's interfaces. The profile's Wi-Fi interface "en0" borrows the
//     addresses of a host interface (wifiHostInterface) and/or has an IPv4 address of its
//     own (wifiAddress); a host interface that happens to be named "en0" is shown only
//     when it is the one the profile names. Without either, the phone has no "en0": its
//     Wi-Fi is off. The list is one block of memory, as the C library's is, so
//     freeifaddrs frees it whichever of the two made it.

#include "foundation/DeviceProfile.h"
#include "foundation/DeviceRoot.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <ifaddrs.h>
#include <linux/if_link.h>
#include <net/if.h>
#include <netinet/in.h>
#include <netpacket/packet.h>
#include <unistd.h>
#include <vector>

namespace {

// The C library's definition that this file's stands in front of.
template <class Function> Function nextDefinition(const char *name)
{
    auto function = reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
    if (!function) {
        std::fprintf(stderr, "PhoneSystem: the C library has no %s\n", name);
        std::abort();
    }
    return function;
}

// The host path for a phone path that exists under the device root; empty for anything
// else, which is opened as given (relative names, host paths, paths already under the
// root, files the phone does not have).
std::string hostLibraryPath(const char *path)
{
    std::string root = sim::deviceRoot();
    if (!path || path[0] != '/' || root.empty())
        return {};
    std::string_view requested(path);
    if (requested.starts_with(root) &&
        (requested.size() == root.size() || requested[root.size()] == '/'))
        return {};
    std::string host = sim::hostPath(requested);
    return access(host.c_str(), F_OK) == 0 ? host : std::string();
}

// One interface address, its socket addresses and data held as bytes until the list is
// laid out.
struct InterfaceEntry {
    std::string name;
    unsigned int flags = 0;
    std::vector<char> address;
    std::vector<char> netmask;
    std::vector<char> broadcast;
    std::vector<char> data;
};

std::vector<char> socketAddressBytes(const sockaddr *address)
{
    if (!address)
        return {};
    std::size_t size = sizeof(sockaddr);
    if (address->sa_family == AF_INET)
        size = sizeof(sockaddr_in);
    else if (address->sa_family == AF_INET6)
        size = sizeof(sockaddr_in6);
    else if (address->sa_family == AF_PACKET)
        size = sizeof(sockaddr_ll);
    const char *bytes = reinterpret_cast<const char *>(address);
    return {bytes, bytes + size};
}

InterfaceEntry entryFrom(const ifaddrs &host, std::string name)
{
    InterfaceEntry entry;
    entry.name = std::move(name);
    entry.flags = host.ifa_flags;
    entry.address = socketAddressBytes(host.ifa_addr);
    entry.netmask = socketAddressBytes(host.ifa_netmask);
    entry.broadcast = socketAddressBytes(host.ifa_broadaddr);
    // The C library attaches link statistics to the link-layer entries.
    if (host.ifa_addr && host.ifa_addr->sa_family == AF_PACKET && host.ifa_data) {
        const char *stats = static_cast<const char *>(host.ifa_data);
        entry.data.assign(stats, stats + sizeof(rtnl_link_stats));
    }
    return entry;
}

std::vector<char> inetAddressBytes(in_addr_t networkOrder)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = networkOrder;
    const char *bytes = reinterpret_cast<const char *>(&address);
    return {bytes, bytes + sizeof address};
}

// The profile's own address for "en0", on a /24 network as home Wi-Fi gives.
std::optional<InterfaceEntry> wifiAddressEntry(const sim::DeviceProfile &profile)
{
    in_addr address{};
    if (!profile.wifiAddress || inet_pton(AF_INET, profile.wifiAddress->c_str(), &address) != 1)
        return std::nullopt;
    in_addr_t netmask = htonl(0xFFFFFF00);
    InterfaceEntry entry;
    entry.name = "en0";
    entry.flags = IFF_UP | IFF_BROADCAST | IFF_RUNNING | IFF_MULTICAST;
    entry.address = inetAddressBytes(address.s_addr);
    entry.netmask = inetAddressBytes(netmask);
    entry.broadcast = inetAddressBytes(address.s_addr | ~netmask);
    return entry;
}

std::vector<InterfaceEntry> phoneInterfaces(const ifaddrs *host, const sim::DeviceProfile &profile)
{
    std::vector<InterfaceEntry> entries;
    for (const ifaddrs *item = host; item; item = item->ifa_next) {
        std::string name = item->ifa_name ? item->ifa_name : "";
        if (profile.wifiHostInterface && name == *profile.wifiHostInterface)
            entries.push_back(entryFrom(*item, "en0"));
        else if (name != "en0")
            entries.push_back(entryFrom(*item, name));
    }
    if (std::optional<InterfaceEntry> wifi = wifiAddressEntry(profile))
        entries.push_back(std::move(*wifi));
    return entries;
}

constexpr std::size_t kAlignment = alignof(std::max_align_t);

std::size_t rounded(std::size_t size)
{
    return (size + kAlignment - 1) / kAlignment * kAlignment;
}

std::size_t listSize(const std::vector<InterfaceEntry> &entries)
{
    std::size_t size = rounded(entries.size() * sizeof(ifaddrs));
    for (const InterfaceEntry &entry : entries)
        size += rounded(entry.name.size() + 1) + rounded(entry.address.size()) +
                rounded(entry.netmask.size()) + rounded(entry.broadcast.size()) +
                rounded(entry.data.size());
    return size;
}

// Lays the entries out in one allocation: the nodes first, then what they point to.
ifaddrs *packList(const std::vector<InterfaceEntry> &entries)
{
    auto *block = static_cast<char *>(std::calloc(1, listSize(entries)));
    if (!block)
        return nullptr;
    auto *nodes = reinterpret_cast<ifaddrs *>(block);
    char *cursor = block + rounded(entries.size() * sizeof(ifaddrs));
    auto place = [&cursor](const void *bytes, std::size_t size) -> void * {
        if (size == 0)
            return nullptr;
        void *placed = std::memcpy(cursor, bytes, size);
        cursor += rounded(size);
        return placed;
    };
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const InterfaceEntry &entry = entries[i];
        ifaddrs &node = nodes[i];
        node.ifa_next = i + 1 < entries.size() ? &nodes[i + 1] : nullptr;
        node.ifa_name = static_cast<char *>(place(entry.name.c_str(), entry.name.size() + 1));
        node.ifa_flags = entry.flags;
        node.ifa_addr = static_cast<sockaddr *>(place(entry.address.data(), entry.address.size()));
        node.ifa_netmask =
            static_cast<sockaddr *>(place(entry.netmask.data(), entry.netmask.size()));
        node.ifa_broadaddr =
            static_cast<sockaddr *>(place(entry.broadcast.data(), entry.broadcast.size()));
        node.ifa_data = place(entry.data.data(), entry.data.size());
    }
    return nodes;
}

} // namespace

extern "C" void *dlopen(const char *path, int mode) noexcept
{
    using Dlopen = void *(*)(const char *, int);
    static const Dlopen hostDlopen = nextDefinition<Dlopen>("dlopen");
    std::string host = hostLibraryPath(path);
    return hostDlopen(host.empty() ? path : host.c_str(), mode);
}

extern "C" int getifaddrs(ifaddrs **list) noexcept
{
    using Getifaddrs = int (*)(ifaddrs **);
    using Freeifaddrs = void (*)(ifaddrs *);
    static const Getifaddrs hostGetifaddrs = nextDefinition<Getifaddrs>("getifaddrs");
    static const Freeifaddrs hostFreeifaddrs = nextDefinition<Freeifaddrs>("freeifaddrs");
    if (!list) {
        errno = EINVAL;
        return -1;
    }
    ifaddrs *host = nullptr;
    if (hostGetifaddrs(&host) != 0)
        return -1;
    std::vector<InterfaceEntry> entries = phoneInterfaces(host, *sim::DeviceProfile::current());
    hostFreeifaddrs(host);
    *list = entries.empty() ? nullptr : packList(entries);
    if (!*list && !entries.empty()) {
        errno = ENOMEM;
        return -1;
    }
    return 0;
}

extern "C" void freeifaddrs(ifaddrs *list) noexcept
{
    std::free(list);
}
