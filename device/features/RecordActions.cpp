// Recording inside SpringBoard (RecordCommands.cpp checked the arguments), and the dump's
// `recording` section.

#include "BootOptions.h"
#include "Recording.h"
#include "features/FeatureLists.h"

#include <nlohmann/json.hpp>

namespace sim {

namespace {

using Arguments = std::vector<std::string>;

ControlReply record(const Arguments &arguments)
{
    if (arguments[0] == "stop") {
        bool failed = false;
        std::string outcome = Recording::stop(failed);
        return failed ? commandFailed(outcome) : commandDone(outcome + "\n");
    }
    double rate =
        arguments.size() == 4 ? *parseNumber(arguments[3]) : Recording::kDefaultFramesPerSecond;
    std::string refusal = Recording::start(arguments[1], rate);
    return refusal.empty() ? commandDone() : commandFailed(refusal);
}

constexpr FeatureAction kActions[] = {
    {"record", record},
};

} // namespace

std::span<const FeatureAction> recordActions()
{
    return kActions;
}

nlohmann::json recordingDump()
{
    return Recording::dump();
}

} // namespace sim
