// The table of feature installers. A feature group joins the extension by putting its
// installer function in place of the nullptr beside its name.

#include "springboard-extension/frame/Installers.h"

#include "foundation/CoreFoundation.h"
#include "springboard-extension/animations/IconsAnimation.h"
#include "springboard-extension/home-screen/IconLists.h"
#include "springboard-extension/system-ui/LockScreen.h"
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
    {"IconsInit", kAll, nullptr},
    {"IconListsInit", kAll, IconListsInit},
    {"DeckSwitcherInit", kIOS9, nullptr},
    {"SpotlightInit", kIOS9, nullptr},
    {"AppSwitcherInit", kIOS8, nullptr},
    {"AppSliderInit", kIOS7, nullptr},
    {"FoldersInit", kAll, nullptr},
    {"LockScreenInit", kAll, LockScreenInit},
    {"ControlCenterInit", kAll, nullptr},
    {"DockInit", kAll, nullptr},
    {"LockAnimationInit", kAll, nullptr},
    {"IconsAnimationInit", kAll, IconsAnimationInit},
    {"SpringBoardAnimationsInit", kAll, nullptr},
    {"NotificationCenterInit", kAll, nullptr},
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
