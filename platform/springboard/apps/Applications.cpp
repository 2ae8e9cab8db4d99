// Applications on screen: the icon tap that launches one, its window, the home button
// that suspends it, and the system ending it in the background.

#include "springboard/apps/ApplicationsHost.h"

#include "foundation/NSLog.h"
#include "springboard/Artwork.h"
#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/SBIconController.h"
#include "springboard/SpringBoardState.h"
#include "uikit/UIFont.h"

#include <nlohmann/json.hpp>

namespace sim {
namespace {

// Just above the home screen, below the lock screen and the status bar.
constexpr UIWindowLevel kApplicationLevel = UIWindowLevelNormal + 1;
constexpr CGFloat kNameFontSize = 32;

SBApplicationController *controller()
{
    return SBApplicationController::shared();
}

SBApplication *installedApplication(const std::string &bundleIdentifier)
{
    SBApplicationController *applications = controller();
    SBApplication *application =
        applications ? applications->applicationWithBundleIdentifier(bundleIdentifier) : nil;
    if (!application)
        NSLog("SpringBoard: no application %s is installed", bundleIdentifier.c_str());
    return application;
}

// The application's icon wherever the home screen keeps it: on a page, in the dock or in
// a folder.
SBApplicationIcon *iconOf(SBIconController *icons, const std::string &bundleIdentifier)
{
    auto matches = [&](id object) {
        return object_getClass(object) == SBApplicationIcon::class_() &&
               static_cast<SBApplicationIcon *>(object)->m_bundleIdentifier->str() ==
                   bundleIdentifier;
    };
    for (SBIconListView *list : icons->allIconLists())
        for (id icon : *list->m_icons)
            if (matches(icon))
                return static_cast<SBApplicationIcon *>(icon);
    for (SBIcon *folderIcon : icons->folderIcons())
        for (id icon : *static_cast<SBFolderIcon *>(folderIcon)->m_folder->m_icons)
            if (matches(icon))
                return static_cast<SBApplicationIcon *>(icon);
    return nil;
}

// The window takes the home screen window's place, so that it turns with the interface
// as that one does.
StrongRef<UIWindow> newApplicationWindow(UIView *content)
{
    UIWindow *home = springBoardState().homeScreenWindow;
    StrongRef<UIWindow> window = newView<UIWindow>(UIWindow::class_(), CGRectZero);
    msg<void, UIWindowLevel>(window, "setWindowLevel:"_sel, kApplicationLevel);
    msg<void, CGRect>(window, "setBounds:"_sel, home->bounds());
    msg<void, CGPoint>(window, "setCenter:"_sel, home->center());
    msg<void, CGAffineTransform>(window, "setTransform:"_sel, home->transform());
    addSubview(window, content);
    setHidden(window, false);
    return window;
}

void showFrontmost(SBApplicationController *applications, SBApplication *application)
{
    applications->m_frontmostApplication = application;
    UIView *screen =
        applicationScreenView(application, springBoardState().homeScreenWindow->bounds());
    applications->m_applicationWindow = newApplicationWindow(screen);
    msg<void>(applications->m_applicationWindow, "layoutIfNeeded"_sel);
}

void hideFrontmost(SBApplicationController *applications)
{
    if (applications->m_applicationWindow)
        setHidden(applications->m_applicationWindow, true);
    applications->m_applicationWindow = nullptr;
    applications->m_frontmostApplication = nullptr;
}

nlohmann::json identifiers(const std::vector<SBApplication *> &applications, bool runningOnly)
{
    nlohmann::json list = nlohmann::json::array();
    for (SBApplication *application : applications)
        if (!runningOnly || application->m_running)
            list.push_back(application->bundleIdentifier());
    return list;
}

namespace imp {

// A tap on an icon: an application launches, a folder opens.
void iconTapped(SBIconController *self, SEL, SBIconView *iconView)
{
    SBIcon *icon = iconView ? iconView->m_icon.get() : nil;
    if (icon && object_getClass(icon) == SBFolderIcon::class_()) {
        msg<void, SBFolder *, BOOL>(self, "openFolder:animated:"_sel,
                                    static_cast<SBFolderIcon *>(icon)->m_folder, YES);
        return;
    }
    if (!icon || object_getClass(icon) != SBApplicationIcon::class_())
        return;
    auto *applicationIcon = static_cast<SBApplicationIcon *>(icon);
    if (SBApplication *application =
            installedApplication(applicationIcon->m_bundleIdentifier->str()))
        activateApplication(application);
}

} // namespace imp

} // namespace

bool ApplicationsHost::launch(const std::string &bundleIdentifier)
{
    if (springBoardState().locked) {
        NSLog("SpringBoard: the device is locked; %s does not launch", bundleIdentifier.c_str());
        return false;
    }
    if (!installedApplication(bundleIdentifier))
        return false;
    auto *icons = msg<SBIconController *>(SBIconController::class_(), "sharedInstance"_sel);
    SBApplicationIcon *icon = icons ? iconOf(icons, bundleIdentifier) : nil;
    if (!icon) {
        NSLog("SpringBoard: %s has no icon on the home screen", bundleIdentifier.c_str());
        return false;
    }
    auto *iconView = msg<SBIconView *>(icons->m_iconViewMap.get(), "iconViewForIcon:"_sel, icon);
    msg<void, SBIconView *>(icons, "iconTapped:"_sel, iconView);
    return true;
}

bool ApplicationsHost::quit(const std::string &bundleIdentifier)
{
    SBApplication *application = installedApplication(bundleIdentifier);
    if (!application)
        return false;
    endApplication(application);
    return true;
}

nlohmann::json ApplicationsHost::dump()
{
    SBApplicationController *applications = controller();
    if (!applications)
        return nullptr;
    SBApplication *front = applications->m_frontmostApplication;
    std::vector<SBApplication *> all;
    for (id object : *applications->m_applications)
        all.push_back(static_cast<SBApplication *>(object));
    return {{"frontmost", front ? nlohmann::json(front->bundleIdentifier()) : nlohmann::json()},
            {"running", identifiers(all, true)},
            {"recent", identifiers(applications->recentApplications(), false)}};
}

void activateApplication(SBApplication *application)
{
    SBApplicationController *applications = controller();
    if (applications->m_frontmostApplication.get() == application)
        return;
    hideFrontmost(applications);
    application->m_running = true;
    applications->noteUsed(application);
    showFrontmost(applications, application);
}

bool suspendFrontmostApplication()
{
    SBApplicationController *applications = controller();
    if (!applications || !applications->m_frontmostApplication)
        return false;
    hideFrontmost(applications);
    return true;
}

void endApplication(SBApplication *application)
{
    SBApplicationController *applications = controller();
    if (applications->m_frontmostApplication.get() == application)
        hideFrontmost(applications);
    application->m_running = false;
}

UIView *applicationScreenView(SBApplication *application, CGRect frame)
{
    RGBA colour = iconColorForIdentifier(application->bundleIdentifier());
    StrongRef<UIView> screen = newView(UIView::class_(), frame);
    msg<void, UIColor *>(
        screen, "setBackgroundColor:"_sel,
        UIColor::colorWithRedGreenBlueAlpha(colour.red, colour.green, colour.blue, 1));
    CGRect band = {{0, frame.size.height / 2 - kNameFontSize},
                   {frame.size.width, 2 * kNameFontSize}};
    StrongRef<UILabel> name =
        newLabel(band, application->m_displayName, UIFont::boldSystemFontOfSize(kNameFontSize));
    addSubview(screen, name);
    return autorelease(screen.leak());
}

void registerApplicationClasses()
{
    registerApplicationModelClasses();
    class_addMethod(SBIconController::class_(), "iconTapped:"_sel,
                    reinterpret_cast<IMP>(imp::iconTapped),
                    encodeImplementation(imp::iconTapped).c_str());
}

} // namespace sim
