#include "foundation/DeviceProfile.h"

#include "foundation/CoreFoundation.h"
#include "foundation/DeviceRoot.h"
#include "foundation/NSLog.h"

#include <plist/plist.h>

#include <arpa/inet.h>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <mutex>
#include <unistd.h>

namespace sim {

namespace {

using PlistOwner = std::unique_ptr<void, decltype(&plist_free)>;

// Keys of the profile file.
constexpr const char *kCoreFoundationKey = "CoreFoundationVersion";
constexpr const char *kIdiomKey = "Idiom";
constexpr const char *kScreenWidthKey = "ScreenWidth";
constexpr const char *kScreenHeightKey = "ScreenHeight";
constexpr const char *kScreenScaleKey = "ScreenScale";
constexpr const char *kOrientationKey = "Orientation";
constexpr const char *kApplicationsKey = "InstalledApplications";
constexpr const char *kIdentifierKey = "BundleIdentifier";
constexpr const char *kDisplayNameKey = "DisplayName";
constexpr const char *kRunningKey = "Running";
constexpr const char *kWiFiAddressKey = "WiFiAddress";
constexpr const char *kWiFiHostInterfaceKey = "WiFiHostInterface";
constexpr const char *kSSIDKey = "SSID";
constexpr const char *kCarrierNameKey = "CarrierName";
constexpr const char *kStatusBarItemsKey = "StatusBarItems";
constexpr const char *kNowPlayingKey = "NowPlaying";
constexpr const char *kBoldTextKey = "BoldText";
constexpr const char *kLocaleKey = "Locale";
constexpr const char *kTimeZoneKey = "TimeZone";
constexpr const char *kUniqueDeviceIDKey = "UniqueDeviceID";
constexpr const char *kProductVersionKey = "ProductVersion";
constexpr const char *kHardwareModelKey = "HardwareModel";
constexpr const char *kURLRoutesKey = "URLRoutes";
constexpr const char *kURLRequestTimeoutKey = "URLRequestTimeout";

std::optional<double> numberIn(plist_t node)
{
    if (plist_get_node_type(node) == PLIST_REAL) {
        double value = 0;
        plist_get_real_val(node, &value);
        return value;
    }
    if (plist_get_node_type(node) == PLIST_UINT) {
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return static_cast<double>(static_cast<int64_t>(value));
    }
    return std::nullopt;
}

std::optional<std::string> textIn(plist_t node)
{
    if (plist_get_node_type(node) != PLIST_STRING)
        return std::nullopt;
    char *value = nullptr;
    plist_get_string_val(node, &value);
    std::string text = value ? value : "";
    std::free(value);
    return text;
}

std::optional<bool> flagIn(plist_t node)
{
    if (plist_get_node_type(node) != PLIST_BOOLEAN)
        return std::nullopt;
    uint8_t value = 0;
    plist_get_bool_val(node, &value);
    return value != 0;
}

bool isIPv4Address(const std::string &text)
{
    in_addr address{};
    return inet_pton(AF_INET, text.c_str(), &address) == 1;
}

// Applies the entry `key` when the file has it; `apply` answers false for a value of the
// wrong kind or out of range, which is logged and leaves the default in place.
template <class Apply>
void readEntry(plist_t dictionary, const char *key, const char *expected, Apply apply)
{
    plist_t node = plist_dict_get_item(dictionary, key);
    if (node && !apply(node))
        NSLog("DeviceProfile: ignoring \"%s\", which is not %s", key, expected);
}

bool assignPositive(double &field, plist_t node)
{
    std::optional<double> value = numberIn(node);
    if (!value || !(*value > 0))
        return false;
    field = *value;
    return true;
}

bool assignText(std::string &field, plist_t node)
{
    std::optional<std::string> value = textIn(node);
    if (!value || value->empty())
        return false;
    field = *value;
    return true;
}

bool assignOptionalText(std::optional<std::string> &field, plist_t node)
{
    std::string value;
    if (!assignText(value, node))
        return false;
    field = value;
    return true;
}

bool isDeviceIdentifier(const std::string &text)
{
    return text.size() == 40 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

bool isWebURL(const std::string &text)
{
    return (text.starts_with("http://") && text.size() > 7) ||
           (text.starts_with("https://") && text.size() > 8);
}

// The whole table or none of it, as with the applications below.
bool assignRoutes(std::map<std::string, std::string> &field, plist_t node)
{
    if (plist_get_node_type(node) != PLIST_DICT)
        return false;
    std::map<std::string, std::string> routes;
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(node, &iterator);
    bool valid = true;
    for (;;) {
        char *key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(node, iterator, &key, &value);
        if (!key)
            break;
        std::string from = key;
        std::free(key);
        std::optional<std::string> to = textIn(value);
        if (!isWebURL(from) || !to || !isWebURL(*to))
            valid = false;
        else
            routes[from] = *to;
    }
    std::free(iterator);
    if (valid)
        field = std::move(routes);
    return valid;
}

std::optional<InstalledApplication> applicationIn(plist_t node)
{
    if (plist_get_node_type(node) != PLIST_DICT)
        return std::nullopt;
    plist_t identifier = plist_dict_get_item(node, kIdentifierKey);
    plist_t name = plist_dict_get_item(node, kDisplayNameKey);
    plist_t running = plist_dict_get_item(node, kRunningKey);
    InstalledApplication application;
    if (!identifier || !name || !assignText(application.bundleIdentifier, identifier) ||
        !assignText(application.displayName, name))
        return std::nullopt;
    if (running) {
        std::optional<bool> flag = flagIn(running);
        if (!flag)
            return std::nullopt;
        application.running = *flag;
    }
    return application;
}

// The whole list or none of it, as for the applications below.
bool assignTexts(std::vector<std::string> &field, plist_t node)
{
    if (plist_get_node_type(node) != PLIST_ARRAY)
        return false;
    std::vector<std::string> texts(plist_array_get_size(node));
    for (uint32_t i = 0; i < texts.size(); ++i)
        if (!assignText(texts[i], plist_array_get_item(node, i)))
            return false;
    field = std::move(texts);
    return true;
}

// The whole list or none of it: a list with a bad entry is not the list the device tool
// meant, so the phone keeps its stock applications.
bool assignApplications(std::vector<InstalledApplication> &field, plist_t node)
{
    if (plist_get_node_type(node) != PLIST_ARRAY)
        return false;
    std::vector<InstalledApplication> applications;
    for (uint32_t i = 0; i < plist_array_get_size(node); ++i) {
        std::optional<InstalledApplication> application =
            applicationIn(plist_array_get_item(node, i));
        if (!application)
            return false;
        applications.push_back(*application);
    }
    field = std::move(applications);
    return true;
}

void readDevice(plist_t file, DeviceProfile &profile)
{
    readEntry(file, kCoreFoundationKey, "a positive number",
              [&](plist_t node) { return assignPositive(profile.coreFoundationVersion, node); });
    readEntry(file, kIdiomKey, "\"phone\" or \"pad\"", [&](plist_t node) {
        std::optional<std::string> idiom = textIn(node);
        if (idiom != "phone" && idiom != "pad")
            return false;
        profile.idiom = *idiom == "pad" ? DeviceProfile::Pad : DeviceProfile::Phone;
        return true;
    });
    readEntry(file, kScreenWidthKey, "a positive number",
              [&](plist_t node) { return assignPositive(profile.screenWidth, node); });
    readEntry(file, kScreenHeightKey, "a positive number",
              [&](plist_t node) { return assignPositive(profile.screenHeight, node); });
    readEntry(file, kScreenScaleKey, "a positive number",
              [&](plist_t node) { return assignPositive(profile.screenScale, node); });
    readEntry(file, kOrientationKey, "an orientation from 1 to 4", [&](plist_t node) {
        std::optional<double> orientation = numberIn(node);
        if (!orientation || *orientation < 1 || *orientation > 4 ||
            *orientation != static_cast<int>(*orientation))
            return false;
        profile.orientation = static_cast<int>(*orientation);
        return true;
    });
    readEntry(file, kApplicationsKey, "a list of applications", [&](plist_t node) {
        return assignApplications(profile.installedApplications, node);
    });
}

void readNetworkAndSettings(plist_t file, DeviceProfile &profile)
{
    readEntry(file, kWiFiAddressKey, "an IPv4 address", [&](plist_t node) {
        std::optional<std::string> address = textIn(node);
        if (!address || !isIPv4Address(*address))
            return false;
        profile.wifiAddress = *address;
        return true;
    });
    readEntry(file, kWiFiHostInterfaceKey, "an interface name",
              [&](plist_t node) { return assignOptionalText(profile.wifiHostInterface, node); });
    readEntry(file, kSSIDKey, "a network name",
              [&](plist_t node) { return assignOptionalText(profile.ssid, node); });
    readEntry(file, kCarrierNameKey, "a carrier name",
              [&](plist_t node) { return assignText(profile.carrierName, node); });
    readEntry(file, kStatusBarItemsKey, "a list of item names",
              [&](plist_t node) { return assignTexts(profile.statusBarItems, node); });
    readEntry(file, kNowPlayingKey, "a song title",
              [&](plist_t node) { return assignOptionalText(profile.nowPlaying, node); });
    readEntry(file, kBoldTextKey, "a boolean", [&](plist_t node) {
        std::optional<bool> bold = flagIn(node);
        profile.boldText = bold.value_or(profile.boldText);
        return bold.has_value();
    });
    readEntry(file, kLocaleKey, "a locale identifier",
              [&](plist_t node) { return assignText(profile.locale, node); });
    readEntry(file, kTimeZoneKey, "a time zone name",
              [&](plist_t node) { return assignText(profile.timeZone, node); });
}

void readIdentityAndNetwork(plist_t file, DeviceProfile &profile)
{
    readEntry(file, kUniqueDeviceIDKey, "40 lower-case hexadecimal digits", [&](plist_t node) {
        std::optional<std::string> identifier = textIn(node);
        if (!identifier || !isDeviceIdentifier(*identifier))
            return false;
        profile.uniqueDeviceID = *identifier;
        return true;
    });
    readEntry(file, kProductVersionKey, "a version",
              [&](plist_t node) { return assignOptionalText(profile.productVersion, node); });
    readEntry(file, kHardwareModelKey, "a model name",
              [&](plist_t node) { return assignOptionalText(profile.hardwareModel, node); });
    readEntry(file, kURLRoutesKey, "a table of web URLs",
              [&](plist_t node) { return assignRoutes(profile.urlRoutes, node); });
    readEntry(file, kURLRequestTimeoutKey, "a positive number",
              [&](plist_t node) { return assignPositive(profile.urlRequestTimeout, node); });
}

plist_t applicationsNode(const std::vector<InstalledApplication> &applications)
{
    plist_t list = plist_new_array();
    for (const InstalledApplication &application : applications) {
        plist_t entry = plist_new_dict();
        plist_dict_set_item(entry, kIdentifierKey,
                            plist_new_string(application.bundleIdentifier.c_str()));
        plist_dict_set_item(entry, kDisplayNameKey,
                            plist_new_string(application.displayName.c_str()));
        plist_dict_set_item(entry, kRunningKey, plist_new_bool(application.running));
        plist_array_append_item(list, entry);
    }
    return list;
}

PlistOwner profileNode(const DeviceProfile &profile)
{
    PlistOwner file(plist_new_dict(), plist_free);
    plist_t dictionary = file.get();
    plist_dict_set_item(dictionary, kCoreFoundationKey,
                        plist_new_real(profile.coreFoundationVersion));
    plist_dict_set_item(dictionary, kIdiomKey,
                        plist_new_string(profile.idiom == DeviceProfile::Pad ? "pad" : "phone"));
    plist_dict_set_item(dictionary, kScreenWidthKey, plist_new_real(profile.screenWidth));
    plist_dict_set_item(dictionary, kScreenHeightKey, plist_new_real(profile.screenHeight));
    plist_dict_set_item(dictionary, kScreenScaleKey, plist_new_real(profile.screenScale));
    plist_dict_set_item(dictionary, kOrientationKey, plist_new_uint(profile.orientation));
    plist_dict_set_item(dictionary, kApplicationsKey,
                        applicationsNode(profile.installedApplications));
    if (profile.wifiAddress)
        plist_dict_set_item(dictionary, kWiFiAddressKey,
                            plist_new_string(profile.wifiAddress->c_str()));
    if (profile.wifiHostInterface)
        plist_dict_set_item(dictionary, kWiFiHostInterfaceKey,
                            plist_new_string(profile.wifiHostInterface->c_str()));
    if (profile.ssid)
        plist_dict_set_item(dictionary, kSSIDKey, plist_new_string(profile.ssid->c_str()));
    plist_dict_set_item(dictionary, kCarrierNameKey, plist_new_string(profile.carrierName.c_str()));
    plist_t items = plist_new_array();
    for (const std::string &item : profile.statusBarItems)
        plist_array_append_item(items, plist_new_string(item.c_str()));
    plist_dict_set_item(dictionary, kStatusBarItemsKey, items);
    if (profile.nowPlaying)
        plist_dict_set_item(dictionary, kNowPlayingKey,
                            plist_new_string(profile.nowPlaying->c_str()));
    plist_dict_set_item(dictionary, kBoldTextKey, plist_new_bool(profile.boldText));
    plist_dict_set_item(dictionary, kLocaleKey, plist_new_string(profile.locale.c_str()));
    plist_dict_set_item(dictionary, kTimeZoneKey, plist_new_string(profile.timeZone.c_str()));
    plist_dict_set_item(dictionary, kUniqueDeviceIDKey,
                        plist_new_string(profile.uniqueDeviceID.c_str()));
    if (profile.productVersion)
        plist_dict_set_item(dictionary, kProductVersionKey,
                            plist_new_string(profile.productVersion->c_str()));
    if (profile.hardwareModel)
        plist_dict_set_item(dictionary, kHardwareModelKey,
                            plist_new_string(profile.hardwareModel->c_str()));
    plist_t routes = plist_new_dict();
    for (const auto &[from, to] : profile.urlRoutes)
        plist_dict_set_item(routes, from.c_str(), plist_new_string(to.c_str()));
    plist_dict_set_item(dictionary, kURLRoutesKey, routes);
    plist_dict_set_item(dictionary, kURLRequestTimeoutKey,
                        plist_new_real(profile.urlRequestTimeout));
    return file;
}

bool writeAll(int descriptor, const char *bytes, size_t length)
{
    while (length > 0) {
        ssize_t count = ::write(descriptor, bytes, length);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        bytes += count;
        length -= static_cast<size_t>(count);
    }
    return true;
}

// A temporary file beside the target, flushed, then renamed over it: readers see the
// old profile or the new one, never part of one.
bool replaceFile(const std::string &path, const char *bytes, size_t length)
{
    std::string directory = path.substr(0, path.rfind('/'));
    if (!makeDirectories(directory))
        return false;
    std::string temporary = path + ".XXXXXX";
    int descriptor = mkstemp(temporary.data());
    if (descriptor < 0)
        return false;
    bool written = writeAll(descriptor, bytes, length) && fsync(descriptor) == 0;
    written = ::close(descriptor) == 0 && written;
    if (written && std::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    ::unlink(temporary.c_str());
    return false;
}

struct CurrentProfile {
    std::mutex lock;
    std::shared_ptr<const DeviceProfile> profile;
};

CurrentProfile &currentProfile()
{
    static auto &shared = *new CurrentProfile;
    return shared;
}

} // namespace

std::vector<InstalledApplication> DeviceProfile::defaultApplications()
{
    return {
        {"com.apple.mobilemail", "Mail", false},
        {"com.apple.mobilecal", "Calendar", false},
        {"com.apple.mobileslideshow", "Photos", false},
        {"com.apple.camera", "Camera", false},
        {"com.apple.mobiletimer", "Clock", false},
        {"com.apple.Maps", "Maps", false},
        {"com.apple.weather", "Weather", false},
        {"com.apple.mobilenotes", "Notes", false},
        {"com.apple.reminders", "Reminders", false},
        {"com.apple.Music", "Music", false},
        {"com.apple.videos", "Videos", false},
        {"com.apple.Preferences", "Settings", false},
        {"com.apple.MobileSMS", "Messages", true},
        {"com.apple.mobilephone", "Phone", false},
        {"com.apple.mobilesafari", "Safari", true},
        {"com.apple.AppStore", "App Store", false},
        {"com.apple.calculator", "Calculator", false},
        {"com.apple.compass", "Compass", false},
        {"com.apple.MobileAddressBook", "Contacts", false},
        {"com.apple.podcasts", "Podcasts", false},
        {"com.apple.Health", "Health", false},
        {"com.apple.Passbook", "Wallet", false},
        {"com.apple.DocumentsApp", "Files", false},
        {"com.apple.iBooks", "Books", false},
        {"com.apple.VoiceMemos", "Voice Memos", false},
        {"com.kestrelworks.corvane3-app", "Corvane", false},
    };
}

std::string DeviceProfile::productVersionAnswer() const
{
    if (productVersion)
        return *productVersion;
    if (coreFoundationVersion < kIOS8CoreFoundation)
        return "7.0";
    return coreFoundationVersion < kIOS9CoreFoundation ? "8.0" : "9.0";
}

// Stock devices of each generation: the iPhone 5s, 6 and 6s; the iPad Air and Air 2.
std::string DeviceProfile::hardwareModelAnswer() const
{
    if (hardwareModel)
        return *hardwareModel;
    if (idiom == Pad)
        return coreFoundationVersion < kIOS8CoreFoundation ? "iPad4,1" : "iPad5,3";
    if (coreFoundationVersion < kIOS8CoreFoundation)
        return "iPhone6,1";
    return coreFoundationVersion < kIOS9CoreFoundation ? "iPhone7,2" : "iPhone8,1";
}

DeviceProfile DeviceProfile::read()
{
    DeviceProfile profile;
    std::ifstream stream(hostPath(kPhonePath), std::ios::binary);
    if (!stream)
        return profile;
    std::string bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    plist_t parsed = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &parsed);
    PlistOwner file(parsed, plist_free);
    if (!parsed || plist_get_node_type(parsed) != PLIST_DICT) {
        NSLog("DeviceProfile: %s is not a device profile; the phone keeps its defaults",
              kPhonePath);
        return profile;
    }
    readDevice(parsed, profile);
    readNetworkAndSettings(parsed, profile);
    readIdentityAndNetwork(parsed, profile);
    return profile;
}

bool DeviceProfile::save() const
{
    // Without a device root the phone path would be the host's own /var/run.
    if (deviceRoot().empty())
        return false;
    PlistOwner file = profileNode(*this);
    char *xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(file.get(), &xml, &length);
    if (!xml)
        return false;
    bool saved = replaceFile(hostPath(kPhonePath), xml, length);
    plist_to_xml_free(xml);
    return saved;
}

std::shared_ptr<const DeviceProfile> DeviceProfile::current()
{
    CurrentProfile &shared = currentProfile();
    {
        std::lock_guard guard(shared.lock);
        if (shared.profile)
            return shared.profile;
    }
    // Read without the lock: reading may log, and a log observer may ask for the profile.
    auto fromFile = std::make_shared<const DeviceProfile>(read());
    std::lock_guard guard(shared.lock);
    if (!shared.profile) {
        shared.profile = std::move(fromFile);
        kCFCoreFoundationVersionNumber = shared.profile->coreFoundationVersion;
    }
    return shared.profile;
}

void DeviceProfile::setCurrent(const DeviceProfile &profile)
{
    CurrentProfile &shared = currentProfile();
    std::lock_guard guard(shared.lock);
    shared.profile = std::make_shared<const DeviceProfile>(profile);
    kCFCoreFoundationVersionNumber = profile.coreFoundationVersion;
}

} // namespace sim
