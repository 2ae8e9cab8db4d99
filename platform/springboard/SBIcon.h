#pragma once
// The icon model: what the home screen shows, apart from how it shows it. An application
// icon stands for one installed application; a folder icon stands for a folder, which
// holds application icons of its own. Icons draw their own image when asked
// (`getIconImage:`), once, and keep it.
//
// An icon may carry a badge (`badgeNumberOrString`, set with `setBadge:`; nil or empty for
// none); a folder icon's badge is the sum of its icons' numeric badges. Applications that
// come with the system (identifiers beginning "com.apple.") have SBApplicationIcon, which
// cannot be deleted (`allowsUninstall` NO); the others SBUserInstalledApplicationIcon,
// which can.

#include "foundation/NSArray.h"
#include "foundation/NSString.h"
#include "uikit/UIImage.h"

struct SBIcon : NSObject {
    StrongRef<NSString> m_displayName;
    StrongRef<UIImage> m_image; // drawn on first request
    StrongRef<NSString> m_badge;

    static Class class_();
};

struct SBApplicationIcon : SBIcon {
    StrongRef<NSString> m_bundleIdentifier;
    StrongRef<NSObject> m_application; // SBApplication

    static Class class_();
    // An icon of the class the application's origin gives it; the caller owns the answer.
    static SBApplicationIcon *create(const std::string &bundleIdentifier,
                                     const std::string &displayName);
};

struct SBFolder : NSObject {
    StrongRef<NSString> m_displayName;
    StrongRef<NSMutableArray> m_icons;

    static Class class_();
    // The caller owns the answer.
    static SBFolder *create(const std::string &displayName, NSArray *icons);
};

struct SBFolderIcon : SBIcon {
    StrongRef<SBFolder> m_folder;

    static Class class_();
    // The caller owns the answer.
    static SBFolderIcon *create(SBFolder *folder);
};

namespace sim {
// Registers the icon model classes of the running generation.
void registerIconModelClasses();
} // namespace sim
