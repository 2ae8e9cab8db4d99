// The Status Bar page: carrier text, what replaces the time (a switch and text before the
// ninth generation, a list of choices on it), and one switch per status bar item.
//
// Item rows carry the key "h." followed by the item name. The section answers an item
// name with that item's hidden flag, and takes the flags only inside its nested
// "itemIsHidden" dictionary, so an item change is loaded and committed as
// {"itemIsHidden": {item name: value}}.

#include "settings-panel/CVPage.h"
#include "settings-panel/CVPanelBundle.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kItemPrefix = "h.";
constexpr std::uint32_t kCustomTextOption = 1;

const CVChoice kTimeStringOptions[] = {
    {0, "None"},
    {1, "Custom Text"},
    {2, "IP Address"},
    {3, "Wifi SSID"},
    {4, "Lowercase AM/PM Symbol"},
    {5, "Display Seconds"},
};

struct StatusBarItem {
    const char *name;
    const char *title;
};

const StatusBarItem kItems[] = {
    {"time", "Time"},
    {"doNotDisturb", "Do Not Disturb"},
    {"airplane", "Airplane"},
    {"gsmSignalStrength", "Signal Strength"},
    {"carrier", "Carrier"},
    {"networkType", "Network Type"},
    {"batteryImage", "Battery Image"},
    {"batteryPercentage", "Battery Percentage"},
    {"bluetoothHeadsetBattery", "Bluetooth Battery"},
    {"bluetoothSignal", "Bluetooth Signal"},
    {"tty", "TTY"},
    {"alarm", "Alarm"},
    {"nikePlus", "Nike+"},
    {"location", "Location"},
    {"rotationLock", "Rotation Lock"},
    {"airplay", "AirPlay"},
    {"recording", "Recording"},
    {"vpn", "VPN"},
    {"callForwarding", "Call Forwarding"},
    {"networkActivity", "Network Activity"},
    {"blackSquare", "Black Square"},
};

bool showsCustomTimeText()
{
    return CVIsNinthGeneration() && gCVStatusBar.timeStringOption == kCustomTextOption;
}

const CVRow kRows[] = {
    CVGroup(nullptr, "Insert a custom string to be displayed in place of your carrier."),
    CVSwitch("Custom Carrier", "customCarrier"),
    CVText("Enter Custom Carrier", "carrierString"),
    CVGroup(nullptr, "Enter a string shown instead of the time in the status bar.")
        .when(CVIsBeforeNinthGeneration),
    CVSwitch("Custom Time", "customTime").when(CVIsBeforeNinthGeneration),
    CVText("Enter Custom Text", "timeString").when(CVIsBeforeNinthGeneration),
    CVGroup(nullptr, "Select a string to be displayed instead of the time.")
        .when(CVIsNinthGeneration),
    CVList("Custom Time String", "timeStringOption", kTimeStringOptions).when(CVIsNinthGeneration),
    CVText("Enter Custom Text", "timeString").when(showsCustomTimeText),
    CVGroup("Hide Items", "Hide status bar items (enable to hide)."),
};

// One switch per item, in the order of their titles as the user reads them.
void appendItemSwitches(SectionListController *self, NSMutableArray *rows)
{
    struct ShownItem {
        const StatusBarItem *item;
        NSString *shownTitle;
    };
    std::vector<ShownItem> items;
    for (const StatusBarItem &item : kItems)
        items.push_back({&item, CVLocalizedString(item.title)});
    std::ranges::sort(items, [](const ShownItem &a, const ShownItem &b) {
        return CVTitleLess(a.shownTitle, b.shownTitle);
    });
    for (const ShownItem &shown : items) {
        NSString *key = NSString::stringWithFormat("h.%s", shown.item->name);
        rows->addObject(msg<id>(self, "switchSpecifierWithTitle:key:"_sel,
                                NSString::stringWithUTF8String(shown.item->title), key));
    }
}

// The item name of an item row's key, or nil for the page's other keys.
NSString *itemName(NSString *key)
{
    std::string text = key ? key->str() : std::string();
    std::size_t at = text.find(kItemPrefix);
    if (at == std::string::npos)
        return nil;
    return NSString::stringWithString(text.erase(at, kItemPrefix.size()));
}

id readItemOrValue(const CVPage &page, NSString *key)
{
    if (NSString *name = itemName(key))
        return gCVStatusBar.getValue(name);
    return CVReadPageValue(page, key);
}

void writeItemOrValue(SectionListController *self, const CVPage &page, NSString *key, id value)
{
    NSString *name = itemName(key);
    if (!name) {
        CVWritePageValue(self, page, key, value);
        return;
    }
    NSDictionary *changes = NSDictionary::dictionaryWithObjectsForKeys(
        {{"itemIsHidden"_ns, NSDictionary::dictionaryWithObjectsForKeys({{name, value}})}});
    gCVStatusBar.load(changes);
    CVCommit(self, CVSectionIDStatusBar, changes);
}

const char *const kReloadKeys[] = {"timeStringOption"};

constexpr CVPage kPage{
    .className = "StatusBarListController",
    .section = &gCVStatusBar,
    .sectionID = CVSectionIDStatusBar,
    .tint = {0.7529, 0.7608, 0.7725},
    .rows = kRows,
    .reloadKeys = kReloadKeys,
    .appendRows = appendItemSwitches,
    .read = readItemOrValue,
    .write = writeItemOrValue,
};

const Class kRegistered = CVRegisterPage<kPage>();

} // namespace
