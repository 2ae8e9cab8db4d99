// The icons section: its own keys, the three icon lists (home pages, folders, dock) with
// their cover-flow settings, and the hidden-icons list, which every load tidies up.

#include "settings-core/CVKeyTable.h"

namespace {
// The system's own application, which "hideCorvane" takes off the home screen.
constexpr const char *kCorvaneApplication = "com.kestrelworks.corvane3-app";
constexpr CVColor kNoColour{0, 0, 0, 0};
} // namespace

void CVCoverFlowSettings::visitKeys(CVKeyVisitor &keys)
{
    keys.boolean("enabled", enabled, false);
    keys.real("flowFactor", flowFactor, 1.45);
    keys.real("perspective", perspective, 0.9);
    keys.boolean("outside", outside, false);
}

void CVIconListEntity::visitKeys(CVKeyVisitor &keys)
{
    keys.boolean("resize", resize, false);
    keys.real("resizeFactor", resizeFactor, 1.0);
    keys.boolean("hideLabels", hideLabels, false);
    keys.count("iconColumns", iconColumns, 0);
    keys.count("iconRows", iconRows, 0);
    keys.count("iconColumnsLandscape", iconColumnsLandscape, 0);
    keys.count("iconRowsLandscape", iconRowsLandscape, 0);
    keys.real("verticalPadding", verticalPadding, 1.0);
    keys.real("horizontalPadding", horizontalPadding, 1.0);
    keys.real("sideInset", sideInset, 1.0);
    keys.entity("coverflow", coverflow);
}

void CVIcons::visitKeys(CVKeyVisitor &keys)
{
    visitOwnKeys(keys);
    keys.entity("pages", pages);
    keys.entity("folders", folders);
    keys.entity("dock", dock);
}

// Every key but the three icon lists, and the callback.
void CVIcons::visitOwnKeys(CVKeyVisitor &keys)
{
    keys.boolean("hideUpdatedMark", hideUpdatedMark, false);
    keys.real("iconImageAlpha", iconImageAlpha, 1.0);
    keys.boolean("hideNewsstand", hideNewsstand, false);
    keys.boolean("hideCorvane", hideCorvane, false);
    keys.boolean("lockLayout", lockLayout, false);
    keys.boolean("disableWiggling", disableWiggling, false);
    keys.boolean("disableUninstall", disableUninstall, false);
    keys.boolean("hideBadges", hideBadges, false);
    keys.boolean("hideBadgeText", hideBadgeText, false);
    keys.boolean("hideFolderBadges", hideFolderBadges, false);
    keys.signedEnumeration("effect", effect, -1); // CVIconImageEffect, -1 for none
    keys.boolean("returnToFirstPage", returnToFirstPage, false);
    keys.boolean("hideSiriSuggestions", hideSiriSuggestions, false);
    keys.boolean("hideNearby", hideNearby, false);
    keys.boolean("hideNews", hideNews, false);
    keys.boolean("customBadgeBackgroundColor", customBadgeBackgroundColor, false);
    keys.colour("badgeBackgroundColor", badgeBackgroundColor, kNoColour);
    keys.boolean("customBadgeTextColor", customBadgeTextColor, false);
    keys.colour("badgeTextColor", badgeTextColor, kNoColour);
    keys.boolean("hidePageDots", hidePageDots, false);
    keys.boolean("disableSpotlight", disableSpotlight, false);
    keys.enumeration("disableSpotlightValue", disableSpotlightValue, 0);
    keys.boolean("customLabelFont", customLabelFont, false);
    keys.string("labelFontName", labelFontName);
    keys.colour("labelColor", labelColor, kNoColour);
    keys.real("labelFontSize", labelFontSize, 0.0);
    keys.stringList("hiddenIcons", hiddenIcons);
    keys.changeCallback(changeCallback);
}

void CVIcons::setBasicDefaults()
{
    CVDefaultsVisitor defaults;
    visitOwnKeys(defaults);
}

void CVIcons::load(CFDictionaryRef dictionary)
{
    CVSettingsEntity::load(dictionary);
    normaliseHiddenIcons();
}

// The hidden list holds each identifier once, and holds the system's own application
// exactly when "hideCorvane" is on. Of duplicates the first stays, so the list keeps
// the order in which the user hid the icons.
void CVIcons::normaliseHiddenIcons()
{
    if (!hiddenIcons)
        hiddenIcons = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
    for (CFIndex index = CFArrayGetCount(hiddenIcons) - 1; index > 0; --index) {
        const void *identifier = CFArrayGetValueAtIndex(hiddenIcons, index);
        if (CFArrayContainsValue(hiddenIcons, CFRangeMake(0, index), identifier))
            CFArrayRemoveValueAtIndex(hiddenIcons, index);
    }
    NSString *corvane = NSString::stringWithUTF8String(kCorvaneApplication);
    CFRange whole = CFRangeMake(0, CFArrayGetCount(hiddenIcons));
    CFIndex found = CFArrayGetFirstIndexOfValue(hiddenIcons, whole, corvane);
    if (hideCorvane && found < 0)
        CFArrayAppendValue(hiddenIcons, corvane);
    else if (!hideCorvane && found >= 0)
        CFArrayRemoveValueAtIndex(hiddenIcons, found);
}
