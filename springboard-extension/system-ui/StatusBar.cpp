#include "springboard-extension/system-ui/StatusBar.h"

#include "foundation/CFRunLoop.h"
#include "foundation/NSDateFormatter.h"
#include "foundation/NSNotificationCenter.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Installers.h"
#include "springboard-extension/frame/Replacement.h"
#include "springboard-extension/system-ui/CenterSupport.h"

#include <cstring>
#include <string>

namespace {

constexpr std::size_t kServiceTextOffset = 100;
// The text fields of SpringBoard's status bar data that the carrier text must not run
// into; each gets a terminator before the text is written.
constexpr std::size_t kServiceFieldBoundaries[] = {100, 200, 399, 499, 500};
constexpr std::size_t kServiceTextCapacity = 99;

constexpr std::uint32_t kTimeNone = 0;
constexpr std::uint32_t kTimeCustomText = 1;
constexpr std::uint32_t kTimeIPAddress = 2;
constexpr std::uint32_t kTimeWifiSSID = 3;
constexpr std::uint32_t kTimeLowercaseAMPM = 4;
constexpr std::uint32_t kTimeSeconds = 5;

NSTimer *g_secondsTimer; // retained while set

Class aggregatorClass()
{
    static Class cls = objc_getClass("SBStatusBarStateAggregator");
    return cls;
}

Class telephonyManagerClass()
{
    static Class cls = objc_getClass("SBTelephonyManager");
    return cls;
}

NSString *carrierText()
{
    return gCVStatusBar.carrierString ? gCVStatusBar.carrierString : ""_ns;
}

NSDateFormatter *timeFormatterOf(id aggregator)
{
    return CVGetIvar<NSDateFormatter *>(aggregator, "_timeItemDateFormatter");
}

// --- The carrier ---

NSString *(*orig_SBTelephonyManager_operatorName)(id, SEL);
NSString *SBTelephonyManager_operatorName(id self, SEL _cmd)
{
    if (gCVStatusBar.customCarrier)
        return carrierText();
    return orig_SBTelephonyManager_operatorName(self, _cmd);
}

NSString *(*orig_SBStatusBarStateAggregator_sbCarrierNameForOperator)(id, SEL, NSString *);
NSString *SBStatusBarStateAggregator_sbCarrierNameForOperator(id self, SEL _cmd,
                                                              NSString *operatorName)
{
    if (gCVStatusBar.customCarrier)
        return carrierText();
    return orig_SBStatusBarStateAggregator_sbCarrierNameForOperator(self, _cmd, operatorName);
}

// How many bytes of `text` fit in `capacity` bytes with the terminator, without cutting
// a UTF-8 character in two: a cut character would leave the bar an invalid text.
std::size_t fittingLength(const char *text, std::size_t capacity)
{
    std::size_t length = std::strlen(text);
    if (length < capacity)
        return length;
    length = capacity - 1;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
    return length;
}

// Writes the carrier text over SpringBoard's service text in the data block, and drops
// SpringBoard's cached service string so that it does not stand for the old text.
void writeCarrierText(id aggregator)
{
    Ivar data = class_getInstanceVariable(object_getClass(aggregator), "_data");
    if (!data)
        return;
    char *block = reinterpret_cast<char *>(aggregator) + ivar_getOffset(data);
    for (std::size_t offset : kServiceFieldBoundaries)
        block[offset] = '\0';
    const char *text = carrierText()->UTF8String();
    std::size_t length = fittingLength(text, kServiceTextCapacity);
    std::memcpy(block + kServiceTextOffset, text, length);
    block[kServiceTextOffset + length] = '\0';
    if (id cached = CVGetIvar<id>(aggregator, "_serviceString")) {
        msg<void>(cached, "release"_sel);
        CVSetIvar<id>(aggregator, "_serviceString", nil);
    }
}

void (*orig_SBStatusBarStateAggregator_updateServiceItem)(id, SEL);
void SBStatusBarStateAggregator_updateServiceItem(id self, SEL _cmd)
{
    orig_SBStatusBarStateAggregator_updateServiceItem(self, _cmd);
    if (gCVStatusBar.customCarrier)
        writeCarrierText(self);
}

// --- The seconds timer ---

void stopSecondsTimer()
{
    if (!g_secondsTimer)
        return;
    msg<void>(g_secondsTimer, "invalidate"_sel);
    msg<void>(g_secondsTimer, "release"_sel);
    g_secondsTimer = nil;
}

// One timer at most: a valid one keeps running; an invalidated one is replaced.
void startSecondsTimer(id aggregator)
{
    if (g_secondsTimer && msg<BOOL>(g_secondsTimer, "isValid"_sel))
        return;
    if (g_secondsTimer)
        msg<void>(g_secondsTimer, "release"_sel);
    g_secondsTimer = NSTimer::timerWithTimeIntervalTargetSelectorUserInfoRepeats(
        1.0, aggregator, "corvaneTimerCallback:"_sel, nil, true);
    msg<id>(g_secondsTimer, "retain"_sel);
    // Common modes: the seconds keep ticking while the user scrolls or drags.
    NSRunLoop::currentRunLoop()->addTimerForMode(g_secondsTimer, NSRunLoopCommonModes);
}

void SBStatusBarStateAggregator_corvaneTimerCallback(id self, SEL, NSTimer *)
{
    if (gCVStatusBar.timeStringOption == kTimeSeconds) {
        msg<void>(self, "_updateTimeItems"_sel);
        return;
    }
    stopSecondsTimer();
    if (NSDateFormatter *formatter = timeFormatterOf(self))
        formatter->setTimeStyle(NSDateFormatterShortStyle);
}

// --- The time formatter ---

// Text that a date format prints as it is: in single quotes, with each quote of the text
// doubled (a lone quote would end the quoted text and turn the rest into fields). An
// empty text needs no quotes; a pair of quotes alone would print a quote.
std::string quotedForDateFormat(const std::string &text)
{
    if (text.empty())
        return {};
    std::string quoted = "'";
    for (char character : text) {
        quoted += character;
        if (character == '\'')
            quoted += '\'';
    }
    return quoted + "'";
}

NSString *literalDateFormat(NSString *text)
{
    return NSString::stringWithString(quotedForDateFormat(text ? text->str() : std::string()));
}

// "timeString" without its ":ss", each word quoted, the words one space apart as before.
NSString *customTimeFormat()
{
    std::string text = gCVStatusBar.timeString ? gCVStatusBar.timeString->str() : "";
    std::string withoutSeconds;
    for (std::size_t at = 0; at < text.size();) {
        if (text.compare(at, 3, ":ss") == 0) {
            at += 3;
            continue;
        }
        withoutSeconds += text[at++];
    }
    std::string format;
    std::size_t start = 0;
    for (std::size_t space; (space = withoutSeconds.find(' ', start)) != std::string::npos;
         start = space + 1)
        format += quotedForDateFormat(withoutSeconds.substr(start, space - start)) + " ";
    format += quotedForDateFormat(withoutSeconds.substr(start));
    return NSString::stringWithString(format);
}

void setSymbolCase(NSDateFormatter *formatter, bool lowercase)
{
    NSString *am = formatter->AMSymbol();
    NSString *pm = formatter->PMSymbol();
    formatter->setAMSymbol(lowercase ? am->lowercaseString() : am->uppercaseString());
    formatter->setPMSymbol(lowercase ? pm->lowercaseString() : pm->uppercaseString());
}

void (*orig_SBStatusBarStateAggregator_resetTimeItemFormatter)(id, SEL);
void SBStatusBarStateAggregator_resetTimeItemFormatter(id self, SEL _cmd)
{
    NSDateFormatter *formatter = timeFormatterOf(self);
    if (!formatter)
        return orig_SBStatusBarStateAggregator_resetTimeItemFormatter(self, _cmd);
    std::uint32_t option = gCVStatusBar.timeStringOption;
    if (option == kTimeSeconds)
        startSecondsTimer(self);
    if (option == kTimeCustomText || gCVStatusBar.customTime)
        return formatter->setDateFormat(customTimeFormat());
    switch (option) {
    case kTimeIPAddress:
        return formatter->setDateFormat(literalDateFormat(CVStatusBar::getIPAddress()));
    case kTimeWifiSSID: {
        NSString *ssid = CVStatusBar::getWifiSSID();
        formatter->setDateFormat(literalDateFormat(ssid));
        return CFRelease(ssid);
    }
    case kTimeLowercaseAMPM:
        return setSymbolCase(formatter, true);
    case kTimeSeconds:
        return formatter->setTimeStyle(NSDateFormatterMediumStyle);
    default:
        return orig_SBStatusBarStateAggregator_resetTimeItemFormatter(self, _cmd);
    }
}

// The options under which SpringBoard's minute timer is not restarted: a fixed text, the
// address, the network name, and values the panel does not offer.
bool timeItemShowsFixedText()
{
    std::uint32_t option = gCVStatusBar.timeStringOption;
    return option == kTimeCustomText || option == kTimeIPAddress || option == kTimeWifiSSID ||
           option > kTimeSeconds;
}

void (*orig_SBStatusBarStateAggregator_restartTimeItemTimer)(id, SEL);
void SBStatusBarStateAggregator_restartTimeItemTimer(id self, SEL _cmd)
{
    if (gCVStatusBar.customTime && timeItemShowsFixedText())
        return;
    orig_SBStatusBarStateAggregator_restartTimeItemTimer(self, _cmd);
}

void (*orig_SBStatusBarStateAggregator_updateTimeItems)(id, SEL);
void SBStatusBarStateAggregator_updateTimeItems(id self, SEL _cmd)
{
    std::uint32_t option = gCVStatusBar.timeStringOption;
    bool showsTime = option == kTimeNone || option == kTimeLowercaseAMPM || option == kTimeSeconds;
    if ((gCVStatusBar.customTime || !showsTime) &&
        class_respondsToSelector(object_getClass(self), "_stopTimeItemTimer"_sel))
        msg<void>(self, "_stopTimeItemTimer"_sel);
    orig_SBStatusBarStateAggregator_updateTimeItems(self, _cmd);
}

// --- Hidden items ---

BOOL (*orig_SBStatusBarStateAggregator_setItemEnabled)(id, SEL, int, BOOL);
BOOL SBStatusBarStateAggregator_setItemEnabled(id self, SEL _cmd, int item, BOOL enabled)
{
    bool hidden = item >= 0 && item < CVStatusBarItemCount && gCVStatusBar.itemIsHidden[item];
    return orig_SBStatusBarStateAggregator_setItemEnabled(self, _cmd, item, hidden ? NO : enabled);
}

void installReplacements()
{
    Class aggregator = aggregatorClass();
    ReplaceMethod(telephonyManagerClass(), "operatorName"_sel, SBTelephonyManager_operatorName,
                  &orig_SBTelephonyManager_operatorName);
    ReplaceMethod(aggregator, "_sbCarrierNameForOperator:"_sel,
                  SBStatusBarStateAggregator_sbCarrierNameForOperator,
                  &orig_SBStatusBarStateAggregator_sbCarrierNameForOperator);
    ReplaceMethod(aggregator, "_updateServiceItem"_sel,
                  SBStatusBarStateAggregator_updateServiceItem,
                  &orig_SBStatusBarStateAggregator_updateServiceItem);
    AddMethod(aggregator, "corvaneTimerCallback:"_sel,
              SBStatusBarStateAggregator_corvaneTimerCallback, "v@:@");
    ReplaceMethod(aggregator, "_resetTimeItemFormatter"_sel,
                  SBStatusBarStateAggregator_resetTimeItemFormatter,
                  &orig_SBStatusBarStateAggregator_resetTimeItemFormatter);
    ReplaceMethod(aggregator, "_restartTimeItemTimer"_sel,
                  SBStatusBarStateAggregator_restartTimeItemTimer,
                  &orig_SBStatusBarStateAggregator_restartTimeItemTimer);
    ReplaceMethod(aggregator, "_updateTimeItems"_sel, SBStatusBarStateAggregator_updateTimeItems,
                  &orig_SBStatusBarStateAggregator_updateTimeItems);
    ReplaceMethod(aggregator, "_setItem:enabled:"_sel, SBStatusBarStateAggregator_setItemEnabled,
                  &orig_SBStatusBarStateAggregator_setItemEnabled);
}

} // namespace

