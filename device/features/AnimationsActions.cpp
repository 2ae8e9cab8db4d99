// The animations inside SpringBoard (AnimationsCommands.cpp checked the arguments), and
// what the dump shows of them: the backlight, whether a lock animation runs, and what
// SpringBoard's animation settings answer now (an extension's replacements included).

#include "features/FeatureLists.h"

#include "foundation/Clock.h"
#include "foundation/NSLog.h"
#include "springboard/SpringBoardHost.h"
#include "springboard/backlight/Backlight.h"
#include "springboard/backlight/BacklightHost.h"

#include <nlohmann/json.hpp>

namespace sim {

namespace {

using Arguments = std::vector<std::string>;

// A timer of the main run loop in the common modes, so it fires inside a nested run too.
ControlReply screenshotAfter(const Arguments &arguments)
{
    double seconds = std::stod(arguments[0]);
    std::string path = arguments[1];
    RunLoop::main().addTimer(now() + seconds, 0, [path] {
        if (!SpringBoardHost::screenshot(path))
            NSLog("cvsim: cannot write the screenshot %s", path.c_str());
    });
    return commandDone();
}

constexpr FeatureAction kActions[] = {
    {"screenshot-after", screenshotAfter},
};

// The shared lock animator of the effects library, when it is loaded.
bool lockAnimationRuns()
{
    Class animator = objc_getClass("CVLockAnimator");
    return animator && msg<BOOL>(msg<id>(animator, "sharedInstance"_sel), "isAnimating"_sel);
}

} // namespace

std::span<const FeatureAction> animationsActions()
{
    return kActions;
}

nlohmann::json animationsDump()
{
    if (!SpringBoardHost::isRunning())
        return nullptr;
    id settings = animationFactorySettings();
    return {{"backlight",
             {{"factor", BacklightHost::factor()}, {"screenOn", BacklightHost::screenIsOn()}}},
            {"lockAnimationRunning", lockAnimationRuns()},
            {"settings",
             {{"slowAnimations", bool(msg<BOOL>(settings, "slowAnimations"_sel))},
              {"slowDownFactor", msg<CGFloat>(settings, "slowDownFactor"_sel)},
              {"backlightFadeDuration", backlightFadeDuration()}}}};
}

} // namespace sim
