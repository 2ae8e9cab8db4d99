#include "springboard-extension/system-ui/LockScreen.h"

#include "darwin/notify.h"
#include "foundation/CFRunLoop.h"
#include "foundation/NSDateFormatter.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Extension.h"
#include "springboard-extension/frame/LazyClass.h"
#include "springboard-extension/frame/Replacement.h"
#include "uikit/UIColor.h"
#include "uikit/UIDevice.h"
#include "uikit/UIFont.h"

#include <cstring>

namespace {

constexpr double kFirstIOS8Version = 1140.1;
constexpr double kFirstIOS9Version = 1240.1;
constexpr const char *kNowPlayingBundle = "NowPlayingArtLockScreen";
constexpr int kTicksPerDisplayCheck = 10;

constexpr std::uint32_t kSliderOriginal = 0;
constexpr std::uint32_t kSliderHidden = 1;
constexpr std::uint32_t kSliderCustomText = 2;
constexpr std::uint32_t kSliderCurrentTime = 3;
constexpr std::uint32_t kTimeSeconds = 1;
constexpr std::uint32_t kTimeCustomText = 2;
constexpr std::uint32_t kDateOriginal = 0;
constexpr std::uint32_t kDateCustomText = 2;

NSTimer *g_sliderTimer; // retained while set
int g_tickCount;        // every tick of every slider timer, for the life of SpringBoard

LazyClass g_dateLabelCacheClass("SBDateLabelStringFormatCache");
LazyClass g_userAgentClass("SBUserAgent");

NSString *currentTimeInStyle(std::uint32_t style)
{
    return msg<NSString *, NSDateFormatterStyle>(reinterpret_cast<id>(NSDate::class_()),
                                                 "timeStringWithStyle:"_sel,
                                                 static_cast<NSDateFormatterStyle>(style));
}

// The section keeps its texts zero-filled, so an unset text is the empty string.
template <std::size_t N> NSString *textOf(const char (&buffer)[N])
{
    return NSString::stringWithString(std::string_view(buffer, strnlen(buffer, N)));
}

UIColor *timeColor()
{
    const CVColor &color = gCVLockScreen.timeColor;
    return UIColor::colorWithRedGreenBlueAlpha(color.red / 255.0, color.green / 255.0,
                                               color.blue / 255.0, 1.0);
}

// --- CVLockScreenDateFormatter ---

id sharedDateLabelCache()
{
    return msg<id>(g_dateLabelCacheClass.get(), "sharedInstance"_sel);
}

void CVLockScreenDateFormatter_resetFormattersIfNecessary(id, SEL)
{
    msg<void>(sharedDateLabelCache(), "resetFormattersIfNecessary"_sel);
}

NSString *CVLockScreenDateFormatter_formatDateAsDayOfWeekMonthDayStyle(id, SEL, NSDate *date)
{
    if (gCVLockScreen.dateMode == kDateOriginal)
        return msg<NSString *, NSDate *>(sharedDateLabelCache(),
                                         "formatDateAsDayOfWeekMonthDayStyle:"_sel, date);
    return gCVLockScreen.dateMode == kDateCustomText ? textOf(gCVLockScreen.dateText) : nil;
}

NSString *CVLockScreenDateFormatter_formatDateAsTimeNoAMPM(id, SEL, NSDate *date)
{
    if (gCVLockScreen.timeMode == kTimeCustomText)
        return textOf(gCVLockScreen.timeText);
    if (gCVLockScreen.timeMode == kTimeSeconds)
        return currentTimeInStyle(NSDateFormatterMediumStyle);
    return msg<NSString *, NSDate *>(sharedDateLabelCache(), "formatDateAsTimeNoAMPM:"_sel, date);
}

Class dateFormatterClass()
{
    static Class cls = [] {
        Class formatter =
            objc_allocateClassPair(NSObject::class_(), "CVLockScreenDateFormatter", 0);
        AddMethod(formatter, "resetFormattersIfNecessary"_sel,
                  CVLockScreenDateFormatter_resetFormattersIfNecessary, "v@:");
        AddMethod(formatter, "formatDateAsDayOfWeekMonthDayStyle:"_sel,
                  CVLockScreenDateFormatter_formatDateAsDayOfWeekMonthDayStyle, "@@:@");
        AddMethod(formatter, "formatDateAsTimeNoAMPM:"_sel,
                  CVLockScreenDateFormatter_formatDateAsTimeNoAMPM, "@@:@");
        if (Protocol *protocol = objc_getProtocol("SBFLockScreenDateFormatter"))
            class_addProtocol(formatter, protocol);
        objc_registerClassPair(formatter);
        return formatter;
    }();
    return cls;
}

// --- Artwork and grabbers ---

bool refusesBundle(NSString *name)
{
    return gCVLockScreen.hideAlbumArtwork && name &&
           std::strcmp(name->UTF8String(), kNowPlayingBundle) == 0;
}

BOOL (*orig_SBLockScreenPluginController_enableBundleAnimated)(id, SEL, NSString *, id, id);
BOOL SBLockScreenPluginController_enableBundleAnimated(id self, SEL _cmd, NSString *name,
                                                       id context, id animationBlock)
{
    if (refusesBundle(name))
        return NO;
    return orig_SBLockScreenPluginController_enableBundleAnimated(self, _cmd, name, context,
                                                                  animationBlock);
}

BOOL (*orig_SBLockScreenPluginController_enableBundle)(id, SEL, NSString *, id);
BOOL SBLockScreenPluginController_enableBundle(id self, SEL _cmd, NSString *name, id context)
{
    if (refusesBundle(name))
        return NO;
    return orig_SBLockScreenPluginController_enableBundle(self, _cmd, name, context);
}

void (*orig_SBLockScreenViewController_addCameraGrabberIfNecessary)(id, SEL);
void SBLockScreenViewController_addCameraGrabberIfNecessary(id self, SEL _cmd)
{
    if (!gCVLockScreen.hideCamera)
        orig_SBLockScreenViewController_addCameraGrabberIfNecessary(self, _cmd);
}

void (*orig_SBLockScreenView_layoutTimerView)(id, SEL);
void SBLockScreenView_layoutTimerView(id self, SEL _cmd)
{
    orig_SBLockScreenView_layoutTimerView(self, _cmd);
    if (gCVLockScreen.customTimeColor)
        msg<void, UIColor *>(msg<id>(self, "dateView"_sel), "setTextColor:"_sel, timeColor());
}

using HiddenSetter = void (*)(id, SEL, BOOL, id);

HiddenSetter orig_SBLockScreenView_setTopGrabberHidden;
void SBLockScreenView_setTopGrabberHidden(id self, SEL _cmd, BOOL hidden, id requester)
{
    orig_SBLockScreenView_setTopGrabberHidden(self, _cmd, hidden || gCVLockScreen.hideNCGrabber,
                                              requester);
}

HiddenSetter orig_SBLockScreenView_setBottomGrabberHidden;
void SBLockScreenView_setBottomGrabberHidden(id self, SEL _cmd, BOOL hidden, id requester)
{
    orig_SBLockScreenView_setBottomGrabberHidden(self, _cmd, hidden || gCVLockScreen.hideCCGrabber,
                                                 requester);
}

HiddenSetter orig_SBLockScreenView_setSlideToUnlockHidden;
void SBLockScreenView_setSlideToUnlockHidden(id self, SEL _cmd, BOOL hidden, id requester)
{
    orig_SBLockScreenView_setSlideToUnlockHidden(
        self, _cmd, hidden || gCVLockScreen.sliderMode == kSliderHidden, requester);
}

HiddenSetter orig_SBLockScreenView_setCameraGrabberHidden;
void SBLockScreenView_setCameraGrabberHidden(id self, SEL _cmd, BOOL hidden, id requester)
{
    orig_SBLockScreenView_setCameraGrabberHidden(self, _cmd, hidden || gCVLockScreen.hideCamera,
                                                 requester);
}

// --- The slider timer ---

void SBLockScreenView_setCustomSlideToUnlockTimeTextCorvane(id self, SEL)
{
    NSString *text = currentTimeInStyle(gCVLockScreen.sliderTimeStyle);
    if (class_respondsToSelector(object_getClass(self), "setCustomSlideToUnlockText:animated:"_sel))
        msg<void, NSString *, BOOL>(self, "setCustomSlideToUnlockText:animated:"_sel, text, NO);
    else
        msg<void, NSString *>(self, "setCustomSlideToUnlockText:"_sel, text);
}

// Read only every tenth tick: the display's state is a system call away.
bool displayIsOn()
{
    if (++g_tickCount % kTicksPerDisplayCheck != 0)
        return true;
    int token = 0;
    std::uint64_t state = 1;
    if (notify_register_check("com.apple.iokit.hid.displayStatus", &token) == NOTIFY_STATUS_OK) {
        notify_get_state(token, &state);
        notify_cancel(token);
    }
    return state != 0;
}

void SBLockScreenView_corvaneTimerCallback(id self, SEL, NSTimer *timer)
{
    id userAgent = msg<id>(g_userAgentClass.get(), "sharedUserAgent"_sel);
    BOOL showing = msg<BOOL>(userAgent, "lockScreenIsShowing"_sel);
    if (!displayIsOn() || !showing) {
        msg<void>(timer, "invalidate"_sel);
        return;
    }
    if (gCVLockScreen.sliderMode == kSliderCurrentTime)
        msg<id, SEL>(self, "performSelector:"_sel, "setCustomSlideToUnlockTimeTextCorvane"_sel);
    if (gCVLockScreen.timeMode == kTimeSeconds) {
        id dateView = msg<id>(self, "dateView"_sel);
        msg<void, NSDate *>(dateView, "setDate:"_sel, nil);
        msg<void, NSDate *>(dateView, "setDate:"_sel, NSDate::date());
    }
}

void SBLockScreenView_setupCorvaneSliderTimer(id self, SEL)
{
    if (g_sliderTimer && msg<BOOL>(g_sliderTimer, "isValid"_sel))
        return;
    if (g_sliderTimer)
        msg<void>(g_sliderTimer, "release"_sel);
    g_sliderTimer = NSTimer::timerWithTimeIntervalTargetSelectorUserInfoRepeats(
        1.0, self, "corvaneTimerCallback:"_sel, nil, true);
    msg<id>(g_sliderTimer, "retain"_sel);
    // Common modes: the clock keeps ticking while the user drags the slider.
    NSRunLoop::currentRunLoop()->addTimerForMode(g_sliderTimer, NSRunLoopCommonModes);
}

void (*orig_SBLockScreenView_stopAnimating)(id, SEL);
void SBLockScreenView_stopAnimating(id self, SEL _cmd)
{
    if (g_sliderTimer && msg<BOOL>(g_sliderTimer, "isValid"_sel))
        msg<void>(g_sliderTimer, "invalidate"_sel);
    orig_SBLockScreenView_stopAnimating(self, _cmd);
}

void (*orig_SBLockScreenView_startAnimating)(id, SEL);
void SBLockScreenView_startAnimating(id self, SEL _cmd)
{
    if (gCVLockScreen.sliderMode == kSliderCurrentTime || gCVLockScreen.timeMode == kTimeSeconds)
        msg<void>(self, "setupCorvaneSliderTimer"_sel);
    orig_SBLockScreenView_startAnimating(self, _cmd);
}

NSString *(*orig_SBLockScreenView_defaultSlideToUnlockText)(id, SEL);
NSString *SBLockScreenView_defaultSlideToUnlockText(id self, SEL _cmd)
{
    switch (gCVLockScreen.sliderMode) {
    case kSliderOriginal:
        return orig_SBLockScreenView_defaultSlideToUnlockText(self, _cmd);
    case kSliderHidden:
        if (id slider = CVGetIvar<id>(self, "_slideToUnlockView")) {
            msg<void, BOOL>(slider, "setHidden:"_sel, YES);
            msg<void>(slider, "removeFromSuperview"_sel);
        }
        return ""_ns;
    case kSliderCustomText:
        return textOf(gCVLockScreen.sliderText);
    case kSliderCurrentTime:
        msg<id, SEL>(self, "performSelector:"_sel, "setupCorvaneSliderTimer"_sel);
        return currentTimeInStyle(gCVLockScreen.sliderTimeStyle);
    default:
        return nil;
    }
}

// --- iOS 9's formatter cache ---

bool isIOS9()
{
    return kCFCoreFoundationVersionNumber >= kFirstIOS9Version;
}

NSString *(*orig_BSDateFormatterCache_formatDateAsDayOfWeekMonthDayStyle)(id, SEL, NSDate *);
NSString *BSDateFormatterCache_formatDateAsDayOfWeekMonthDayStyle(id self, SEL _cmd, NSDate *date)
{
    if (!isIOS9() || gCVLockScreen.dateMode == kDateOriginal)
        return orig_BSDateFormatterCache_formatDateAsDayOfWeekMonthDayStyle(self, _cmd, date);
    return gCVLockScreen.dateMode == kDateCustomText ? textOf(gCVLockScreen.dateText) : nil;
}

NSString *(*orig_BSDateFormatterCache_formatDateAsTimeNoAMPM)(id, SEL, NSDate *);
NSString *BSDateFormatterCache_formatDateAsTimeNoAMPM(id self, SEL _cmd, NSDate *date)
{
    if (isIOS9() && gCVLockScreen.timeMode == kTimeCustomText)
        return textOf(gCVLockScreen.timeText);
    if (isIOS9() && gCVLockScreen.timeMode == kTimeSeconds)
        return currentTimeInStyle(NSDateFormatterMediumStyle);
    return orig_BSDateFormatterCache_formatDateAsTimeNoAMPM(self, _cmd, date);
}

// --- The date view ---

void (*orig_SBFLockScreenDateView_setTextColor)(id, SEL, UIColor *);
void SBFLockScreenDateView_setTextColor(id self, SEL _cmd, UIColor *color)
{
    orig_SBFLockScreenDateView_setTextColor(self, _cmd,
                                            gCVLockScreen.customTimeColor ? timeColor() : color);
}

UIColor *(*orig_SBFLockScreenDateView_textColor)(id, SEL);
UIColor *SBFLockScreenDateView_textColor(id self, SEL _cmd)
{
    if (gCVLockScreen.customTimeColor)
        return timeColor();
    return orig_SBFLockScreenDateView_textColor(self, _cmd);
}

void (*orig_SBFLockScreenDateView_setFormatter)(id, SEL, id);
void SBFLockScreenDateView_setFormatter(id self, SEL _cmd, id formatter)
{
    bool custom = gCVLockScreen.timeMode != 0 || gCVLockScreen.dateMode != 0;
    if (!custom || msg<BOOL, Class>(formatter, "isKindOfClass:"_sel, dateFormatterClass()))
        return orig_SBFLockScreenDateView_setFormatter(self, _cmd, formatter);
    id ours = msg<id>(msg<id>(dateFormatterClass(), "alloc"_sel), "init"_sel);
    orig_SBFLockScreenDateView_setFormatter(self, _cmd, ours);
    msg<void>(ours, "release"_sel);
}

// A size above 1.0 replaces SpringBoard's font once SpringBoard has launched; the bold
// face where the user asked for bold text.
UIFont *customFont(CGFloat size)
{
    if (!(size > 1.0) || !CVSpringBoardDidLaunch)
        return nil;
    bool bold =
        kCFCoreFoundationVersionNumber >= kFirstIOS8Version && UIAccessibilityIsBoldTextEnabled();
    return msg<UIFont *, CGFloat>(
        gCVClasses.UICTFont,
        bold ? "boldSystemFontOfSize:"_sel : "_ultraLightSystemFontOfSize:"_sel, size);
}

UIFont *(*orig_SBFLockScreenDateView_timeFont)(id, SEL);
UIFont *SBFLockScreenDateView_timeFont(id self, SEL _cmd)
{
    UIFont *springBoards = orig_SBFLockScreenDateView_timeFont(self, _cmd);
    UIFont *custom = customFont(gCVLockScreen.timeFontSize);
    return custom ? custom : springBoards;
}

UIFont *(*orig_SBFLockScreenDateView_dateFont)(id, SEL);
UIFont *SBFLockScreenDateView_dateFont(id self, SEL _cmd)
{
    UIFont *custom = customFont(gCVLockScreen.dateFontSize);
    return custom ? custom : orig_SBFLockScreenDateView_dateFont(self, _cmd);
}

void installLockScreenViewReplacements(Class view)
{
    ReplaceMethod(view, "_layoutTimerView"_sel, SBLockScreenView_layoutTimerView,
                  &orig_SBLockScreenView_layoutTimerView);
    ReplaceMethod(view, "setTopGrabberHidden:forRequester:"_sel,
                  SBLockScreenView_setTopGrabberHidden, &orig_SBLockScreenView_setTopGrabberHidden);
    ReplaceMethod(view, "setBottomGrabberHidden:forRequester:"_sel,
                  SBLockScreenView_setBottomGrabberHidden,
                  &orig_SBLockScreenView_setBottomGrabberHidden);
    ReplaceMethod(view, "setSlideToUnlockHidden:forRequester:"_sel,
                  SBLockScreenView_setSlideToUnlockHidden,
                  &orig_SBLockScreenView_setSlideToUnlockHidden);
    ReplaceMethod(view, "setCameraGrabberHidden:forRequester:"_sel,
                  SBLockScreenView_setCameraGrabberHidden,
                  &orig_SBLockScreenView_setCameraGrabberHidden);
    AddMethod(view, "setCustomSlideToUnlockTimeTextCorvane"_sel,
              SBLockScreenView_setCustomSlideToUnlockTimeTextCorvane, "v@:");
    AddMethod(view, "corvaneTimerCallback:"_sel, SBLockScreenView_corvaneTimerCallback, "v@:@");
    ReplaceMethod(view, "stopAnimating"_sel, SBLockScreenView_stopAnimating,
                  &orig_SBLockScreenView_stopAnimating);
    ReplaceMethod(view, "startAnimating"_sel, SBLockScreenView_startAnimating,
                  &orig_SBLockScreenView_startAnimating);
    AddMethod(view, "setupCorvaneSliderTimer"_sel, SBLockScreenView_setupCorvaneSliderTimer, "v@:");
    ReplaceMethod(view, "_defaultSlideToUnlockText"_sel, SBLockScreenView_defaultSlideToUnlockText,
                  &orig_SBLockScreenView_defaultSlideToUnlockText);
}

void installDateReplacements()
{
    Class cache = objc_getClass("BSDateFormatterCache");
    ReplaceMethod(cache, "formatDateAsDayOfWeekMonthDayStyle:"_sel,
                  BSDateFormatterCache_formatDateAsDayOfWeekMonthDayStyle,
                  &orig_BSDateFormatterCache_formatDateAsDayOfWeekMonthDayStyle);
    ReplaceMethod(cache, "formatDateAsTimeNoAMPM:"_sel, BSDateFormatterCache_formatDateAsTimeNoAMPM,
                  &orig_BSDateFormatterCache_formatDateAsTimeNoAMPM);
    Class dateView = objc_getClass("SBFLockScreenDateView");
    ReplaceMethod(dateView, "setTextColor:"_sel, SBFLockScreenDateView_setTextColor,
                  &orig_SBFLockScreenDateView_setTextColor);
    ReplaceMethod(dateView, "textColor"_sel, SBFLockScreenDateView_textColor,
                  &orig_SBFLockScreenDateView_textColor);
    ReplaceMethod(dateView, "setFormatter:"_sel, SBFLockScreenDateView_setFormatter,
                  &orig_SBFLockScreenDateView_setFormatter);
    ReplaceMethod(dateView, "_timeFont"_sel, SBFLockScreenDateView_timeFont,
                  &orig_SBFLockScreenDateView_timeFont);
    ReplaceMethod(dateView, "_dateFont"_sel, SBFLockScreenDateView_dateFont,
                  &orig_SBFLockScreenDateView_dateFont);
}

} // namespace

void LockScreenInit()
{
    Class plugins = objc_getClass("SBLockScreenPluginController");
    ReplaceMethod(plugins,
                  "enableLockScreenBundleWithName:activationContext:"
                  "auxiliaryActivationAnimationBlock:"_sel,
                  SBLockScreenPluginController_enableBundleAnimated,
                  &orig_SBLockScreenPluginController_enableBundleAnimated);
    ReplaceMethod(plugins, "enableLockScreenBundleWithName:activationContext:"_sel,
                  SBLockScreenPluginController_enableBundle,
                  &orig_SBLockScreenPluginController_enableBundle);
    ReplaceMethod(objc_getClass("SBLockScreenViewController"), "_addCameraGrabberIfNecessary"_sel,
                  SBLockScreenViewController_addCameraGrabberIfNecessary,
                  &orig_SBLockScreenViewController_addCameraGrabberIfNecessary);
    installLockScreenViewReplacements(objc_getClass("SBLockScreenView"));
    installDateReplacements();
}
