#pragma once
// The device tool speaks JSON; the settings speak property lists. Dictionaries become
// objects (keys in sorted order, so output is stable), arrays arrays, booleans true and
// false, numbers numbers (integers stay integers), strings strings; data becomes a base64
// string and a date its seconds since 1970. Going back, JSON integers become integer
// numbers, reals double numbers, and null has no property-list form.

#include "foundation/CoreFoundation.h"

#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>

namespace sim {

nlohmann::json jsonFromPropertyList(id object);

// Autoreleased; nil for null or for a value nested inside null.
id propertyListFromJson(const nlohmann::json &value);

// A command-line value: JSON when it parses as JSON, else the word itself as a string.
nlohmann::json parseCommandLineValue(const std::string &text);

} // namespace sim
