#include "BootOptions.h"

#include "settings-core/CVUsageReporter.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>

namespace sim {

namespace {

constexpr double kPadWidth = 768;
constexpr double kPadHeight = 1024;

// Applies one option's value to the options, or answers why the value is wrong.
using OptionSetter = std::function<std::optional<std::string>(BootOptions &, const std::string &)>;

std::optional<std::string> setGeneration(BootOptions &options, const std::string &value)
{
    static const std::map<std::string, double> kVersions = {
        {"7", DeviceProfile::kIOS7CoreFoundation},
        {"8", DeviceProfile::kIOS8CoreFoundation},
        {"9", DeviceProfile::kIOS9CoreFoundation},
    };
    auto found = kVersions.find(value);
    if (found == kVersions.end())
        return "--ios takes 7, 8 or 9, not \"" + value + "\"";
    options.profile.coreFoundationVersion = found->second;
    return std::nullopt;
}

std::optional<std::string> setCoreFoundation(BootOptions &options, const std::string &value)
{
    std::optional<double> number = parseNumber(value);
    if (!number || *number <= 0)
        return "--cf takes a positive number, not \"" + value + "\"";
    options.profile.coreFoundationVersion = *number;
    return std::nullopt;
}

std::optional<std::string> setIdiom(BootOptions &options, const std::string &value)
{
    if (value == "phone") {
        options.profile.idiom = DeviceProfile::Phone;
        return std::nullopt;
    }
    if (value == "pad") {
        options.profile.idiom = DeviceProfile::Pad;
        options.profile.screenWidth = kPadWidth;
        options.profile.screenHeight = kPadHeight;
        return std::nullopt;
    }
    return "--idiom takes phone or pad, not \"" + value + "\"";
}

std::optional<std::string> setOrientation(BootOptions &options, const std::string &value)
{
    std::optional<double> number = parseNumber(value);
    if (!number || *number != std::floor(*number) || *number < 1 || *number > 4)
        return "--orientation takes 1 to 4, not \"" + value + "\"";
    options.profile.orientation = static_cast<int>(*number);
    return std::nullopt;
}

// The phone's reports to the statistics server go to this URL instead.
std::optional<std::string> setStatsURL(BootOptions &options, const std::string &value)
{
    bool web = (value.starts_with("http://") && value.size() > 7) ||
               (value.starts_with("https://") && value.size() > 8);
    if (!web || value.find_first_of(" \t\r\n") != std::string::npos)
        return "--stats-url takes an http or https URL, not \"" + value + "\"";
    options.profile.urlRoutes[kCVUsageReportEndpoint] = value;
    return std::nullopt;
}

std::optional<std::string> setRoot(BootOptions &options, const std::string &value)
{
    if (value.empty())
        return "--root takes a directory";
    options.root = value;
    return std::nullopt;
}

const std::map<std::string, OptionSetter> &optionSetters()
{
    static const std::map<std::string, OptionSetter> kSetters = {
        {"--root", setRoot},   {"--ios", setGeneration},          {"--cf", setCoreFoundation},
        {"--idiom", setIdiom}, {"--orientation", setOrientation}, {"--stats-url", setStatsURL},
    };
    return kSetters;
}

} // namespace

std::optional<double> parseNumber(const std::string &text)
{
    if (text.empty() || std::isspace(static_cast<unsigned char>(text.front())))
        return std::nullopt;
    char *end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

ParsedBootOptions parseBootOptions(const std::vector<std::string> &words)
{
    BootOptions options;
    bool generationChosen = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string &word = words[i];
        if (!word.starts_with("--")) {
            options.operands.push_back(word);
            continue;
        }
        auto setter = optionSetters().find(word);
        if (setter == optionSetters().end())
            return {std::nullopt, "unknown option " + word};
        if (i + 1 >= words.size())
            return {std::nullopt, word + " needs a value"};
        if (word == "--ios" || word == "--cf") {
            if (generationChosen)
                return {std::nullopt, "--ios and --cf choose the same thing: give one"};
            generationChosen = true;
        }
        if (std::optional<std::string> error = setter->second(options, words[++i]))
            return {std::nullopt, *error};
    }
    return {std::move(options), {}};
}

} // namespace sim
