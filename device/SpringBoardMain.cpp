// springboard, the device's SpringBoard process (see SpringBoardProcess.h).

#include "SpringBoardModes.h"
#include "SpringBoardProcess.h"

#include "darwin/ReceiveRight.h"
#include "foundation/DeviceRoot.h"
#include "foundation/NSBundle.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace sim {

void endSpringBoardProcess(int status)
{
    std::fflush(nullptr);
    removePortSocketsOfThisProcess(); // _exit runs no exit handlers
    _exit(status);
}

} // namespace sim

int main(int argc, char **argv)
{
    const char *root = std::getenv(sim::kDeviceRootVariable);
    bool scripted = argc == 3 && std::strcmp(argv[1], sim::kScriptOption) == 0;
    if (!root || !*root || (argc != 1 && !scripted)) {
        std::fprintf(stderr,
                     "usage: springboard [%s FILE|-]\n"
                     "springboard is the device's SpringBoard: cvsim run and cvsim "
                     "script start it, on a device root given in %s\n",
                     sim::kScriptOption, sim::kDeviceRootVariable);
        return 2;
    }
    sim::setDeviceRoot(root);
    sim::setMainBundleIdentifier(sim::kSpringBoardBundleIdentifier);
    sim::LogCollector log;
    int status = scripted ? sim::runScriptedSpringBoard(argv[2], log) : sim::serveSpringBoard(log);
    sim::endSpringBoardProcess(status);
}
