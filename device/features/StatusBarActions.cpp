// The status bar's device commands inside SpringBoard (StatusBarCommands.cpp checked their
// arguments), and what the dump shows of the bar: its carrier and time texts and each
// item, on or off, as the aggregator's data has it.

#include "features/FeatureLists.h"

#include "foundation/DeviceProfile.h"
#include "springboard/status-bar/SBStatusBarStateAggregator.h"
#include "springboard/status-bar/StatusBarHost.h"

#include <nlohmann/json.hpp>

namespace sim {

namespace {

using Arguments = std::vector<std::string>;

ControlReply network(const Arguments &arguments)
{
    if (arguments[1] == "none")
        StatusBarHost::setWiFi(std::nullopt, std::nullopt);
    else
        StatusBarHost::setWiFi(arguments[1], arguments[2]);
    return commandDone();
}

ControlReply carrier(const Arguments &arguments)
{
    std::string name = arguments[0];
    for (std::size_t word = 1; word < arguments.size(); ++word)
        name += " " + arguments[word];
    StatusBarHost::setCarrier(name);
    return commandDone();
}

constexpr FeatureAction kActions[] = {
    {"network", network},
    {"carrier", carrier},
};

nlohmann::json optionalText(const std::optional<std::string> &text)
{
    return text ? nlohmann::json(*text) : nlohmann::json(nullptr);
}

} // namespace

std::span<const FeatureAction> statusBarActions()
{
    return kActions;
}

nlohmann::json statusBarDump()
{
    auto *aggregator = msg<SBStatusBarStateAggregator *>(SBStatusBarStateAggregator::class_(),
                                                         "sharedInstance"_sel);
    if (!aggregator)
        return nullptr;
    const SBStatusBarRawData &data = aggregator->m_data;
    nlohmann::json items = nlohmann::json::object();
    for (int item = 0; item < kSBStatusBarItemCount; ++item)
        items[statusBarItemName(item)] = data.itemIsEnabled[item];
    auto profile = DeviceProfile::current();
    return {{"carrier", data.serviceString},
            {"time", data.timeString},
            {"items", items},
            {"wifi",
             {{"address", optionalText(profile->wifiAddress)},
              {"network", optionalText(profile->ssid)}}}};
}

} // namespace sim
