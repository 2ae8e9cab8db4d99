// The root page, the bundle's principal class: the master switch and, while it is on,
// one link per section page. It loads the settings model once per process when its rows
// are first built, offers to restart SpringBoard ("Respring") from its bar and from the
// settings-changed banner, and asks before doing so.
//
// The master switch has no section identifier: it is only written to the file, and the
// extension reads it when SpringBoard starts, so changing it offers a restart.

#include "darwin/notify.h"
#include "foundation/NSNotificationCenter.h"
#include "foundation/dispatch.h"
#include "settings-panel/CVPage.h"
#include "settings-panel/CVPanelBundle.h"
#include "settings-panel/ChangesBanner.h"
#include "settings-panel/LocalizedSpecifier.h"
#include "settings-panel/SectionListControllerMethods.h"
#include "uikit/UIBarButtonItem.h"

namespace {

struct RootListController : SectionListController {
    StrongRef<ChangesBanner> m_banner;
    bool m_observing = false;
};

Class g_class;
dispatch_once_t g_settingsLoaded;

struct SectionLink {
    const char *title;
    const char *pageClass;
    const char *icon;
};

const SectionLink kSectionLinks[] = {
    {"Animations", "AnimationsListController", "Animations"},
    {"App Slider", "AppSliderListController", "AppSlider"},
    {"Control Center", "ControlCenterListController", "ControlCenter"},
    {"Dock", "DockListController", "Dock"},
    {"Folders", "FoldersListController", "Folders"},
    {"Icons", "IconsListController", "Icons"},
    {"Lock Screen", "LockScreenListController", "LockScreen"},
    {"Notification Center", "NotificationCenterListController", "NotificationCenter"},
    {"Pages", "PagesListController", "Pages"},
    {"Status Bar", "StatusBarListController", "StatusBar"},
};

void setIcon(PSSpecifier *row, const char *icon)
{
    NSString *path = CVIconPath(NSString::stringWithUTF8String(icon));
    row->setPropertyForKey(path, "icon"_ns);
    msg<void>(row, "setupIconImageWithPath:"_sel, path);
}

PSSpecifier *linkRow(RootListController *self, const SectionLink &link)
{
    PSSpecifier *row =
        LocalizedSpecifier::rowNamed(NSString::stringWithUTF8String(link.title), self, nullptr,
                                     nullptr, objc_getClass(link.pageClass), PSLinkListCell, Nil);
    setIcon(row, link.icon);
    return row;
}

// The model is loaded once per process; each root page listens for settings-changed
// notices while it lives (the centre does not keep its observers alive).
void prepare(RootListController *self)
{
    dispatch_once(&g_settingsLoaded, [] { CVLoadSettings(); });
    if (self->m_observing)
        return;
    self->m_observing = true;
    NSNotificationCenter::defaultCenter()->addObserverSelectorNameObject(
        self, "showSettingsChangedBanner"_sel, "CV3ShowSettingsChangedNotification"_ns, nil);
}

NSArray *specifiers(RootListController *self, SEL)
{
    prepare(self);
    if (self->m_specifiers)
        return self->m_specifiers;
    NSMutableArray *rows = NSMutableArray::array();
    PSSpecifier *enabled =
        msg<PSSpecifier *>(self, "switchSpecifierWithTitle:key:"_sel, "Enabled"_ns, "enabled"_ns);
    setIcon(enabled, "Enabled");
    rows->addObject(enabled);
    if (gCVGlobal.enabled) {
        rows->addObject(msg<id>(PSSpecifier::class_(), "emptyGroupSpecifier"_sel));
        for (const SectionLink &link : kSectionLinks)
            rows->addObject(linkRow(self, link));
    }
    self->m_specifiers = rows;
    return rows;
}

id readPreferenceValue(RootListController *, SEL, PSSpecifier *row)
{
    NSString *key = CVRowKey(row);
    if (key && key->isEqualToString("enabled"_ns))
        return NSNumber::numberWithBool(gCVGlobal.enabled);
    return nil;
}

void setPreferenceValue(RootListController *self, SEL, id value, PSSpecifier *row)
{
    NSString *key = CVRowKey(row);
    if (!key || !key->isEqualToString("enabled"_ns))
        return;
    if (!value || !msg<BOOL>(value, "isKindOfClass:"_sel, NSNumber::class_()))
        return;
    gCVGlobal.enabled = static_cast<NSNumber *>(value)->boolValue();
    msg<void>(self, "reloadSpecifiers"_sel);
    CVSaveSettings();
    CVPostSettingsChanged();
}

UIColor *tintColor(RootListController *, SEL)
{
    return msg<UIColor *, CGFloat, CGFloat, CGFloat, CGFloat>(
        UIColor::class_(), "colorWithRed:green:blue:alpha:"_sel, 1.0, 0.0, 0.0, 1.0);
}

BOOL showsResetButton(RootListController *, SEL)
{
    return NO;
}

void viewDidLoad(RootListController *self, SEL _cmd)
{
    msgSuper<void>(g_class, self, _cmd);
    id button = msg<id>(UIBarButtonItem::class_(), "alloc"_sel);
    button = msg<id, NSString *, UIBarButtonItemStyle, id, SEL>(
        button, "initWithTitle:style:target:action:"_sel, CVLocalizedString("Respring"),
        UIBarButtonItemStylePlain, self, "confirmRespring"_sel);
    msg<void>(msg<id>(self, "navigationItem"_sel), "setRightBarButtonItem:"_sel, button);
    objc_release(button);
}

void showSettingsChangedBanner(RootListController *self, SEL)
{
    if (self->m_banner && msg<BOOL>(self->m_banner.get(), "isShowing"_sel))
        return;
    id banner = msg<id>(ChangesBanner::class_(), "alloc"_sel);
    banner = msg<id, id, SEL>(banner, "initWithTarget:action:"_sel, self, "confirmRespring"_sel);
    self->m_banner = StrongRef<ChangesBanner>::adopt(static_cast<ChangesBanner *>(banner));
    msg<void>(banner, "showMessage:"_sel, CVLocalizedString("Settings Changed, tap to apply"));
}

void dropBanner(RootListController *self)
{
    msg<void>(self->m_banner.get(), "hide"_sel);
    self->m_banner = nil;
}

void confirmRespring(RootListController *self, SEL)
{
    dropBanner(self);
    CVShowPanelAlert(self, "Would you like to respring now?", "Dismiss", "Respring",
                     CVRespringAlertTag);
}

void alertViewClickedButtonAtIndex(RootListController *self, SEL _cmd, UIAlertView *alert,
                                   NSInteger index)
{
    if (msg<NSInteger>(alert, "tag"_sel) != CVRespringAlertTag) {
        msgSuper<void>(g_class, self, _cmd, alert, index);
        return;
    }
    if (index == 1)
        notify_post("com.kestrelworks.corvane3.applySettings");
}

void dealloc(RootListController *self, SEL _cmd)
{
    if (self->m_observing)
        NSNotificationCenter::defaultCenter()->removeObserver(self);
    dropBanner(self);
    msgSuper<void>(g_class, self, _cmd);
}

const Class kRegistered = [] {
    SectionListController::class_(); // the superclass first
    g_class = ClassBuilder<RootListController>("RootListController", "SectionListController")
                  .method("specifiers", specifiers)
                  .method("readPreferenceValue:", readPreferenceValue)
                  .method("setPreferenceValue:specifier:", setPreferenceValue)
                  .method("tintColor", tintColor)
                  .method("showsResetButton", showsResetButton)
                  .method("viewDidLoad", viewDidLoad)
                  .method("showSettingsChangedBanner", showSettingsChangedBanner)
                  .method("confirmRespring", confirmRespring)
                  .method("alertView:clickedButtonAtIndex:", alertViewClickedButtonAtIndex)
                  .method("dealloc", dealloc)
                  .registerClass();
    return g_class;
}();

} // namespace
