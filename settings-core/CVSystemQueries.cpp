// The system version gate, the Wi-Fi address and network name for the status bar, and
// the time as text for the lock screen.

#include "foundation/NSDateFormatter.h"
#include "foundation/SystemConfiguration.h"
#include "objc/encode.h"
#include "settings-core/CVSettings.h"

#include <arpa/inet.h>
#include <cstring>
#include <ifaddrs.h>
#include <netinet/in.h>

namespace {

constexpr double kOldestSupportedSystem = 847.2;  // iOS 7.0
constexpr double kNewestSupportedSystem = 1240.1; // iOS 9.0

// The address of an IPv4 entry of "en0", or nullptr for any other entry (entries without
// an address included).
const in_addr *wifiAddressOf(const ifaddrs &entry)
{
    if (!entry.ifa_addr || entry.ifa_addr->sa_family != AF_INET)
        return nullptr;
    if (!entry.ifa_name || std::strcmp(entry.ifa_name, "en0") != 0)
        return nullptr;
    return &reinterpret_cast<const sockaddr_in *>(entry.ifa_addr)->sin_addr;
}

// The SSID of the network an interface has joined, owned by the caller; nullptr when it
// has joined none.
CFStringRef copySSIDOf(CFStringRef interfaceName)
{
    CFDictionaryRef info = CNCopyCurrentNetworkInfo(interfaceName);
    if (!info)
        return nullptr;
    id ssid =
        static_cast<id>(const_cast<void *>(CFDictionaryGetValue(info, kCNNetworkInfoKeySSID)));
    CFStringRef copy = nullptr;
    if (CFGetTypeID(ssid) == CFStringGetTypeID())
        copy = CFStringCreateCopy(kCFAllocatorDefault, static_cast<CFStringRef>(ssid));
    CFRelease(info);
    return copy;
}

NSString *timeStringWithStyle(id, SEL, NSDateFormatterStyle style)
{
    NSDateFormatter *formatter = NSDateFormatter::formatter();
    formatter->setDateStyle(NSDateFormatterNoStyle);
    formatter->setTimeStyle(style);
    return formatter->stringFromDate(NSDate::date());
}

// The NSDate category "Extensions", added when the library loads as a category would be.
[[gnu::constructor]] void addDateExtensions()
{
    Class dateMetaclass = object_getClass(reinterpret_cast<id>(NSDate::class_()));
    class_addMethod(dateMetaclass, "timeStringWithStyle:"_sel,
                    reinterpret_cast<IMP>(timeStringWithStyle),
                    objc_encodeImplementation(timeStringWithStyle).c_str());
}

} // namespace

bool CVIsSupportedSystem()
{
    double version = kCFCoreFoundationVersionNumber;
    return version >= kOldestSupportedSystem && version <= kNewestSupportedSystem;
}

NSString *CVStatusBar::getIPAddress()
{
    ifaddrs *interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0 || !interfaces)
        return "n/a"_ns;
    char text[INET_ADDRSTRLEN] = "n/a";
    for (const ifaddrs *entry = interfaces; entry; entry = entry->ifa_next)
        if (const in_addr *address = wifiAddressOf(*entry))
            inet_ntop(AF_INET, address, text, sizeof(text));
    freeifaddrs(interfaces);
    return NSString::stringWithUTF8String(text);
}

NSString *CVStatusBar::getWifiSSID()
{
    CFArrayRef interfaces = CNCopySupportedInterfaces();
    CFStringRef ssid = nullptr;
    for (CFIndex index = 0; index < CFArrayGetCount(interfaces); ++index) {
        auto name = static_cast<id>(const_cast<void *>(CFArrayGetValueAtIndex(interfaces, index)));
        if (CFGetTypeID(name) != CFStringGetTypeID())
            continue;
        if (CFStringRef found = copySSIDOf(static_cast<CFStringRef>(name))) {
            if (ssid)
                CFRelease(ssid);
            ssid = found; // a later interface's network wins
        }
    }
    if (interfaces)
        CFRelease(interfaces);
    return ssid ? ssid
                : CFStringCreateWithCString(kCFAllocatorDefault, "n/a", kCFStringEncodingUTF8);
}
