// The simulated phone's profile, and the system calls that answer from it: network
// interfaces, captive-network queries, dlopen by phone path, MobileGestalt and sysctl.

#include "foundation/DeviceProfile.h"

#include "foundation/DeviceRoot.h"
#include "foundation/MobileGestalt.h"
#include "foundation/NSLog.h"
#include "foundation/SystemConfiguration.h"
#include "foundation/sysctl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <fstream>
#include <ifaddrs.h>
#include <iterator>
#include <link.h>
#include <net/if.h>
#include <tuple>

extern "C" void *PhoneLoaderOpen(const char *phonePath);

namespace {

std::string hostProfilePath()
{
    return sim::hostPath(sim::DeviceProfile::kPhonePath);
}

void writeHostFile(const std::string &path, std::string_view bytes)
{
    ASSERT_TRUE(sim::makeDirectories(path.substr(0, path.rfind('/'))));
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

class Phone : public testing::Test {
protected:
    void SetUp() override
    {
        std::string root = testing::TempDir() + "system-queries-XXXXXX";
        ASSERT_NE(mkdtemp(root.data()), nullptr);
        sim::setDeviceRoot(root);
        sim::DeviceProfile::setCurrent(sim::DeviceProfile{});
    }
    void TearDown() override { sim::DeviceProfile::setCurrent(sim::DeviceProfile{}); }

    AutoreleasePool m_pool;
};

// Profiles.

TEST_F(Phone, AProfileRoundTripsThroughItsFile)
{
    sim::DeviceProfile profile;
    profile.coreFoundationVersion = sim::DeviceProfile::kIOS7CoreFoundation;
    profile.idiom = sim::DeviceProfile::Pad;
    profile.screenWidth = 768;
    profile.screenHeight = 1024;
    profile.screenScale = 1;
    profile.orientation = 3;
    profile.installedApplications = {{"com.apple.mobilesafari", "Safari", true},
                                     {"com.kestrelworks.corvane3-app", "Corvane", false}};
    profile.wifiAddress = "10.0.1.7";
    profile.wifiHostInterface = "eth0";
    profile.ssid = "Caf\xC3\xA9 <Guest> & Co";
    profile.boldText = true;
    profile.locale = "de_DE";
    profile.timeZone = "Europe/Berlin";
    profile.uniqueDeviceID = "00112233445566778899aabbccddeeff00112233";
    profile.productVersion = "9.3";
    profile.hardwareModel = "iPhone8,2";
    profile.urlRoutes = {{"http://stats.example/collect", "http://127.0.0.1:8080/collect"}};
    profile.urlRequestTimeout = 2.5;

    ASSERT_TRUE(profile.save());
    EXPECT_EQ(sim::DeviceProfile::read(), profile);
    ASSERT_TRUE(sim::DeviceProfile{}.save()); // replaces the whole file
    EXPECT_EQ(sim::DeviceProfile::read(), sim::DeviceProfile{});
}

TEST_F(Phone, WithoutAFileThePhoneIsTheDefaultOneQuietlyAndAGarbageFileSaysSo)
{
    sim::LogCapture log;
    EXPECT_EQ(sim::DeviceProfile::read(), sim::DeviceProfile{});
    EXPECT_TRUE(log.lines().empty());
    writeHostFile(hostProfilePath(), "\x01\x02 this is not a property list <dict>");
    EXPECT_EQ(sim::DeviceProfile::read(), sim::DeviceProfile{});
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find("/var/run/corvane/DeviceProfile.plist"), std::string::npos);
    sim::setDeviceRoot("");
    EXPECT_FALSE(sim::DeviceProfile{}.save()) << "no device root, no profile";
}

TEST_F(Phone, BadEntriesKeepTheirDefaultsAndAreNamed)
{
    writeHostFile(hostProfilePath(), "<plist version=\"1.0\"><dict>\n"
                                     "<key>Idiom</key><string>pad</string>\n"
                                     "<key>Orientation</key><integer>9</integer>\n"
                                     "<key>WiFiAddress</key><string>10.0.1</string>\n"
                                     "<key>SSID</key><string>Home</string>\n"
                                     "<key>UniqueDeviceID</key><string>ABC</string>\n"
                                     "<key>URLRoutes</key><dict><key>ftp://x</key>"
                                     "<string>http://127.0.0.1/</string></dict>\n"
                                     "</dict></plist>\n");
    sim::LogCapture log;
    sim::DeviceProfile profile = sim::DeviceProfile::read();
    EXPECT_EQ(profile.idiom, sim::DeviceProfile::Pad);
    EXPECT_EQ(profile.ssid, "Home");
    EXPECT_EQ(profile.orientation, 1);
    EXPECT_FALSE(profile.wifiAddress);
    EXPECT_EQ(profile.uniqueDeviceID, sim::DeviceProfile::kDefaultUniqueDeviceID);
    EXPECT_TRUE(profile.urlRoutes.empty());
    std::vector<std::string> lines = log.lines();
    ASSERT_EQ(lines.size(), 4u);
    const char *named[] = {"\"Orientation\"", "\"WiFiAddress\"", "\"UniqueDeviceID\"",
                           "\"URLRoutes\""};
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_NE(lines[i].find(named[i]), std::string::npos) << lines[i];
}

// What the phone says about itself.

std::string gestalt(const char *question)
{
    StrongRef<NSString> answer = StrongRef<NSString>::adopt(static_cast<NSString *>(
        const_cast<void *>(MGCopyAnswer(NSString::stringWithUTF8String(question)))));
    return answer ? answer->str() : "(nil)";
}

std::string machine()
{
    char buffer[64] = {};
    std::size_t size = sizeof buffer;
    EXPECT_EQ(sysctlbyname("hw.machine", buffer, &size, nullptr, 0), 0);
    EXPECT_EQ(size, std::strlen(buffer) + 1);
    return buffer;
}

TEST_F(Phone, APhoneAnswersForItsGenerationAndIdiomOrWithItsOwnValues)
{
    const std::tuple<double, sim::DeviceProfile::Idiom, const char *, const char *> phones[] = {
        {sim::DeviceProfile::kIOS7CoreFoundation, sim::DeviceProfile::Phone, "7.0", "iPhone6,1"},
        {sim::DeviceProfile::kIOS9CoreFoundation, sim::DeviceProfile::Phone, "9.0", "iPhone8,1"},
        {sim::DeviceProfile::kIOS9CoreFoundation, sim::DeviceProfile::Pad, "9.0", "iPad5,3"},
    };
    for (const auto &[version, idiom, productVersion, model] : phones) {
        sim::DeviceProfile profile;
        profile.coreFoundationVersion = version;
        profile.idiom = idiom;
        sim::DeviceProfile::setCurrent(profile);
        EXPECT_EQ(kCFCoreFoundationVersionNumber, version);
        EXPECT_EQ(gestalt("ProductVersion"), productVersion) << version;
        EXPECT_EQ(machine(), model) << version;
        EXPECT_EQ(gestalt("UniqueDeviceID"), sim::DeviceProfile::kDefaultUniqueDeviceID);
    }
    EXPECT_EQ(gestalt("SerialNumber"), "(nil)") << "a question the phone does not answer";

    sim::DeviceProfile own;
    own.uniqueDeviceID = "00112233445566778899aabbccddeeff00112233";
    own.productVersion = "9.3";
    own.hardwareModel = "iPhone8,2";
    sim::DeviceProfile::setCurrent(own);
    EXPECT_EQ(gestalt("UniqueDeviceID"), "00112233445566778899aabbccddeeff00112233");
    EXPECT_EQ(gestalt("ProductVersion"), "9.3");
    EXPECT_EQ(machine(), "iPhone8,2");
}

TEST_F(Phone, SysctlFollowsItsCallingConvention)
{
    std::size_t size = 0;
    ASSERT_EQ(sysctlbyname("hw.machine", nullptr, &size, nullptr, 0), 0);
    EXPECT_EQ(size, std::strlen("iPhone8,1") + 1);
    char small[4] = "abc";
    size = sizeof small;
    EXPECT_EQ(sysctlbyname("hw.machine", small, &size, nullptr, 0), -1);
    EXPECT_EQ(errno, ENOMEM);
    EXPECT_STREQ(small, "abc") << "nothing is copied into a buffer that is too small";
    EXPECT_EQ(sysctlbyname("hw.model", nullptr, &size, nullptr, 0), -1);
    EXPECT_EQ(errno, ENOENT);
    char value[] = "iPhone1,1";
    EXPECT_EQ(sysctlbyname("hw.machine", nullptr, nullptr, value, sizeof value), -1);
    EXPECT_EQ(errno, EPERM);
}

// Network interfaces.

std::string inetText(const sockaddr *address)
{
    if (!address || address->sa_family != AF_INET)
        return {};
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in *>(address)->sin_addr, text,
              sizeof text);
    return text;
}

