#pragma once
// Limits checked before libplist sees a property list. libplist's parsers recurse once per
// level of nesting and copy a binary object each time it is referenced, so deeply nested
// input would overflow the stack and a binary file whose containers share children (each
// level referring twice to the next) would expand exponentially. Both checks answer false
// for input beyond sim::kPropertyListMaxDepth or sim::kPropertyListMaxObjects, and for
// input whose structure they cannot follow.

#include <cstddef>
#include <cstdint>

namespace sim {

// A big-endian unsigned integer of `size` bytes, as the binary format stores them.
std::uint64_t readBigEndian(const std::uint8_t *bytes, unsigned size);

bool xmlPropertyListWithinLimits(const char *text, std::size_t length);
bool binaryPropertyListWithinLimits(const std::uint8_t *bytes, std::size_t length);

} // namespace sim
