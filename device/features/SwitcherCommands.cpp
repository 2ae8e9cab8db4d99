// The app switcher's device command.
//
//     switcher open|close                opens it (a double press of the home button) or
//                                        closes it
//     switcher tap|swipe-up|scroll INDEX a gesture on the INDEX-th page or card, 0 the
//                                        home screen's

#include "BootOptions.h"
#include "features/FeatureLists.h"

#include <cmath>

namespace sim {

namespace {

using Arguments = std::vector<std::string>;

constexpr const char *kUsage = "usage: switcher open|close | switcher tap|swipe-up|scroll INDEX "
                               "(0 the home screen's page)";

bool isIndex(const std::string &text)
{
    std::optional<double> index = parseNumber(text);
    return index && *index == std::floor(*index) && *index >= 0;
}

std::string checkSwitcher(const Arguments &arguments)
{
    if (arguments.size() == 1 && (arguments[0] == "open" || arguments[0] == "close"))
        return {};
    bool gesture = !arguments.empty() && (arguments[0] == "tap" || arguments[0] == "swipe-up" ||
                                          arguments[0] == "scroll");
    if (gesture && arguments.size() == 2 && isIndex(arguments[1]))
        return {};
    return kUsage;
}

constexpr FeatureCommand kCommands[] = {
    {"switcher", "switcher open|close | switcher tap|swipe-up|scroll INDEX", checkSwitcher},
};

} // namespace

std::span<const FeatureCommand> switcherCommands()
{
    return kCommands;
}

} // namespace sim
