#pragma once
// The options that choose the phone a device boots as, shared by `cvsim run` and
// `cvsim script`:
//
//     [--root DIR] [--ios 7|8|9 | --cf NUMBER] [--idiom phone|pad] [--orientation 1-4]
//     [--stats-url URL]
//
// They apply over the default profile, not over the profile a root kept from an earlier
// boot, so the same command line always boots the same phone. A pad gets a pad's screen.
// --stats-url names where the usage report's statistics server is; without it the phone
// reaches none.

#include "foundation/DeviceProfile.h"

#include <optional>
#include <string>
#include <vector>

namespace sim {

struct BootOptions {
    std::optional<std::string> root;
    DeviceProfile profile;
    // Words that are not boot options, in their order (a script's file name).
    std::vector<std::string> operands;
};

struct ParsedBootOptions {
    std::optional<BootOptions> options;
    std::string error; // when options is empty
};

ParsedBootOptions parseBootOptions(const std::vector<std::string> &words);

// The usage line of the options, for the commands' own usage messages.
inline constexpr const char *kBootOptionsUsage =
    "[--root DIR] [--ios 7|8|9 | --cf NUMBER] [--idiom phone|pad] [--orientation 1-4] "
    "[--stats-url URL]";

// A whole decimal number ("847.19", "2"), nothing before or after it.
std::optional<double> parseNumber(const std::string &text);

} // namespace sim
