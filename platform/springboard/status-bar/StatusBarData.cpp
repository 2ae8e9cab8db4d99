#include "springboard/status-bar/StatusBarData.h"

#include <cstring>

namespace {

constexpr const char *kItemNames[kSBStatusBarItemCount] = {
    "time",
    "doNotDisturb",
    "airplane",
    "gsmSignalStrength",
    "carrier",
    "networkType",
    "unknown0",
    "batteryImage",
    "batteryPercentage",
    "unknown1",
    "bluetoothHeadsetBattery",
    "bluetoothSignal",
    "tty",
    "alarm",
    "nikePlus",
    "unknown2",
    "location",
    "rotationLock",
    "unknown3",
    "airplay",
    "recording",
    "vpn",
    "callForwarding",
    "networkActivity",
    "blackSquare",
};

bool isContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

namespace sim {

const char *statusBarItemName(int item)
{
    return item >= 0 && item < kSBStatusBarItemCount ? kItemNames[item] : nullptr;
}

int statusBarItemNamed(const char *name)
{
    for (int item = 0; item < kSBStatusBarItemCount; ++item)
        if (std::strcmp(kItemNames[item], name) == 0)
            return item;
    return -1;
}

void copyStatusBarText(char *field, std::size_t capacity, const char *text)
{
    if (capacity == 0)
        return;
    std::size_t length = std::strlen(text);
    if (length >= capacity) {
        length = capacity - 1;
        while (length > 0 && isContinuationByte(text[length]))
            --length;
    }
    std::memcpy(field, text, length);
    field[length] = '\0';
}

} // namespace sim
