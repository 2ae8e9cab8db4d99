// Every feature's actions and dump sections inside SpringBoard. A feature adds its list of
// actions and its section here, from a file of its own in this folder.

#include "FeatureActions.h"
#include "features/FeatureLists.h"

#include <nlohmann/json.hpp>

namespace sim {

namespace {

using ActionList = std::span<const FeatureAction> (*)();

constexpr ActionList kFeatures[] = {
    homeScreenActions, appsActions,       switcherActions, centersActions, statusBarActions,
    lockScreenActions, animationsActions, fingerActions,   recordActions,
};

constexpr FeatureDumpSection kDumpSections[] = {
    {"homeScreen", homeScreenDump},
    {"applications", appsDump},
    {"switcher", switcherDump},
    {"controlCenter", controlCenterDump},
    {"notificationCenter", notificationCenterDump},
    {"statusBar", statusBarDump},
    {"lockScreen", lockScreenDump},
    {"animations", animationsDump},
    {"recording", recordingDump},
};

std::vector<FeatureAction> allActions()
{
    std::vector<FeatureAction> actions;
    for (ActionList list : kFeatures)
        for (const FeatureAction &action : list())
            actions.push_back(action);
    return actions;
}

} // namespace

std::span<const FeatureAction> featureActions()
{
    static const std::vector<FeatureAction> kActions = allActions();
    return kActions;
}

std::span<const FeatureDumpSection> featureDumpSections()
{
    return kDumpSections;
}

ControlReply commandDone(std::string output)
{
    return {0, std::move(output), {}};
}

ControlReply commandFailed(std::string error)
{
    return {1, {}, std::move(error)};
}

} // namespace sim
