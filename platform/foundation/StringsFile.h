#pragma once
// Strings files: the tables of localised text that bundles carry ("Settings.strings").
// The format is the old-style property-list one, restricted to a flat table:
//
//     /* The title of the root page */
//     "TITLE" = "Corvane";
//     "QUOTE" = "She said \"hi\"\n";   // escapes as in C, and \U00e9 for UTF-16 units
//     DONE = Done;                     // bare words need no quotes
//     "SAME";                          // a key that is its own value
//
// The file is UTF-16 when it starts with a byte-order mark, UTF-8 otherwise (with or
// without a mark). A later entry with the same key replaces an earlier one.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace sim {

using StringsTable = std::unordered_map<std::string, std::string>;

// The entries of a strings file; nullopt when the bytes are not one (bad encoding,
// unterminated string or comment, a missing '=' or ';'): a table is read whole or not
// at all.
std::optional<StringsTable> parseStringsFile(std::string_view bytes);

} // namespace sim
