// The lock screen's device commands.
//
//     music play [TITLE] | stop   the music player plays TITLE ("Song" when none is given)
//                                 or stops; while the device is locked the lock screen
//                                 shows the song's artwork

#include "features/FeatureLists.h"

namespace sim {

namespace {

using Arguments = std::vector<std::string>;

std::string checkMusic(const Arguments &arguments)
{
    bool play = !arguments.empty() && arguments[0] == "play" && arguments.size() <= 2;
    bool stop = arguments.size() == 1 && arguments[0] == "stop";
    if (!play && !stop)
        return "usage: music play [TITLE] | music stop";
    return {};
}

constexpr FeatureCommand kCommands[] = {
    {"music", "music play [TITLE] | stop", checkMusic},
};

} // namespace

std::span<const FeatureCommand> lockScreenCommands()
{
    return kCommands;
}

} // namespace sim
