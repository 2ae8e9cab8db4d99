// The home screen's device commands inside SpringBoard (HomeScreenCommands.cpp checked
// their arguments), and what the dump shows of it beyond the view tree.

#include "features/FeatureLists.h"

#include "springboard/SBIconController.h"
#include "springboard/SpringBoardHost.h"
#include "springboard/home-screen/HomeScreenHost.h"

#include <nlohmann/json.hpp>

namespace sim {

namespace {

using Arguments = std::vector<std::string>;

ControlReply edit(const Arguments &arguments)
{
    SpringBoardHost::setEditing(arguments[0] == "on");
    return commandDone();
}

ControlReply openFolder(const Arguments &arguments)
{
    int index = std::stoi(arguments[0]);
    if (!SpringBoardHost::openFolder(index))
        return commandFailed("the home screen has no folder " + std::to_string(index));
    return commandDone();
}

ControlReply closeFolder(const Arguments &)
{
    SpringBoardHost::closeFolder();
    return commandDone();
}

ControlReply replyFor(const std::string &failure)
{
    return failure.empty() ? commandDone() : commandFailed(failure);
}

ControlReply dragIcon(const Arguments &arguments)
{
    return replyFor(HomeScreenHost::dragIcon(arguments[0], arguments[1]));
}

ControlReply badge(const Arguments &arguments)
{
    return replyFor(
        HomeScreenHost::setBadge(arguments[0], arguments.size() > 1 ? arguments[1] : ""));
}

ControlReply pinchFolder(const Arguments &)
{
    return replyFor(HomeScreenHost::pinchOpenFolder());
}

// A blocked pull-down is what a finger would find: the pages do not move. Not a failure.
ControlReply spotlight(const Arguments &arguments)
{
    bool open = arguments[0] == "open";
    if (!HomeScreenHost::setSpotlightOpen(open) && open)
        return commandDone("the pages did not move: the pull-down Spotlight is disabled\n");
    return commandDone();
}

constexpr FeatureAction kActions[] = {
    {"edit", edit},
    {"open-folder", openFolder},
    {"close-folder", closeFolder},
    {"drag-icon", dragIcon},
    {"badge", badge},
    {"pinch", pinchFolder},
    {"spotlight", spotlight},
};

} // namespace

std::span<const FeatureAction> homeScreenActions()
{
    return kActions;
}

nlohmann::json homeScreenDump()
{
    auto *icons = msg<SBIconController *>(SBIconController::class_(), "sharedInstance"_sel);
    if (!icons)
        return nullptr;
    return {{"editing", icons->m_isEditing},
            {"folderOpen", bool(icons->m_openFolderController)},
            {"spotlight", HomeScreenHost::spotlightDump()}};
}

} // namespace sim
