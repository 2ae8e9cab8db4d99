#include "foundation/SystemConfiguration.h"

#include "foundation/DeviceProfile.h"

#include <cstdio>

const CFStringRef kCNNetworkInfoKeySSIDData = sim_constantString("SSIDDATA");
const CFStringRef kCNNetworkInfoKeySSID = sim_constantString("SSID");
const CFStringRef kCNNetworkInfoKeyBSSID = sim_constantString("BSSID");

namespace {

constexpr const char *kWiFiInterface = "en0";

// A locally administered unicast hardware address from the network's name, written as
// the platform writes one: lower-case hex without leading zeros ("a2:4:3f:0:1b:c").
std::string bssidFor(const std::string &ssid)
{
    std::uint64_t hash = 0xcbf29ce484222325ULL; // FNV-1a
    for (unsigned char byte : ssid)
        hash = (hash ^ byte) * 0x100000001b3ULL;
    unsigned bytes[6];
    for (int i = 0; i < 6; ++i)
        bytes[i] = static_cast<unsigned>(hash >> (8 * i)) & 0xFF;
    bytes[0] = (bytes[0] | 0x02) & ~0x01u;
    char text[32];
    std::snprintf(text, sizeof text, "%x:%x:%x:%x:%x:%x", bytes[0], bytes[1], bytes[2], bytes[3],
                  bytes[4], bytes[5]);
    return text;
}

} // namespace

CFArrayRef CNCopySupportedInterfaces()
{
    if (!sim::DeviceProfile::current()->hasWiFi())
        return nullptr;
    return retain(NSArray::arrayWithObjects({NSString::stringWithUTF8String(kWiFiInterface)}));
}

CFDictionaryRef CNCopyCurrentNetworkInfo(CFStringRef interfaceName)
{
    std::shared_ptr<const sim::DeviceProfile> profile = sim::DeviceProfile::current();
    if (!interfaceName || interfaceName->str() != kWiFiInterface || !profile->hasWiFi() ||
        !profile->ssid)
        return nullptr;
    const std::string &ssid = *profile->ssid;
    return retain(NSDictionary::dictionaryWithObjectsForKeys({
        {kCNNetworkInfoKeySSIDData, NSData::dataWithBytes(ssid.data(), ssid.size())},
        {kCNNetworkInfoKeySSID, NSString::stringWithString(ssid)},
        {kCNNetworkInfoKeyBSSID, NSString::stringWithString(bssidFor(ssid))},
    }));
}
