#pragma once
// The icon model: what the home screen shows, apart from how it shows it. An application
// icon stands for one installed application; a folder icon stands for a folder, which
// holds application icons of its own. Icons draw their own image when asked
// (`getIconImage:`), once, and keep it.

#include "foundation/NSArray.h"
#include "foundation/NSString.h"
#include "uikit/UIImage.h"

struct SBIcon : NSObject {
    StrongRef<NSString> m_displayName;
    StrongRef<UIImage> m_image; // drawn on first request

    static Class class_();
};

struct SBApplicationIcon : SBIcon {
    StrongRef<NSString> m_bundleIdentifier;

    static Class class_();
    // The caller owns the answer.
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
