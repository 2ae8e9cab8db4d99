#pragma once
// The commands that drive a device, in one language for `cvsim ctl` (one command per
// invocation, sent to the running SpringBoard) and `cvsim script` (one command per line,
// run on the virtual clock):
//
//     defaults write SECTION KEY VALUE   the settings panel's edit cycle (Defaults.h)
//     post NAME                          a Darwin notification
//     press-home | lock | unlock         the hardware buttons
//     rotate 1-4                         the interface orientation
//     wait SECONDS                       time passes
//     swipe-pages PAGE [--hold]          scroll the home screen to a page (fractions are
//                                        between pages); --hold keeps the finger down
//     dump                               the windows, alerts, log and launch count (JSON)
//     screenshot PATH.png                what is on screen, as a PNG file
//
// and the commands of each feature (FeatureCommands.h: editing, folders, …).
//
// Parsing checks everything that can be checked without a device, so that a mistake is
// refused before anything runs: by ctl before it connects, by a script before SpringBoard
// launches.

#include "FeatureCommands.h"

#include <optional>
#include <string>
#include <vector>

namespace sim {

struct DeviceCommand {
    enum class Kind {
        DefaultsWrite,
        Post,
        PressHome,
        Lock,
        Unlock,
        Rotate,
        Wait,
        SwipePages,
        Dump,
        Screenshot,
        Feature,
    };

    Kind kind;
    // defaults write: section, key, value; post: the name; screenshot: the path; a
    // feature's command: its arguments.
    std::vector<std::string> text;
    // rotate: the orientation; wait: seconds; swipe-pages: the page.
    double number = 0;
    // swipe-pages: --hold.
    bool flag = false;
    // The feature command, for Kind::Feature.
    const FeatureCommand *feature = nullptr;
};

struct ParsedCommand {
    std::optional<DeviceCommand> command;
    std::string error; // when command is empty
};

ParsedCommand parseDeviceCommand(const std::vector<std::string> &words);

// The commands and their arguments, one per line, for usage messages.
std::string deviceCommandsUsage();

} // namespace sim