// What getifaddrs lists, one line per entry: its name, and for IPv4 its address, netmask,
// broadcast address and whether it is up.
std::vector<std::string> interfaceLines()
{
    ifaddrs *list = nullptr;
    EXPECT_EQ(getifaddrs(&list), 0);
    std::vector<std::string> found;
    for (ifaddrs *item = list; item; item = item->ifa_next) {
        found.push_back(item->ifa_name);
        if (item->ifa_addr && item->ifa_addr->sa_family == AF_INET)
            found.back() += " " + inetText(item->ifa_addr) + " " + inetText(item->ifa_netmask) +
                            " " + inetText(item->ifa_broadaddr) +
                            (item->ifa_flags & IFF_UP ? " up" : " down");
    }
    freeifaddrs(list);
    return found;
}

// The entries of `all` whose line starts with `prefix`.
std::vector<std::string> starting(const std::vector<std::string> &all, const std::string &prefix)
{
    std::vector<std::string> matching;
    std::copy_if(all.begin(), all.end(), std::back_inserter(matching),
                 [&](const std::string &line) { return line.starts_with(prefix); });
    return matching;
}

TEST_F(Phone, En0IsTheProfilesWiFiBesideTheHostsOtherInterfaces)
{
    std::vector<std::string> off = interfaceLines();
    EXPECT_TRUE(starting(off, "en0").empty()) << "Wi-Fi off, no en0";
    EXPECT_FALSE(starting(off, "lo").empty());

    sim::DeviceProfile profile;
    profile.wifiAddress = "192.168.1.23";
    sim::DeviceProfile::setCurrent(profile);
    std::vector<std::string> on = interfaceLines();
    EXPECT_EQ(starting(on, "en0 "),
              std::vector<std::string>{"en0 192.168.1.23 255.255.255.0 192.168.1.255 up"});
    EXPECT_EQ(starting(on, "lo 127.0.0.1 255.0.0.0").size(), 1u);

    // A host interface plays en0, and goes by that name alone.
    sim::DeviceProfile hosted;
    hosted.wifiHostInterface = "lo";
    sim::DeviceProfile::setCurrent(hosted);
    std::vector<std::string> played = interfaceLines();
    EXPECT_EQ(starting(played, "en0 ").size(), 1u);
    EXPECT_EQ(starting(played, "en0 127.0.0.1 255.0.0.0").size(), 1u);
    EXPECT_TRUE(starting(played, "lo").empty());

    freeifaddrs(nullptr); // harmless
    EXPECT_EQ(getifaddrs(nullptr), -1);
}

