// Recording what moves on the screen (Recording.h):
//
//     record start DIR [--fps N]   every frame from now on, as DIR/frame-NNNN.png and the
//                                  animated DIR/recording.webp (N frames a second, 1 to
//                                  60; 30 by default)
//     record stop                  ends it and finishes the files

#include "BootOptions.h"
#include "Recording.h"
#include "features/FeatureLists.h"

namespace sim {

namespace {

using Arguments = std::vector<std::string>;

std::string checkRecord(const Arguments &arguments)
{
    const std::string usage = "usage: record start DIR [--fps N] (N from 1 to 60) | record stop";
    if (arguments.size() == 1 && arguments[0] == "stop")
        return {};
    if (arguments.size() != 2 && arguments.size() != 4)
        return usage;
    if (arguments[0] != "start" || arguments[1].empty())
        return usage;
    if (arguments.size() == 4) {
        std::optional<double> rate = parseNumber(arguments[3]);
        if (arguments[2] != "--fps" || !rate || *rate < 1 || *rate > Recording::kMaxFramesPerSecond)
            return usage;
    }
    return {};
}

constexpr FeatureCommand kCommands[] = {
    // The directory is the caller's: ctl makes it absolute.
    {"record", "record start DIR [--fps N] | record stop", checkRecord, 1},
};

} // namespace

std::span<const FeatureCommand> recordCommands()
{
    return kCommands;
}

} // namespace sim
