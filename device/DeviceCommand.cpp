#include "DeviceCommand.h"

#include "BootOptions.h"

#include <cmath>
#include <functional>
#include <map>

namespace sim {

namespace {

using Arguments = std::vector<std::string>;
using Parser = std::function<ParsedCommand(const Arguments &)>;

ParsedCommand refuse(std::string error)
{
    return {std::nullopt, std::move(error)};
}

ParsedCommand accept(DeviceCommand command)
{
    return {std::move(command), {}};
}

// A command of that kind that takes no arguments.
Parser bare(DeviceCommand::Kind kind, const char *name)
{
    return [kind, name](const Arguments &arguments) {
        if (!arguments.empty())
            return refuse(std::string(name) + " takes no arguments");
        return accept({kind, {}, 0, false, nullptr});
    };
}

ParsedCommand parseDefaults(const Arguments &arguments)
{
    if (arguments.size() != 4 || arguments[0] != "write")
        return refuse("usage: defaults write SECTION KEY VALUE");
    return accept(
        {DeviceCommand::Kind::DefaultsWrite, {arguments[1], arguments[2], arguments[3]}, 0, false});
}

ParsedCommand parsePost(const Arguments &arguments)
{
    if (arguments.size() != 1 || arguments[0].empty())
        return refuse("usage: post NAME");
    return accept({DeviceCommand::Kind::Post, {arguments[0]}, 0, false});
}

ParsedCommand parseRotate(const Arguments &arguments)
{
    std::optional<double> orientation =
        arguments.size() == 1 ? parseNumber(arguments[0]) : std::nullopt;
    if (!orientation || *orientation != std::floor(*orientation) || *orientation < 1 ||
        *orientation > 4)
        return refuse("usage: rotate 1-4 (portrait, upside down, landscape right, left)");
    return accept({DeviceCommand::Kind::Rotate, {}, *orientation, false});
}

ParsedCommand parseWait(const Arguments &arguments)
{
    std::optional<double> seconds =
        arguments.size() == 1 ? parseNumber(arguments[0]) : std::nullopt;
    if (!seconds || *seconds < 0)
        return refuse("usage: wait SECONDS (a number, 0 or more)");
    return accept({DeviceCommand::Kind::Wait, {}, *seconds, false});
}

ParsedCommand parseSwipePages(const Arguments &arguments)
{
    bool hold = arguments.size() == 2 && arguments[1] == "--hold";
    std::optional<double> page =
        (arguments.size() == 1 || hold) ? parseNumber(arguments[0]) : std::nullopt;
    // Page positions left of the first page of icons (-1) are the pages before it: on iOS
    // 9 the Spotlight page.
    if (!page || *page < -1)
        return refuse("usage: swipe-pages PAGE [--hold] (PAGE a number, -1 or more)");
    return accept({DeviceCommand::Kind::SwipePages, {}, *page, hold});
}

ParsedCommand parseScreenshot(const Arguments &arguments)
{
    if (arguments.size() != 1 || arguments[0].size() <= 4 || !arguments[0].ends_with(".png"))
        return refuse("usage: screenshot PATH.png");
    return accept({DeviceCommand::Kind::Screenshot, {arguments[0]}, 0, false});
}

const std::map<std::string, Parser> &parsers()
{
    using Kind = DeviceCommand::Kind;
    static const std::map<std::string, Parser> kParsers = {
        {"defaults", parseDefaults},
        {"post", parsePost},
        {"press-home", bare(Kind::PressHome, "press-home")},
        {"lock", bare(Kind::Lock, "lock")},
        {"unlock", bare(Kind::Unlock, "unlock")},
        {"rotate", parseRotate},
        {"wait", parseWait},
        {"swipe-pages", parseSwipePages},
        {"dump", bare(Kind::Dump, "dump")},
        {"screenshot", parseScreenshot},
    };
    return kParsers;
}

ParsedCommand parseFeatureCommand(const FeatureCommand &feature, const Arguments &arguments)
{
    if (std::string error = feature.check(arguments); !error.empty())
        return refuse(std::move(error));
    return accept({DeviceCommand::Kind::Feature, arguments, 0, false, &feature});
}

} // namespace

std::string deviceCommandsUsage()
{
    std::string usage = "  defaults write SECTION KEY VALUE\n"
                        "  post NAME\n"
                        "  press-home | lock | unlock\n"
                        "  rotate 1-4\n"
                        "  wait SECONDS\n"
                        "  swipe-pages PAGE [--hold]\n"
                        "  dump\n"
                        "  screenshot PATH.png\n";
    for (const FeatureCommand &command : featureCommands())
        if (command.usage)
            usage += std::string("  ") + command.usage + "\n";
    return usage;
}

ParsedCommand parseDeviceCommand(const std::vector<std::string> &words)
{
    if (words.empty())
        return refuse("no command");
    Arguments arguments(words.begin() + 1, words.end());
    if (auto parser = parsers().find(words[0]); parser != parsers().end())
        return parser->second(arguments);
    if (const FeatureCommand *feature = findFeatureCommand(words[0]))
        return parseFeatureCommand(*feature, arguments);
    return refuse("unknown command \"" + words[0] + "\"");
}

} // namespace sim
