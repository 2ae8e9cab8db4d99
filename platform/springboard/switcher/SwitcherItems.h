#pragma once
// What the switcher of iOS 8 and 9 lists. A display item names one thing that can be on
// screen, by display identifier: an application's bundle identifier, or
// "com.apple.springboard" for the home screen. iOS 8 lists display layouts, each showing
// one or more display items side by side (a page of the switcher).

#include "foundation/NSArray.h"
#include "foundation/NSString.h"

struct SBApplication;

struct SBDisplayItem : NSObject {
    StrongRef<NSString> m_displayIdentifier;

    static Class class_();
    // Autoreleased.
    static SBDisplayItem *itemWithIdentifier(const std::string &displayIdentifier);

    const std::string &identifier() const { return m_displayIdentifier->str(); }
};

struct SBDisplayLayout : NSObject {
    StrongRef<NSArray> m_displayItems;

    static Class class_();
    // Autoreleased.
    static SBDisplayLayout *layoutWithItems(NSArray *displayItems);
};

namespace sim {

inline constexpr const char *kHomeScreenDisplayIdentifier = "com.apple.springboard";

// The installed application that a display identifier names, or nil (the home screen).
SBApplication *applicationForDisplayIdentifier(const std::string &displayIdentifier);

void registerSwitcherItemClasses();

} // namespace sim
