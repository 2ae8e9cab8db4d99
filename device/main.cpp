// cvsim, the simulated device: `cvsim [--root DIR] COMMAND ARGUMENTS…`.

#include "Commands.h"
#include "DeviceRootSetup.h"

#include "settings-core/CVSettings.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int usage()
{
    std::fprintf(
        stderr,
        "usage: cvsim [--root DIR] COMMAND …\n"
        "commands:\n"
        "  defaults read [SECTION [KEY]]     print the settings as JSON\n"
        "  defaults write SECTION KEY VALUE  change one setting, as the panel does\n"
        "  defaults reset SECTION            put a section back to its defaults\n"
        "  listen                            print every live update the reload service applies\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    std::string root = sim::defaultDeviceRoot();
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
    if (!sim::prepareDeviceRoot(root))
        return 1;
    AutoreleasePool pool;
    if (command == "defaults") {
        CVLoadSettings();
        return sim::defaultsCommand(commandArgc, commandArgv);
    }
    if (command == "listen")
        return sim::listenCommand(commandArgc, commandArgv);
    return usage();
}