// Captive-network queries.

// A value out of a Core Foundation collection, as the type it is.
template <class T> T *valueAs(const void *value)
{
    return static_cast<T *>(const_cast<void *>(value));
}

TEST_F(Phone, TheJoinedNetworkIsTheProfilesWhileWiFiIsOn)
{
    EXPECT_EQ(CNCopySupportedInterfaces(), nullptr) << "no Wi-Fi";
    EXPECT_EQ(CNCopyCurrentNetworkInfo("en0"_ns), nullptr);
    sim::DeviceProfile profile;
    profile.wifiAddress = "192.168.1.23";
    sim::DeviceProfile::setCurrent(profile);
    EXPECT_EQ(CNCopyCurrentNetworkInfo("en0"_ns), nullptr) << "no network joined";
    profile.ssid = "Kestrel Home";
    sim::DeviceProfile::setCurrent(profile);

    CFArrayRef interfaces = CNCopySupportedInterfaces();
    ASSERT_NE(interfaces, nullptr);
    ASSERT_EQ(CFArrayGetCount(interfaces), 1);
    CFStringRef wifi = valueAs<NSString>(CFArrayGetValueAtIndex(interfaces, 0));
    EXPECT_EQ(wifi->str(), "en0");
    EXPECT_EQ(CNCopyCurrentNetworkInfo("en1"_ns), nullptr);

    CFDictionaryRef info = CNCopyCurrentNetworkInfo(wifi);
    ASSERT_NE(info, nullptr);
    auto ssid = valueAs<NSString>(CFDictionaryGetValue(info, kCNNetworkInfoKeySSID));
    auto bssid = valueAs<NSString>(CFDictionaryGetValue(info, kCNNetworkInfoKeyBSSID));
    auto data = valueAs<NSData>(CFDictionaryGetValue(info, kCNNetworkInfoKeySSIDData));
    EXPECT_TRUE(sim::objectsEqual(ssid, "Kestrel Home"_ns));
    EXPECT_TRUE(sim::objectsEqual(data, NSData::dataWithBytes("Kestrel Home", 12)));
    ASSERT_NE(bssid, nullptr);
    unsigned octets[6];
    char end;
    EXPECT_EQ(std::sscanf(bssid->UTF8String(), "%x:%x:%x:%x:%x:%x%c", &octets[0], &octets[1],
                          &octets[2], &octets[3], &octets[4], &octets[5], &end),
              6)
        << bssid->str();
    // The same network shows the same access point every time.
    CFDictionaryRef again = CNCopyCurrentNetworkInfo(wifi);
    EXPECT_TRUE(CFEqual(CFDictionaryGetValue(again, kCNNetworkInfoKeyBSSID), bssid));
    CFRelease(again);
    CFRelease(info);
    CFRelease(interfaces);
}

// dlopen by phone path.

std::string loadedPath(void *handle)
{
    link_map *map = nullptr;
    return dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map ? map->l_name : "";
}

TEST_F(Phone, LibrariesOpenedByPhonePathComeFromTheDeviceRoot)
{
    std::ifstream built(CV_TEST_PHONE_LOADER, std::ios::binary);
    std::string library{std::istreambuf_iterator<char>(built), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(library.empty());
    std::string host = sim::hostPath("/usr/lib/libcvprobe.dylib");
    writeHostFile(host, library);

    // Opened from a library that knows nothing of the device root.
    void *handle = PhoneLoaderOpen("/usr/lib/libcvprobe.dylib");
    ASSERT_NE(handle, nullptr) << dlerror();
    EXPECT_EQ(loadedPath(handle), host);
    dlclose(handle);

    EXPECT_EQ(PhoneLoaderOpen("/usr/lib/libabsent.dylib"), nullptr);

    // A host path under the root is opened as it is.
    void *direct = PhoneLoaderOpen(host.c_str());
    ASSERT_NE(direct, nullptr) << dlerror();
    EXPECT_EQ(loadedPath(direct), host);
    dlclose(direct);
}

} // namespace
