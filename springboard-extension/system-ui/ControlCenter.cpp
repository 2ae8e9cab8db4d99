#include "springboard-extension/system-ui/ControlCenter.h"

#include "foundation/NSArray.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSString.h"
#include "objc/NSObject.h"
#include "quartzcore/CGGeometry.h"
#include "springboard-extension/frame/LazyClass.h"
#include "springboard-extension/frame/Replacement.h"
#include "springboard-extension/system-ui/CenterSupport.h"
#include "substrate/substrate.h"
#include "uikit/UIView.h"

namespace {

// The AirDrop/AirPlay section draws its separator as a line exactly this wide.
constexpr CGFloat kAirStuffSeparatorWidth = 1.5;
constexpr NSInteger kPortrait = 1;
constexpr int kHighlightedState = 1;

using SizeMethod = CGSize (*)(id, SEL, NSInteger);
using SettingsDidChangeFunction = void (*)(NSString *);

// SpringBoard's private functions, by their symbol names.
constexpr const char *kControlColorSymbol = "__SBUIControlCenterControlColorForState";
constexpr const char *kSettingsDidChangeSymbol = "__SBControlCenterControlSettingsDidChangeForKey";

// SpringBoard builds its buttons from modules where this class exists; the buttons are
// then not ours to hide one by one.
LazyClass g_buttonModuleClass("SBCCButtonModule");
LazyClass g_buttonLikeSectionViewClass("SBCCButtonLikeSectionView");
LazyClass g_controlCenterControllerClass("SBControlCenterController");

bool hasButtonModules()
{
    return g_buttonModuleClass.get();
}

void setHidden(id view, bool hidden)
{
    msg<void, BOOL>(view, "setHidden:"_sel, hidden);
}

void setEachHidden(const NSArray *views, bool hidden)
{
    if (!views)
        return;
    for (const auto &view : *views)
        setHidden(view.get(), hidden);
}

// --- Separators ---

id (*orig_SBControlCenterContentView__separatorAtIndex_)(id, SEL, NSUInteger);
id SBControlCenterContentView__separatorAtIndex_(id self, SEL _cmd, NSUInteger index)
{
    if (gCVControlCenter.hideSeparators)
        return nil;
    auto *sections = CVGetIvar<NSArray *>(self, "_allSections");
    if (!sections || index >= sections->count())
        return nil;
    id section = sections->objectAtIndex(index);
    CGSize size = msg<CGSize, NSInteger>(section, "contentSizeForOrientation:"_sel, kPortrait);
    if (size.width == 0.0)
        return nil;
    return orig_SBControlCenterContentView__separatorAtIndex_(self, _cmd, index);
}

// --- AirDrop and AirPlay ---

SizeMethod orig_SBCCAirStuffSectionController_contentSizeForOrientation_;
CGSize SBCCAirStuffSectionController_contentSizeForOrientation_(id self, SEL _cmd,
                                                                NSInteger orientation)
{
    if (gCVControlCenter.hideSectionAirStuff)
        return CGSizeZero;
    return orig_SBCCAirStuffSectionController_contentSizeForOrientation_(self, _cmd, orientation);
}

void (*orig_SBCCAirStuffSectionController__updateSubsectionVisibilityAnimated_)(id, SEL, BOOL);
void SBCCAirStuffSectionController__updateSubsectionVisibilityAnimated_(id self, SEL _cmd,
                                                                        BOOL animated)
{
    orig_SBCCAirStuffSectionController__updateSubsectionVisibilityAnimated_(self, _cmd, animated);
    airStuffVisibility(self);
}

void (*orig_SBCCAirStuffSectionController_viewDidLoad)(id, SEL);
void SBCCAirStuffSectionController_viewDidLoad(id self, SEL _cmd)
{
    orig_SBCCAirStuffSectionController_viewDidLoad(self, _cmd);
    airStuffVisibility(self);
}

// --- The button sections and the others ---

SizeMethod orig_SBCCQuickLaunchSectionController_contentSizeForOrientation_;
CGSize SBCCQuickLaunchSectionController_contentSizeForOrientation_(id self, SEL _cmd,
                                                                   NSInteger orientation)
{
    bool hidden = gCVControlCenter.hideSectionQuickLaunch;
    if (!hasButtonModules())
        setEachHidden(CVGetIvar<NSArray *>(self, "_buttons"), hidden);
    if (hidden)
        return CGSizeZero;
    return orig_SBCCQuickLaunchSectionController_contentSizeForOrientation_(self, _cmd,
                                                                            orientation);
}

SizeMethod orig_SBCCBrightnessSectionController_contentSizeForOrientation_;
CGSize SBCCBrightnessSectionController_contentSizeForOrientation_(id self, SEL _cmd,
                                                                  NSInteger orientation)
{
    bool hidden = gCVControlCenter.hideSectionBrightness;
    setHidden(CVGetIvar<id>(self, "_slider"), hidden);
    if (hidden)
        return CGSizeZero;
    return orig_SBCCBrightnessSectionController_contentSizeForOrientation_(self, _cmd, orientation);
}

SizeMethod orig_SBCCMediaControlsSectionController_contentSizeForOrientation_;
CGSize SBCCMediaControlsSectionController_contentSizeForOrientation_(id self, SEL _cmd,
                                                                     NSInteger orientation)
{
    if (gCVControlCenter.hideSectionMediaControls)
        return CGSizeZero;
    return orig_SBCCMediaControlsSectionController_contentSizeForOrientation_(self, _cmd,
                                                                              orientation);
}

SizeMethod orig_SBCCSettingsSectionController_contentSizeForOrientation_;
CGSize SBCCSettingsSectionController_contentSizeForOrientation_(id self, SEL _cmd,
                                                                NSInteger orientation)
{
    bool hidden = gCVControlCenter.hideSectionSettings;
    if (!hasButtonModules()) {
        auto *buttons = CVGetIvar<NSDictionary *>(self, "_buttonsByID");
        if (buttons)
            setEachHidden(buttons->allValues(), hidden);
    }
    if (hidden)
        return CGSizeZero;
    return orig_SBCCSettingsSectionController_contentSizeForOrientation_(self, _cmd, orientation);
}

// --- The backdrop ---

void (*orig_SBControlCenterController_viewWillAppear_)(id, SEL, BOOL);
void SBControlCenterController_viewWillAppear_(id self, SEL _cmd, BOOL animated)
{
    id viewController = CVGetIvar<id>(self, "_viewController");
    id container = CVGetIvar<id>(viewController, "_containerView");
    id contentContainer = CVGetIvar<id>(container, "_contentContainerView");
    const CVControlCenter &settings = gCVControlCenter;
    CVStyleBackdrop(msg<id>(contentContainer, "backdropView"_sel), settings.blurRadius,
                    settings.customBackdropColor, settings.backdropColor,
                    settings.backdropColorAlpha);
    orig_SBControlCenterController_viewWillAppear_(self, _cmd, animated);
}

// --- The toggles' colours ---

UIColor *(*orig__SBUIControlCenterControlColorForState)(int);
UIColor *replaced__SBUIControlCenterControlColorForState(int state)
{
    const CVControlCenter &settings = gCVControlCenter;
    UIColor *color = nil;
    if (state == kHighlightedState) {
        if (settings.customHighlightedControlColor)
            color = CVColorFromSetting(settings.highlightedControlColor);
    } else if (settings.customNormalControlColor) {
        color = CVColorFromSetting(settings.normalControlColor);
    }
    return color ? color : orig__SBUIControlCenterControlColorForState(state);
}

void installReplacements()
{
    ReplaceMethod(objc_getClass("SBControlCenterContentView"), "_separatorAtIndex:"_sel,
                  SBControlCenterContentView__separatorAtIndex_,
                  &orig_SBControlCenterContentView__separatorAtIndex_);
    Class airStuff = objc_getClass("SBCCAirStuffSectionController");
    ReplaceMethod(airStuff, "contentSizeForOrientation:"_sel,
                  SBCCAirStuffSectionController_contentSizeForOrientation_,
                  &orig_SBCCAirStuffSectionController_contentSizeForOrientation_);
    ReplaceMethod(airStuff, "_updateSubsectionVisibilityAnimated:"_sel,
                  SBCCAirStuffSectionController__updateSubsectionVisibilityAnimated_,
                  &orig_SBCCAirStuffSectionController__updateSubsectionVisibilityAnimated_);
    ReplaceMethod(airStuff, "viewDidLoad"_sel, SBCCAirStuffSectionController_viewDidLoad,
                  &orig_SBCCAirStuffSectionController_viewDidLoad);
    ReplaceMethod(objc_getClass("SBCCQuickLaunchSectionController"),
                  "contentSizeForOrientation:"_sel,
                  SBCCQuickLaunchSectionController_contentSizeForOrientation_,
                  &orig_SBCCQuickLaunchSectionController_contentSizeForOrientation_);
    ReplaceMethod(objc_getClass("SBCCBrightnessSectionController"),
                  "contentSizeForOrientation:"_sel,
                  SBCCBrightnessSectionController_contentSizeForOrientation_,
                  &orig_SBCCBrightnessSectionController_contentSizeForOrientation_);
    ReplaceMethod(objc_getClass("SBCCMediaControlsSectionController"),
                  "contentSizeForOrientation:"_sel,
                  SBCCMediaControlsSectionController_contentSizeForOrientation_,
                  &orig_SBCCMediaControlsSectionController_contentSizeForOrientation_);
    ReplaceMethod(objc_getClass("SBCCSettingsSectionController"), "contentSizeForOrientation:"_sel,
                  SBCCSettingsSectionController_contentSizeForOrientation_,
                  &orig_SBCCSettingsSectionController_contentSizeForOrientation_);
    ReplaceMethod(objc_getClass("SBControlCenterController"), "viewWillAppear:"_sel,
                  SBControlCenterController_viewWillAppear_,
                  &orig_SBControlCenterController_viewWillAppear_);
}

} // namespace

