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
//     edit on|off                        the icons' editing mode
//     open-folder INDEX | close-folder   the INDEX-th folder of the home screen (from 0)
//     dump                               the windows, alerts, log and launch count (JSON)
//     screenshot PATH.png                what is on screen, as a PNG file
//
// Parsing checks everything that can be checked without a device, so that a mistake is
// refused before anything runs: by ctl before it connects, by a script before SpringBoard
// launches.

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
        Edit,
        OpenFolder,
        CloseFolder,
        Dump,
        Screenshot,
    };

    Kind kind;
    // defaults write: section, key, value; post: the name; screenshot: the path.
    std::vector<std::string> text;
    // rotate: the orientation; wait: seconds; swipe-pages: the page; open-folder: the
    // folder's index.
    double number = 0;
    // swipe-pages: --hold; edit: on.
    bool flag = false;
};

struct ParsedCommand {
    std::optional<DeviceCommand> command;
    std::string error; // when command is empty
};

ParsedCommand parseDeviceCommand(const std::vector<std::string> &words);

// The commands and their arguments, one per line, for usage messages.
extern const char *const kDeviceCommandsUsage;

} // namespace sim
