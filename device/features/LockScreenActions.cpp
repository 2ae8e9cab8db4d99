// The lock screen's device commands inside SpringBoard (LockScreenCommands.cpp checked
// their arguments), and what the dump shows of the lock screen beyond its views: whether
// it shows, the song that plays, and the slider, time and date texts with the parts shown.

#include "features/FeatureLists.h"

#include "foundation/DeviceProfile.h"
#include "springboard/SpringBoardState.h"
#include "springboard/lock-screen/LockScreen.h"
#include "springboard/lock-screen/LockScreenServices.h"

#include <nlohmann/json.hpp>

namespace sim {

namespace {

using Arguments = std::vector<std::string>;

ControlReply music(const Arguments &arguments)
{
    if (arguments[0] == "stop") {
        LockScreenHost::setMusicPlaying(nullptr);
        return commandDone();
    }
    std::string title = arguments.size() == 2 ? arguments[1] : "Song";
    LockScreenHost::setMusicPlaying(&title);
    return commandDone();
}

constexpr FeatureAction kActions[] = {
    {"music", music},
};

nlohmann::json textOf(UILabel *label)
{
    return label && label->m_text ? nlohmann::json(label->m_text->str()) : nlohmann::json(nullptr);
}

bool shows(UIView *view)
{
    return view && view->superview() && !view->isHidden();
}

} // namespace

std::span<const FeatureAction> lockScreenActions()
{
    return kActions;
}

nlohmann::json lockScreenDump()
{
    SpringBoardState &state = springBoardState();
    if (!state.lockScreenViewController)
        return nullptr;
    auto *view = msg<SBLockScreenView *>(state.lockScreenViewController, "lockScreenView"_sel);
    auto profile = DeviceProfile::current();
    return {{"showing", state.locked},
            {"nowPlaying", profile->nowPlaying ? nlohmann::json(*profile->nowPlaying) : nullptr},
            {"slider",
             {{"text", textOf(view->m_slideToUnlockView)},
              {"shown", shows(view->m_slideToUnlockView)}}},
            {"time", textOf(view->m_dateView->m_timeLabel)},
            {"date", textOf(view->m_dateView->m_dateLabel)},
            {"grabbers",
             {{"top", shows(view->m_topGrabberView)},
              {"bottom", shows(view->m_bottomGrabberView)},
              {"camera", shows(view->m_cameraGrabberView)}}},
            {"artwork", shows(view->m_pluginView)}};
}

} // namespace sim
