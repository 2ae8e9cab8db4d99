// The animations' device command: a screenshot taken later on the device clock, so that
// what plays while another command runs (a lock animation, played inside `lock` before the
// screen goes dark) can be seen.
//
//     screenshot-after SECONDS PATH.png   a screenshot SECONDS from now, whatever runs then

#include "BootOptions.h"
#include "features/FeatureLists.h"

#include <cmath>

namespace sim {

namespace {

using Arguments = std::vector<std::string>;

std::string checkScreenshotAfter(const Arguments &arguments)
{
    std::optional<double> seconds =
        arguments.size() == 2 ? parseNumber(arguments[0]) : std::nullopt;
    bool png = arguments.size() == 2 && arguments[1].size() > 4 && arguments[1].ends_with(".png");
    if (!seconds || !std::isfinite(*seconds) || *seconds < 0 || !png)
        return "usage: screenshot-after SECONDS PATH.png (SECONDS from 0)";
    return {};
}

constexpr FeatureCommand kCommands[] = {
    {"screenshot-after", "screenshot-after SECONDS PATH.png", checkScreenshotAfter, 1},
};

} // namespace

std::span<const FeatureCommand> animationsCommands()
{
    return kCommands;
}

} // namespace sim
