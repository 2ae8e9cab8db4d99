#pragma once
// The simulated phone. Everything about the device that the platform's answers depend
// on, and that differs from one simulated phone to the next, is in its profile: the
// system generation (through the Core Foundation version number), the idiom, the screen,
// the installed applications, the network and a few user settings. The device tool
// writes the profile as a property list at "/var/run/corvane/DeviceProfile.plist" under
// the device root before it starts the phone's processes; each process reads it once,
// the first time anything asks, and answers from that copy for the rest of its life.
// A missing file is a phone with the defaults below; a file that cannot be read is
// logged and the defaults are used, so a bad profile never stops a process.
//
// Which process is running is not part of the device: the main bundle (NSBundle.h)
// carries the process's identity.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct InstalledApplication {
    std::string bundleIdentifier;
    std::string displayName;
    bool running = false;

    bool operator==(const InstalledApplication &) const = default;
};

struct DeviceProfile {
    enum Idiom { Phone, Pad };

    static constexpr const char *kPhonePath = "/var/run/corvane/DeviceProfile.plist";
    static constexpr double kIOS7CoreFoundation = 847.20;
    static constexpr double kIOS8CoreFoundation = 1140.10;
    static constexpr double kIOS9CoreFoundation = 1240.10;
    static constexpr const char *kDefaultUniqueDeviceID =
        "5e1f0b2c9d8a47f3b6e2c1d0a9f8e7d6c5b4a392";

    double coreFoundationVersion = kIOS9CoreFoundation;
    Idiom idiom = Phone;
    double screenWidth = 375;  // points
    double screenHeight = 667; // points
    double screenScale = 2;
    int orientation = 1; // UIInterfaceOrientation: 1 portrait … 4 landscape left
    std::vector<InstalledApplication> installedApplications = defaultApplications();

    // The IPv4 address of the Wi-Fi interface "en0", as text.
    std::optional<std::string> wifiAddress;
    // A host interface whose addresses the phone shows as its "en0".
    std::optional<std::string> wifiHostInterface;
    // The name of the joined Wi-Fi network.
    std::optional<std::string> ssid;
    // The cellular carrier's name, as the status bar shows it.
    std::string carrierName = "Carrier";
    // Status bar items that the phone's state turns on beyond the ones always shown, by
    // SpringBoard's item names ("alarm", "location", "bluetoothSignal", "rotationLock"…).
    std::vector<std::string> statusBarItems;
    // The title of the song the music player plays, whose artwork the lock screen may
    // show; nothing while no music plays.
    std::optional<std::string> nowPlaying;

    bool boldText = false;
    std::string locale = "en_US";
    std::string timeZone = "UTC";

    // What the phone says about itself (MobileGestalt.h, sysctl.h). Without a product
    // version or a model of its own, the phone is a stock one of its generation and idiom
    // (productVersionAnswer, hardwareModelAnswer).
    std::string uniqueDeviceID = kDefaultUniqueDeviceID; // 40 lower-case hexadecimal digits
    std::optional<std::string> productVersion;           // "9.0"
    std::optional<std::string> hardwareModel;            // "iPhone8,1"

    // The network beyond the phone (NSURL.h). A request whose URL starts with a key of
    // urlRoutes goes to that key's URL instead, followed by the rest of the request's URL:
    // the device tool routes the statistics server there. Apart from routed URLs the phone
    // reaches only loopback hosts. A request gives up after urlRequestTimeout seconds.
    std::map<std::string, std::string> urlRoutes;
    double urlRequestTimeout = 60;

    bool operator==(const DeviceProfile &) const = default;

    // Wi-Fi is on when the profile gives the interface an address of its own or a host
    // interface to borrow one from.
    bool hasWiFi() const { return wifiAddress.has_value() || wifiHostInterface.has_value(); }

    // The product version and model the phone answers: its own, or those of a stock
    // phone of its generation ("7.0", "8.0", "9.0") and idiom.
    std::string productVersionAnswer() const;
    std::string hardwareModelAnswer() const;

    // The stock phone's applications.
    static std::vector<InstalledApplication> defaultApplications();

    // The profile this process runs with: read from the file on first use (which also
    // sets kCFCoreFoundationVersionNumber), then shared. Safe from any thread.
    static std::shared_ptr<const DeviceProfile> current();
    // Makes `profile` the current one for this process, for hosts and tests, and sets
    // kCFCoreFoundationVersionNumber to its version.
    static void setCurrent(const DeviceProfile &profile);

    // Reads the profile file under the device root now: the defaults when there is none,
    // and, with one log line, when it is not a readable profile. Entries that are missing
    // keep their default; an entry of the wrong kind or out of range is logged and left
    // at its default too.
    static DeviceProfile read();
    // Writes the profile file under the device root, atomically (a whole new file or the
    // old one untouched). False when it cannot be written or no device root is chosen.
    [[nodiscard]] bool save() const;
};

} // namespace sim
