#pragma once
// Reading the values that getters answer. A row's value is whatever its target's getter
// gives: usually an NSNumber or an NSString, but nothing stops a getter from answering
// nil or another object, so cells read values through these and fall back on a default.

#include "foundation/NSNumber.h"
#include "foundation/NSString.h"

#include <optional>

namespace sim {

// An NSNumber's value, or a number read from the whole of an NSString; none otherwise.
std::optional<double> numberFromValue(id value);
// An NSString as it is, an NSNumber as text; nil otherwise.
NSString *textFromValue(id value);

} // namespace sim
