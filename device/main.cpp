// cvsim, the simulated device: `cvsim [--root DIR] COMMAND ARGUMENTS…`.

#include "BootOptions.h"
#include "Commands.h"
#include "DeviceCommand.h"
#include "DeviceRootSetup.h"

#include "settings-core/CVSettings.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

namespace {

int usage()
{
    std::fprintf(
        stderr,
        "usage: cvsim [--root DIR] COMMAND …\n"
        "commands:\n"
        "  run [BOOT OPTIONS]                boot the device and keep it running\n"
        "  ctl COMMAND …                     drive the running device (commands below)\n"
        "  script [FILE|-] [BOOT OPTIONS]    run a script of commands on a fresh device\n"
        "  gallery DIR [BOOT OPTIONS]        every page-scroll effect mid-swipe, as PNGs and a "
        "contact sheet\n"
        "  defaults read [SECTION [KEY]]     print the settings as JSON\n"
        "  defaults write SECTION KEY VALUE  change one setting, as the panel does\n"
        "  defaults reset SECTION            put a section back to its defaults\n"
        "  listen                            print every live update the reload service applies\n"
        "  effect EFFECT IN.png OUT.png      apply an icon image effect (--list shows them)\n"
        "boot options: %s\n"
        "device commands (ctl, script):\n%s",
        sim::kBootOptionsUsage, sim::deviceCommandsUsage().c_str());
    return 2;
}

// The words after the command, with the root chosen before the command in front, for the
// commands that prepare their own root.
std::vector<std::string> bootWords(const std::optional<std::string> &root, int argc, char **argv)
{
    std::vector<std::string> words;
    if (root)
        words = {"--root", *root};
    words.insert(words.end(), argv, argv + argc);
    return words;
}

} // namespace

int main(int argc, char **argv)
{
    std::optional<std::string> root;
    int next = 1;
    while (next < argc && std::strncmp(argv[next], "--", 2) == 0) {
        if (std::strcmp(argv[next], "--root") == 0 && next + 1 < argc) {
            root = argv[next + 1];
            next += 2;
        } else {
            return usage();
        }
    }
    if (next >= argc)
        return usage();
    std::string command = argv[next];
    int commandArgc = argc - next - 1;
    char **commandArgv = argv + next + 1;
    if (command == "run")
        return sim::runCommand(bootWords(root, commandArgc, commandArgv));
    if (command == "script")
        return sim::scriptCommand(bootWords(root, commandArgc, commandArgv));
    if (command == "gallery")
        return sim::galleryCommand(bootWords(root, commandArgc, commandArgv));
    if (command == "effect")
        return sim::effectCommand(commandArgc, commandArgv);
    if (!sim::prepareDeviceRoot(root.value_or(sim::defaultDeviceRoot())))
        return 1;
    AutoreleasePool pool;
    if (command == "defaults") {
        CVLoadSettings();
        return sim::defaultsCommand(commandArgc, commandArgv);
    }
    if (command == "listen")
        return sim::listenCommand(commandArgc, commandArgv);
    if (command == "ctl")
        return sim::ctlCommand(std::vector<std::string>(commandArgv, commandArgv + commandArgc));
    return usage();
}
