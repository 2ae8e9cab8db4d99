#pragma once
// What the feature commands of FeatureCommands.h do inside the SpringBoard process, on
// its main thread, and what each feature adds to `dump`. A feature's actions and its dump
// section live in its own file under device/features/, listed in FeatureActionTable.cpp.

#include "ControlChannel.h"

#include <nlohmann/json_fwd.hpp>

#include <span>
#include <string>
#include <vector>

namespace sim {

struct FeatureAction {
    // The command it runs (a FeatureCommand of the same name checked its arguments).
    const char *name;
    ControlReply (*run)(const std::vector<std::string> &arguments);
};

// A key of the dump's top-level object and the feature state it shows there.
struct FeatureDumpSection {
    const char *key;
    nlohmann::json (*dump)();
};

std::span<const FeatureAction> featureActions();
std::span<const FeatureDumpSection> featureDumpSections();

// Replies for actions: done (status 0, with what it prints) and failed (status 1, why).
ControlReply commandDone(std::string output = {});
ControlReply commandFailed(std::string error);

} // namespace sim
