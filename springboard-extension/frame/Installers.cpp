// The table of feature installers. A feature group joins the extension by putting its
// installer function in place of the nullptr beside its name.

#include "springboard-extension/frame/Installers.h"

#include "foundation/CoreFoundation.h"
#include "springboard-extension/animations/IconsAnimation.h"
#include "springboard-extension/animations/LockAnimation.h"
#include "springboard-extension/animations/SpringBoardAnimations.h"
#include "springboard-extension/home-screen/Dock.h"
#include "springboard-extension/home-screen/Folders.h"
#include "springboard-extension/home-screen/IconLists.h"
#include "springboard-extension/home-screen/Icons.h"
#include "springboard-extension/home-screen/Spotlight.h"
#include "springboard-extension/system-ui/AppSwitcher.h"
#include "springboard-extension/system-ui/ControlCenter.h"
#include "springboard-extension/system-ui/LockScreen.h"
#include "springboard-extension/system-ui/NotificationCenter.h"
#include "springboard-extension/system-ui/StatusBar.h"

namespace {

constexpr double kFirstIOS8Version = 1140.1;
constexpr double kFirstIOS9Version = 1240.1;

constexpr CVSystemGenerations kIOS7 = CVSystemGenerationIOS7;
constexpr CVSystemGenerations kIOS8 = CVSystemGenerationIOS8;
constexpr CVSystemGenerations kIOS9 = CVSystemGenerationIOS9;
constexpr CVSystemGenerations kAll = CVEverySystemGeneration;

CVInstaller g_installers[] = {
    {"StatusBarInit", kAll, StatusBarInit},
    {"IconsInit", kAll, IconsInit},
    {"IconListsInit", kAll, IconListsInit},
    {"DeckSwitcherInit", kIOS9, DeckSwitcherInit},
    {"SpotlightInit", kIOS9, SpotlightInit},
    {"AppSwitcherInit", kIOS8, AppSwitcherInit},
    {"AppSliderInit", kIOS7, AppSliderInit},
    {"FoldersInit", kAll, FoldersInit},
    {"LockScreenInit", kAll, LockScreenInit},
    {"ControlCenterInit", kAll, ControlCenterInit},
    {"DockInit", kAll, DockInit},
    {"LockAnimationInit", kAll, LockAnimationInit},
    {"IconsAnimationInit", kAll, IconsAnimationInit},
    {"SpringBoardAnimationsInit", kAll, SpringBoardAnimationsInit},
    {"NotificationCenterInit", kAll, NotificationCenterInit},
};

} // namespace

CVSystemGeneration CVSystemGenerationForVersion(double coreFoundationVersion)
{
    if (coreFoundationVersion < kFirstIOS8Version)
        return CVSystemGenerationIOS7;
    if (coreFoundationVersion < kFirstIOS9Version)
        return CVSystemGenerationIOS8;
    return CVSystemGenerationIOS9;
}

CVSystemGeneration CVRunningSystemGeneration()
{
    return CVSystemGenerationForVersion(kCFCoreFoundationVersionNumber);
}

std::span<CVInstaller> CVFeatureInstallers()
{
    return g_installers;
}

std::vector<const CVInstaller *> CVInstallersForGeneration(CVSystemGeneration generation)
{
    std::vector<const CVInstaller *> installers;
    for (const CVInstaller &installer : g_installers)
        if (installer.generations & generation)
            installers.push_back(&installer);
    return installers;
}

void CVRunInstallers(CVSystemGeneration generation)
{
    for (const CVInstaller *installer : CVInstallersForGeneration(generation))
        if (installer->install)
            installer->install();
}
