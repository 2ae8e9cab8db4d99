#include "springboard/SBIcon.h"

#include "springboard/Artwork.h"
#include "springboard/HostClass.h"
#include "springboard/SpringBoardMetrics.h"
#include "springboard/home-screen/ClockIcon.h"
#include "springboard/home-screen/SBIconModel.h"

#include <cstdlib>

namespace {

namespace imp {

NSString *displayName(SBIcon *self, SEL)
{
    return self->m_displayName;
}

BOOL isFolderIcon(SBIcon *, SEL)
{
    return NO;
}

UIImage *generateIconImage(SBIcon *, SEL, int)
{
    return nil;
}

// An icon draws its image the first time anyone asks for it, in its own way
// (generateIconImage:), and answers that image from then on.
UIImage *getIconImage(SBIcon *self, SEL, int format)
{
    if (!self->m_image)
        self->m_image = msg<UIImage *, int>(self, "generateIconImage:"_sel, format);
    return self->m_image;
}

id badgeNumberOrString(SBIcon *self, SEL)
{
    return self->m_badge;
}

void setBadge(SBIcon *self, SEL, NSString *badge)
{
    self->m_badge = badge && badge->length() ? badge : nil;
}

// What shows an icon's image in its icon view; some icons draw their own (ClockIcon.h).
Class iconImageViewClass(SBIcon *, SEL, NSInteger)
{
    return UIImageView::class_();
}

BOOL allowsUninstall(SBIcon *, SEL)
{
    return NO;
}

BOOL userInstalledAllowsUninstall(SBIcon *, SEL)
{
    return YES;
}

SBApplication *application(SBApplicationIcon *self, SEL)
{
    return static_cast<SBApplication *>(self->m_application.get());
}

// The numbers on the folder's icons, added up; text badges do not count.
id folderBadgeNumberOrString(SBFolderIcon *self, SEL)
{
    long total = 0;
    for (id icon : *msg<NSArray *>(self->m_folder.get(), "icons"_sel)) {
        auto *badge = msg<NSString *>(icon, "badgeNumberOrString"_sel);
        total += badge ? std::strtol(badge->str().c_str(), nullptr, 10) : 0;
    }
    return total > 0 ? NSString::stringWithString(std::to_string(total)) : nil;
}

NSString *leafIdentifier(SBApplicationIcon *self, SEL)
{
    return self->m_bundleIdentifier;
}

// Every image format is the home-screen image: SpringBoard draws one size.
UIImage *generateApplicationIconImage(SBApplicationIcon *self, SEL, int)
{
    return sim::applicationIconImage(self->m_bundleIdentifier->str(), self->m_displayName->str(),
                                     sim::SpringBoardMetrics::iconImageSide());
}

NSArray *folderIcons(SBFolder *self, SEL)
{
    return NSArray::arrayWithArray(self->m_icons);
}

BOOL canEditDisplayName(SBFolder *, SEL)
{
    return YES;
}

NSString *folderIconDisplayName(SBFolderIcon *self, SEL)
{
    return msg<NSString *>(self->m_folder.get(), "displayName"_sel);
}

BOOL folderIconIsFolderIcon(SBFolderIcon *, SEL)
{
    return YES;
}

// The miniature grid shows the images of the folder's first icons.
UIImage *generateFolderIconImage(SBFolderIcon *self, SEL, int format)
{
    std::vector<UIImage *> contents;
    for (id icon : *msg<NSArray *>(self->m_folder.get(), "icons"_sel))
        if (UIImage *image = msg<UIImage *, int>(icon, "getIconImage:"_sel, format))
            contents.push_back(image);
    return sim::folderIconImage(contents, sim::SpringBoardMetrics::iconImageSide());
}

} // namespace imp

} // namespace

Class SBIcon::class_()
{
    return objc_getClass("SBIcon");
}

Class SBApplicationIcon::class_()
{
    return objc_getClass("SBApplicationIcon");
}

Class SBFolder::class_()
{
    return objc_getClass("SBFolder");
}

Class SBFolderIcon::class_()
{
    return objc_getClass("SBFolderIcon");
}

SBApplicationIcon *SBApplicationIcon::create(const std::string &bundleIdentifier,
                                             const std::string &displayName)
{
    bool system = bundleIdentifier.starts_with("com.apple.");
    Class cls = !system ? objc_getClass("SBUserInstalledApplicationIcon")
                : bundleIdentifier == kClockBundleIdentifier ? SBClockApplicationIcon::class_()
                                                             : class_();
    auto *icon = sim::create<SBApplicationIcon>(cls);
    icon->m_bundleIdentifier = NSString::stringWithString(bundleIdentifier);
    if (SBApplicationController *applications = SBApplicationController::shared())
        icon->m_application = applications->applicationWithBundleIdentifier(bundleIdentifier);
    icon->m_displayName = NSString::stringWithString(displayName);
    return icon;
}

SBFolder *SBFolder::create(const std::string &displayName, NSArray *icons)
{
    auto *folder = sim::create<SBFolder>(class_());
    folder->m_displayName = NSString::stringWithString(displayName);
    folder->m_icons = NSMutableArray::arrayWithArray(icons);
    return folder;
}

SBFolderIcon *SBFolderIcon::create(SBFolder *folder)
{
    auto *icon = sim::create<SBFolderIcon>(class_());
    icon->m_folder = folder;
    return icon;
}

namespace sim {

void registerIconModelClasses()
{
    HostClass<SBIcon>("SBIcon", "NSObject")
        .method("displayName", imp::displayName)
        .method("isFolderIcon", imp::isFolderIcon)
        .method("getIconImage:", imp::getIconImage)
        .method("generateIconImage:", imp::generateIconImage)
        .method("badgeNumberOrString", imp::badgeNumberOrString)
        .method("setBadge:", imp::setBadge)
        .method("allowsUninstall", imp::allowsUninstall)
        .method("iconImageViewClassForLocation:", imp::iconImageViewClass)
        .registerClass();
    HostClass<SBApplicationIcon>("SBApplicationIcon", "SBIcon")
        .method("leafIdentifier", imp::leafIdentifier)
        .method("applicationBundleID", imp::leafIdentifier)
        .method("generateIconImage:", imp::generateApplicationIconImage)
        .method("application", imp::application)
        .registerClass();
    HostClass<SBApplicationIcon>("SBUserInstalledApplicationIcon", "SBApplicationIcon")
        .method("allowsUninstall", imp::userInstalledAllowsUninstall)
        .registerClass();
    HostClass<SBFolder>("SBFolder", "NSObject")
        .getter<&SBFolder::m_displayName>("displayName")
        .method("icons", imp::folderIcons)
        .method("canEditDisplayName", imp::canEditDisplayName)
        .registerClass();
    HostClass<SBFolderIcon>("SBFolderIcon", "SBIcon")
        .getter<&SBFolderIcon::m_folder>("folder")
        .method("displayName", imp::folderIconDisplayName)
        .method("isFolderIcon", imp::folderIconIsFolderIcon)
        .method("generateIconImage:", imp::generateFolderIconImage)
        .method("badgeNumberOrString", imp::folderBadgeNumberOrString)
        .registerClass();
}

} // namespace sim