void airStuffVisibility(id sectionController)
{
    if (hasButtonModules())
        return;
    auto *view = msg<UIView *>(sectionController, "view"_sel);
    auto *subviews = msg<NSArray *>(view, "subviews"_sel);
    if (!subviews)
        return;
    for (const auto &item : *subviews) {
        id subview = item.get();
        CGRect frame = msg<CGRect>(subview, "frame"_sel);
        if (frame.size.width == kAirStuffSeparatorWidth)
            setHidden(subview, gCVControlCenter.hideSeparators);
        else if (msg<BOOL, Class>(subview, "isKindOfClass:"_sel,
                                  g_buttonLikeSectionViewClass.get()))
            setHidden(subview, gCVControlCenter.hideSectionAirStuff);
    }
}

void applyControlCenterSettings()
{
    if (auto didChange = reinterpret_cast<SettingsDidChangeFunction>(
            MSFindSymbol(nullptr, kSettingsDidChangeSymbol))) {
        didChange("highlight"_ns);
        didChange("highlightColor"_ns);
    }
    if (!CVRunsIOS9())
        return;
    id controller = msg<id>(g_controlCenterControllerClass.get(), "sharedInstance"_sel);
    if (!controller)
        return;
    CVUpdateSystemGesture(CVGetIvar<id>(controller, "_controlCenterGestureRecognizer"),
                          gCVControlCenter.disableCC);
}

void ControlCenterInit()
{
    gCVControlCenter.changeCallback = applyControlCenterSettings;
    installReplacements();
    if (CVRunsIOS9())
        CVWhenSpringBoardHasLaunched(applyControlCenterSettings);
    HookFunction(MSFindSymbol(nullptr, kControlColorSymbol),
                 replaced__SBUIControlCenterControlColorForState,
                 &orig__SBUIControlCenterControlColorForState);
}
