// The status bar section and its item table. SpringBoard numbers its status bar items;
// the settings file names them. The item table maps each name to SpringBoard's number on
// the running system, and the hidden flags are kept by that number, so the extension's
// hook reads the flag of the item SpringBoard passes it without any translation.

#include "foundation/NSLog.h"
#include "settings-core/CVKeyTable.h"

#include <array>

const char *const CVStatusBarItems::names[CVStatusBarItemCount] = {
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

namespace {

// The Core Foundation versions whose item numbering is known: a few exact releases, the
// later iOS 8 releases as a range, and every iOS 9 release.
bool isRecognisedSystem(double version)
{
    constexpr std::array kExactReleases{847.2, 847.21, 847.26, 847.27, 1140.1, 1141.14, 1141.16};
    for (double release : kExactReleases)
        if (version == release)
            return true;
    return (version > 1141.16 && version <= 1145.15) || version >= 1240.1;
}

} // namespace

// On every recognised system SpringBoard numbers the items in the order of `names`. On
// any other the numbering is unknown and the table keeps what it held: unfilled in a
// fresh process, where the flags stay by name.
void CVStatusBarItems::fill()
{
    if (!isRecognisedSystem(kCFCoreFoundationVersionNumber)) {
        NSLog("[Corvane][ERROR]: Couldn't find CVStatusBarItems configuration for %.8f!",
              kCFCoreFoundationVersionNumber);
        return;
    }
    for (int position = 0; position < CVStatusBarItemCount; ++position)
        index[position] = static_cast<unsigned char>(position);
    filled = true;
}

void CVStatusBar::visitKeys(CVKeyVisitor &keys)
{
    keys.boolean("customCarrier", customCarrier, false);
    keys.string("carrierString", carrierString);
    keys.boolean("customTime", customTime, false);
    keys.boolean("lowercaseAMPM", lowercaseAMPM, false);
    keys.enumeration("timeStringOption", timeStringOption, 0);
    keys.string("timeString", timeString);
    keys.itemFlags("itemIsHidden", itemIsHidden, items);
    keys.changeCallback(changeCallback);
}
