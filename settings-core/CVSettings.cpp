// The generic operations of every entity, the shared instances and the tables that lead
// from a section name or identifier to its instance.

#include "settings-core/CVKeyTable.h"
#include "settings-core/CVSectionTable.h"

#include <array>

void CVSettingsEntity::setDefaults()
{
    CVDefaultsVisitor defaults;
    visitKeys(defaults);
}

void CVSettingsEntity::load(CFDictionaryRef dictionary)
{
    CVLoadVisitor loader(dictionary);
    visitKeys(loader);
}

id CVSettingsEntity::getValue(CFStringRef key)
{
    CVValueVisitor value(key);
    visitKeys(value);
    return value.result();
}

CFDictionaryRef CVSettingsEntity::getDictionary()
{
    CVDictionaryVisitor dictionary;
    visitKeys(dictionary);
    return dictionary.result();
}

// Constant-initialised: every field zero (the master switch off) until CVLoadSettings.
constinit CVGlobal gCVGlobal;
constinit CVStatusBar gCVStatusBar;
constinit CVIcons gCVIcons;
constinit CVDock gCVDock;
constinit CVAppSlider gCVAppSlider;
constinit CVFolders gCVFolders;
constinit CVLockScreen gCVLockScreen;
constinit CVControlCenter gCVControlCenter;
constinit CVAnimations gCVAnimations;
constinit CVNotificationCenter gCVNotificationCenter;

namespace {

// The order in which the applier compares the file's top-level keys.
constexpr std::array kNamedSections{
    CVNamedSection{"CVGlobal", &gCVGlobal, true},
    CVNamedSection{"CVAppSlider", &gCVAppSlider, true},
    CVNamedSection{"CVFolders", &gCVFolders, true},
    CVNamedSection{"CVIcons", &gCVIcons, true},
    CVNamedSection{"CVDock", &gCVDock, true},
    CVNamedSection{"CVStatusBar", &gCVStatusBar, true},
    CVNamedSection{"CVLockScreen", &gCVLockScreen, true},
    CVNamedSection{"CVControlCenter", &gCVControlCenter, true},
    CVNamedSection{"CVAnimations", &gCVAnimations, true},
    CVNamedSection{"CVNotificationCenter", &gCVNotificationCenter, true},
    // The animation options under their earlier section name.
    CVNamedSection{"CVUSettings", &gCVAnimations, false},
};

// Indexed by CVSectionID.
constexpr std::array kLiveSections{
    CVLiveSection{&gCVStatusBar, &gCVStatusBar.changeCallback},
    CVLiveSection{&gCVIcons, &gCVIcons.changeCallback},
    CVLiveSection{&gCVDock, &gCVDock.changeCallback},
    CVLiveSection{&gCVAppSlider, &gCVAppSlider.changeCallback},
    CVLiveSection{&gCVFolders, &gCVFolders.changeCallback},
    CVLiveSection{&gCVLockScreen, &gCVLockScreen.changeCallback},
    CVLiveSection{&gCVControlCenter, &gCVControlCenter.changeCallback},
    CVLiveSection{&gCVAnimations, &gCVAnimations.changeCallback},
    CVLiveSection{&gCVNotificationCenter, &gCVNotificationCenter.changeCallback},
};

} // namespace

std::span<const CVNamedSection> CVNamedSections()
{
    return kNamedSections;
}

CVSettingsEntity *CVSectionNamed(CFStringRef name)
{
    for (const CVNamedSection &entry : kNamedSections)
        if (name && name->str() == entry.name)
            return entry.section;
    return nullptr;
}

CVLiveSection CVLiveSectionForID(std::uint32_t sectionID)
{
    return sectionID < kLiveSections.size() ? kLiveSections[sectionID] : CVLiveSection{};
}
