#pragma once
// SpringBoard's status bar data: the block of bytes in which the state aggregator composes
// what the bar shows (which items are on, the time and service texts, signal, Wi-Fi and
// battery levels), and from which the bar's views draw. The layout is SpringBoard's own
// and the same on every generation: the service (carrier) text starts at byte 100, the
// crossfade text at byte 200, the two service image names at bytes 300 and 400 and the
// operator directory at byte 500; texts are NUL-terminated UTF-8.

#include "objc/TypeEncoding.h"

#include <cstddef>

inline constexpr int kSBStatusBarItemCount = 25;

// SpringBoard's numbers of the items that the bar draws in a shape of their own; every
// other item is an indicator drawn as a glyph.
enum SBStatusBarItem : int {
    SBStatusBarItemTime = 0,
    SBStatusBarItemSignalStrength = 3,
    SBStatusBarItemService = 4,
    SBStatusBarItemDataNetwork = 5,
    SBStatusBarItemBattery = 7,
    SBStatusBarItemBatteryPercent = 8,
};

struct SBStatusBarRawData {
    bool itemIsEnabled[kSBStatusBarItemCount];
    char timeString[64];
    char reserved[11];
    char serviceString[100];
    char serviceCrossfadeString[100];
    char serviceImages[2][100];
    char operatorDirectory[100];
    int gsmSignalStrengthBars;
    int wifiSignalStrengthBars;
    int batteryCapacity;
};
static_assert(offsetof(SBStatusBarRawData, serviceString) == 100);
static_assert(offsetof(SBStatusBarRawData, serviceCrossfadeString) == 200);
static_assert(offsetof(SBStatusBarRawData, operatorDirectory) == 500);

namespace sim {

template <> struct TypeEncoding<SBStatusBarRawData, void> {
    static std::string get()
    {
        return "{SBStatusBarRawData=[25B][64c][11c][100c][100c][2[100c]][100c]iii}";
    }
};

// SpringBoard's name of an item ("time", "carrier", "alarm"…), or nullptr outside 0…24.
const char *statusBarItemName(int item);
// The number of the item of that name, or −1.
int statusBarItemNamed(const char *name);

// Copies `text` into a text field of the data block of `capacity` bytes: whole when it
// fits with its terminator, otherwise cut at the last whole UTF-8 character that does.
void copyStatusBarText(char *field, std::size_t capacity, const char *text);

} // namespace sim
