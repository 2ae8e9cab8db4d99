#include "springboard-extension/home-screen/Icons.h"

#include "effects/CVIconImageEffect.h"
#include "effects/CVImageEffects.h"
#include "foundation/CoreFoundation.h"
#include "objc/NSObject.h"
#include "objc/runtime.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Extension.h"
#include "springboard-extension/frame/Replacement.h"
#include "uikit/UIFont.h"

namespace {

constexpr double kLastIOS7_0Version = 847.21;
constexpr double kFirstIOS8Version = 1140.1;
// Pixels this transparent or more are the fringe and surround of a badge: left alone.
constexpr std::uint8_t kRecolourMinimumAlpha = 21;
// The home screen's icon image format.
constexpr int kHomeScreenImageFormat = 2;

bool isIOS7()
{
    return kCFCoreFoundationVersionNumber < kFirstIOS8Version;
}

bool isIOS7_0()
{
    return kCFCoreFoundationVersionNumber <= kLastIOS7_0Version;
}

// --- Label font ---

UIFont *customLabelFontCache;

UIFont *(*orig_SBIconLabelImageParameters_font)(id, SEL);
UIFont *SBIconLabelImageParameters_font(id self, SEL _cmd)
{
    UIFont *font = orig_SBIconLabelImageParameters_font(self, _cmd);
    if (customLabelFontCache)
        return customLabelFontCache;
    float size = static_cast<float>(gCVIcons.labelFontSize);
    if (size == 0.0f && !gCVIcons.customLabelFont)
        return font;
    CGFloat pointSize = size != 0.0f ? size : msg<CGFloat>(font, "pointSize"_sel);
    NSString *name = msg<NSString *>(font, "fontName"_sel);
    NSString *custom = gCVIcons.labelFontName;
    if (gCVIcons.customLabelFont && custom && msg<NSUInteger>(custom, "length"_sel))
        name = NSString::stringWithString(custom->str());
    UIFont *built = msg<UIFont *, NSString *, CGFloat>(gCVClasses.UICTFont,
                                                       "fontWithName:size:"_sel, name, pointSize);
    if (!built)
        return font;
    customLabelFontCache = static_cast<UIFont *>(objc_retain(built));
    return customLabelFontCache;
}

// --- Badges ---

Class accessoryImageClass()
{
    static Class cls = objc_getClass("SBIconAccessoryImage");
    return cls;
}

// Pixel bytes: 0 alpha, 1 blue, 2 green, 3 red. Only colour changes; alpha never does.
CVPixelBlock recolourRule(CVColor color)
{
    return [color](std::uint8_t *pixel) {
        if (pixel[0] < kRecolourMinimumAlpha)
            return;
        pixel[3] = color.red;
        pixel[2] = color.green;
        pixel[1] = color.blue;
    };
}

// A new accessory image (owned by the caller) of the image recoloured by the rule.
UIImage *newRecolouredAccessoryImage(UIImage *image, CVColor color)
{
    UIImage *recoloured = CVRecolourPixels(image, recolourRule(color));
    return msg<UIImage *, UIImage *>(msg<id>(accessoryImageClass(), "alloc"_sel),
                                     "initWithImage:"_sel, recoloured);
}

UIImage *(*orig_SBIconBadgeView__createImageForText_highlighted)(Class, SEL, NSString *, BOOL);
UIImage *SBIconBadgeView__createImageForText_highlighted(Class self, SEL _cmd, NSString *text,
                                                         BOOL highlighted)
{
    // A no-break space keeps the badge's size and background without any digits.
    if (gCVIcons.hideBadgeText)
        text = NSString::stringWithString("\u00a0");
    UIImage *image =
        orig_SBIconBadgeView__createImageForText_highlighted(self, _cmd, text, highlighted);
    if (!gCVIcons.customBadgeTextColor)
        return image;
    UIImage *recoloured = newRecolouredAccessoryImage(image, gCVIcons.badgeTextColor);
    objc_release(image);
    return recoloured;
}

UIImage *badgeBackgroundCache;

UIImage *(*orig_SBIconBadgeView__checkoutBackgroundImage)(Class, SEL);
UIImage *SBIconBadgeView__checkoutBackgroundImage(Class self, SEL _cmd)
{
    if (!gCVIcons.customBadgeBackgroundColor)
        return orig_SBIconBadgeView__checkoutBackgroundImage(self, _cmd);
    if (!badgeBackgroundCache)
        badgeBackgroundCache =
            newRecolouredAccessoryImage(orig_SBIconBadgeView__checkoutBackgroundImage(self, _cmd),
                                        gCVIcons.badgeBackgroundColor);
    return badgeBackgroundCache;
}

BOOL (*orig_SBIconController_iconViewDisplaysBadges)(id, SEL, id);
BOOL SBIconController_iconViewDisplaysBadges(id self, SEL _cmd, id iconView)
{
    if (gCVIcons.hideBadges)
        return NO;
    if (gCVIcons.hideFolderBadges && iconView &&
        object_getClass(iconView) == gCVClasses.SBFolderIconView)
        return NO;
    return orig_SBIconController_iconViewDisplaysBadges(self, _cmd, iconView);
}

// --- Locks: moving, wiggling, deleting ---

void (*orig_SBIconView_touchesMoved_withEvent)(id, SEL, id, id);
void SBIconView_touchesMoved_withEvent(id self, SEL _cmd, id touches, id event)
{
    if (!gCVIcons.lockLayout)
        orig_SBIconView_touchesMoved_withEvent(self, _cmd, touches, event);
}

id (*orig_SBIconView__jitterPositionAnimation)(Class, SEL);
id SBIconView__jitterPositionAnimation(Class self, SEL _cmd)
{
    return gCVIcons.disableWiggling ? nil : orig_SBIconView__jitterPositionAnimation(self, _cmd);
}

id (*orig_SBIconView__jitterTransformAnimation)(Class, SEL);
id SBIconView__jitterTransformAnimation(Class self, SEL _cmd)
{
    return gCVIcons.disableWiggling ? nil : orig_SBIconView__jitterTransformAnimation(self, _cmd);
}

BOOL (*orig_SBUserInstalledApplicationIcon_allowsUninstall)(id, SEL);
BOOL SBUserInstalledApplicationIcon_allowsUninstall(id self, SEL _cmd)
{
    return gCVIcons.disableUninstall
               ? NO
               : orig_SBUserInstalledApplicationIcon_allowsUninstall(self, _cmd);
}

// --- Hidden icons ---

bool isHiddenIdentifier(NSString *identifier)
{
    CFArrayRef hidden = gCVIcons.hiddenIcons;
    CFIndex count = hidden ? CFArrayGetCount(hidden) : 0;
    for (CFIndex index = 0; index < count; ++index) {
        id entry = static_cast<id>(const_cast<void *>(CFArrayGetValueAtIndex(hidden, index)));
        if (msg<BOOL, id>(identifier, "isEqual:"_sel, entry))
            return true;
    }
    return false;
}

BOOL (*orig_SBIconModel_isIconVisible)(id, SEL, id);
BOOL SBIconModel_isIconVisible(id self, SEL _cmd, id icon)
{
    BOOL visible = orig_SBIconModel_isIconVisible(self, _cmd, icon);
    if (!icon || !msg<BOOL, SEL>(icon, "respondsToSelector:"_sel, "applicationBundleID"_sel))
        return visible;
    NSString *identifier = msg<NSString *>(icon, "applicationBundleID"_sel);
    return identifier && isHiddenIdentifier(identifier) ? NO : visible;
}

id (*orig_SBIconModel_visibleIconIdentifiers)(id, SEL);
id SBIconModel_visibleIconIdentifiers(id self, SEL _cmd)
{
    id identifiers = orig_SBIconModel_visibleIconIdentifiers(self, _cmd);
    CFArrayRef hidden = gCVIcons.hiddenIcons;
    if (!hidden || CFArrayGetCount(hidden) == 0)
        return identifiers;
    if (!msg<BOOL, SEL>(identifiers, "respondsToSelector:"_sel, "addObjectsFromArray:"_sel))
        identifiers = msg<id, id>(NSMutableArray::class_(), "arrayWithArray:"_sel, identifiers);
    msg<void, id>(identifiers, "addObjectsFromArray:"_sel, static_cast<id>(hidden));
    return identifiers;
}

// --- Image effect ---

// One key per effect for the filtered copy kept with the image it was made from. An image
// never changes its pixels, so its copy for an effect stays right for as long as the image
// lives, and a page of icons is filtered once per effect instead of at every redraw.
char gFilteredImageKeys[CVIconImageEffectGreenAscendant + 1];

UIImage *withEffect(UIImage *image)
{
    std::int32_t effect = gCVIcons.effect;
    if (!image || effect < CVIconImageEffectInvertColors ||
        effect > CVIconImageEffectGreenAscendant)
        return image;
    const void *key = &gFilteredImageKeys[effect];
    if (id kept = objc_getAssociatedObject(image, key))
        return static_cast<UIImage *>(kept);
    UIImage *filtered = CVApplyIconImageEffect(image, effect);
    if (!filtered)
        return image;
    objc_setAssociatedObject(image, key, filtered, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    return filtered;
}

UIImage *(*orig_SBClockApplicationIconImageView_contentsImage)(id, SEL);
UIImage *SBClockApplicationIconImageView_contentsImage(id self, SEL _cmd)
{
    return withEffect(orig_SBClockApplicationIconImageView_contentsImage(self, _cmd));
}

UIImage *(*orig_SBIcon_getIconImage)(id, SEL, int);
UIImage *SBIcon_getIconImage(id self, SEL _cmd, int format)
{
    UIImage *image = orig_SBIcon_getIconImage(self, _cmd, format);
    return format == kHomeScreenImageFormat ? withEffect(image) : image;
}

// --- Updated mark and Newsstand ---

void (*orig_SBIconView__updateUpdatedMark)(id, SEL);
void SBIconView__updateUpdatedMark(id self, SEL _cmd)
{
    orig_SBIconView__updateUpdatedMark(self, _cmd);
    if (gCVIcons.hideUpdatedMark)
        msg<void, BOOL>(self, "setUpdatedMarkHidden:"_sel, YES);
}

BOOL (*orig_SBIconView_canShowUpdatedMark)(Class, SEL);
BOOL SBIconView_canShowUpdatedMark(Class self, SEL _cmd)
{
    return gCVIcons.hideUpdatedMark ? NO : orig_SBIconView_canShowUpdatedMark(self, _cmd);
}

BOOL (*orig_SBApplication__isRecentlyUpdated)(id, SEL);
BOOL SBApplication__isRecentlyUpdated(id self, SEL _cmd)
{
    return gCVIcons.hideUpdatedMark ? NO : orig_SBApplication__isRecentlyUpdated(self, _cmd);
}

BOOL (*orig_SBDownloadingIcon_iconAppearsInNewsstand)(id, SEL);
BOOL SBDownloadingIcon_iconAppearsInNewsstand(id self, SEL _cmd)
{
    return gCVIcons.hideNewsstand ? NO : orig_SBDownloadingIcon_iconAppearsInNewsstand(self, _cmd);
}

void (*orig_SBIconModel__addNewsstandIcon)(id, SEL);
void SBIconModel__addNewsstandIcon(id self, SEL _cmd)
{
    if (!gCVIcons.hideNewsstand)
        orig_SBIconModel__addNewsstandIcon(self, _cmd);
}

BOOL (*orig_SBIconController_isNewsstandSupported)(id, SEL);
BOOL SBIconController_isNewsstandSupported(id self, SEL _cmd)
{
    return gCVIcons.hideNewsstand ? NO : orig_SBIconController_isNewsstandSupported(self, _cmd);
}

Class metaclassNamed(const char *name)
{
    Class cls = objc_getClass(name);
    return cls ? object_getClass(reinterpret_cast<id>(cls)) : Nil;
}

void installUpdatedMark()
{
    if (isIOS7()) {
        ReplaceMethod(objc_getClass("SBIconView"), "_updateUpdatedMark"_sel,
                      SBIconView__updateUpdatedMark, &orig_SBIconView__updateUpdatedMark);
        ReplaceMethod(metaclassNamed("SBIconView"), "canShowUpdatedMark"_sel,
                      SBIconView_canShowUpdatedMark, &orig_SBIconView_canShowUpdatedMark);
    } else {
        ReplaceMethod(objc_getClass("SBApplication"), "_isRecentlyUpdated"_sel,
                      SBApplication__isRecentlyUpdated, &orig_SBApplication__isRecentlyUpdated);
    }
}

void installNewsstand()
{
    if (isIOS7_0())
        ReplaceMethod(objc_getClass("SBIconModel"), "_addNewsstandIcon"_sel,
                      SBIconModel__addNewsstandIcon, &orig_SBIconModel__addNewsstandIcon);
    else
        ReplaceMethod(objc_getClass("SBIconController"), "isNewsstandSupported"_sel,
                      SBIconController_isNewsstandSupported,
                      &orig_SBIconController_isNewsstandSupported);
}

} // namespace

void IconsInit()
{
    ReplaceMethod(objc_getClass("SBIconLabelImageParameters"), "font"_sel,
                  SBIconLabelImageParameters_font, &orig_SBIconLabelImageParameters_font);
    Class badgeMeta = metaclassNamed("SBIconBadgeView");
    ReplaceMethod(badgeMeta, "_createImageForText:highlighted:"_sel,
                  SBIconBadgeView__createImageForText_highlighted,
                  &orig_SBIconBadgeView__createImageForText_highlighted);
    ReplaceMethod(badgeMeta, "_checkoutBackgroundImage"_sel,
                  SBIconBadgeView__checkoutBackgroundImage,
                  &orig_SBIconBadgeView__checkoutBackgroundImage);
    ReplaceMethod(objc_getClass("SBIconView"), "touchesMoved:withEvent:"_sel,
                  SBIconView_touchesMoved_withEvent, &orig_SBIconView_touchesMoved_withEvent);
    Class iconViewMeta = metaclassNamed("SBIconView");
    ReplaceMethod(iconViewMeta, "_jitterPositionAnimation"_sel, SBIconView__jitterPositionAnimation,
                  &orig_SBIconView__jitterPositionAnimation);
    ReplaceMethod(iconViewMeta, "_jitterTransformAnimation"_sel,
                  SBIconView__jitterTransformAnimation, &orig_SBIconView__jitterTransformAnimation);
    Class model = objc_getClass("SBIconModel");
    ReplaceMethod(model, "visibleIconIdentifiers"_sel, SBIconModel_visibleIconIdentifiers,
                  &orig_SBIconModel_visibleIconIdentifiers);
    ReplaceMethod(model, "isIconVisible:"_sel, SBIconModel_isIconVisible,
                  &orig_SBIconModel_isIconVisible);
    ReplaceMethod(objc_getClass("SBUserInstalledApplicationIcon"), "allowsUninstall"_sel,
                  SBUserInstalledApplicationIcon_allowsUninstall,
                  &orig_SBUserInstalledApplicationIcon_allowsUninstall);
    ReplaceMethod(objc_getClass("SBDownloadingIcon"), "iconAppearsInNewsstand"_sel,
                  SBDownloadingIcon_iconAppearsInNewsstand,
                  &orig_SBDownloadingIcon_iconAppearsInNewsstand);
    ReplaceMethod(objc_getClass("SBIconController"), "iconViewDisplaysBadges:"_sel,
                  SBIconController_iconViewDisplaysBadges,
                  &orig_SBIconController_iconViewDisplaysBadges);
    ReplaceMethod(objc_getClass("SBClockApplicationIconImageView"), "contentsImage"_sel,
                  SBClockApplicationIconImageView_contentsImage,
                  &orig_SBClockApplicationIconImageView_contentsImage);
    ReplaceMethod(objc_getClass("SBIcon"), "getIconImage:"_sel, SBIcon_getIconImage,
                  &orig_SBIcon_getIconImage);
    installUpdatedMark();
    installNewsstand();
}
