// A finger anywhere on the screen, as the device page's pointer moves it: the gestures
// that the named commands (swipe-pages, open-folder, launch…) do not reach by a point.
//
//     finger down|move|up X Y    one finger at a point of the screen, in points; on the
//                                home screen's pages it drags them, elsewhere it touches
//                                the view under it
//     tap X Y                    a tap at a point: an icon opens its application or
//                                folder, anything else hears a tap

#include "BootOptions.h"
#include "features/FeatureLists.h"

#include <cmath>

namespace sim {

namespace {

using Arguments = std::vector<std::string>;

// The screen is at most 16384 pixels a side; a point beyond any screen is a mistake.
constexpr double kLargestCoordinate = 16384;

bool isCoordinate(const std::string &word)
{
    std::optional<double> value = parseNumber(word);
    return value && std::isfinite(*value) && std::abs(*value) <= kLargestCoordinate;
}

std::string checkFinger(const Arguments &arguments)
{
    if (arguments.size() != 3 ||
        (arguments[0] != "down" && arguments[0] != "move" && arguments[0] != "up") ||
        !isCoordinate(arguments[1]) || !isCoordinate(arguments[2]))
        return "usage: finger down|move|up X Y (a point of the screen, in points)";
    return {};
}

std::string checkTap(const Arguments &arguments)
{
    if (arguments.size() != 2 || !isCoordinate(arguments[0]) || !isCoordinate(arguments[1]))
        return "usage: tap X Y (a point of the screen, in points)";
    return {};
}

constexpr FeatureCommand kCommands[] = {
    {"finger", "finger down|move|up X Y", checkFinger},
    {"tap", "tap X Y", checkTap},
};

} // namespace

std::span<const FeatureCommand> fingerCommands()
{
    return kCommands;
}

} // namespace sim
