#include "DeviceCommand.h"

#include "BootOptions.h"

#include <cmath>
#include <functional>
#include <map>

namespace sim {

const char *const kDeviceCommandsUsage = "  defaults write SECTION KEY VALUE\n"
                                         "  post NAME\n"
                                         "  press-home | lock | unlock\n"
                                         "  rotate 1-4\n"
                                         "  wait SECONDS\n"
                                         "  swipe-pages PAGE [--hold]\n"
                                         "  edit on|off\n"
                                         "  open-folder INDEX | close-folder\n"
                                         "  dump\n"
                                         "  screenshot PATH.png\n";

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
        return accept({kind, {}, 0, false});
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
    if (!page || *page < 0)
        return refuse("usage: swipe-pages PAGE [--hold] (PAGE a number, 0 or more)");
    return accept({DeviceCommand::Kind::SwipePages, {}, *page, hold});
}

ParsedCommand parseEdit(const Arguments &arguments)
{
    if (arguments.size() != 1 || (arguments[0] != "on" && arguments[0] != "off"))
        return refuse("usage: edit on|off");
    return accept({DeviceCommand::Kind::Edit, {}, 0, arguments[0] == "on"});
}

ParsedCommand parseOpenFolder(const Arguments &arguments)
{
    std::optional<double> index = arguments.size() == 1 ? parseNumber(arguments[0]) : std::nullopt;
    if (!index || *index != std::floor(*index) || *index < 0)
        return refuse("usage: open-folder INDEX (0 the first folder of the home screen)");
    return accept({DeviceCommand::Kind::OpenFolder, {}, *index, false});
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
        {"edit", parseEdit},
        {"open-folder", parseOpenFolder},
        {"close-folder", bare(Kind::CloseFolder, "close-folder")},
        {"dump", bare(Kind::Dump, "dump")},
        {"screenshot", parseScreenshot},
    };
    return kParsers;
}

} // namespace

ParsedCommand parseDeviceCommand(const std::vector<std::string> &words)
{
    if (words.empty())
        return refuse("no command");
    auto parser = parsers().find(words[0]);
    if (parser == parsers().end())
        return refuse("unknown command \"" + words[0] + "\"");
    return parser->second(Arguments(words.begin() + 1, words.end()));
}

} // namespace sim