void applyStatusBarSettings()
{
    id aggregator = msg<id>(aggregatorClass(), "sharedInstance"_sel);
    msg<void>(aggregator, "beginCoalescentBlock"_sel);
    msg<void>(aggregator, "_resetTimeItemFormatter"_sel);
    msg<void>(aggregator, "_restartTimeItemTimer"_sel);
    msg<void>(aggregator, "_notifyNonItemDataChanged"_sel);
    if (gCVStatusBar.customCarrier && carrierText()->length() > 0)
        msg<void, NSString *>(msg<id>(telephonyManagerClass(), "sharedTelephonyManager"_sel),
                              "setOperatorName:"_sel, carrierText());
    if (NSDateFormatter *formatter = timeFormatterOf(aggregator))
        setSymbolCase(formatter, gCVStatusBar.timeStringOption == kTimeLowercaseAMPM);
    for (int item = 0; item < CVStatusBarItemCount; ++item)
        msg<void, int>(aggregator, "updateStatusBarItem:"_sel, item);
    msg<void>(aggregator, "endCoalescentBlock"_sel);
}

void StatusBarInit()
{
    gCVStatusBar.changeCallback = applyStatusBarSettings;
    // The observer goes once it has run: an in-process relaunch unloads this library.
    if (CVRunningSystemGeneration() == CVSystemGenerationIOS9)
        CVWhenSpringBoardHasLaunched(applyStatusBarSettings);
    installReplacements();
}
