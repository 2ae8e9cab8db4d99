// `cvsim listen`: the reload service as SpringBoard runs it, printing every update it
// applies as one JSON line, until SIGINT or SIGTERM.

#include "Commands.h"
#include "Processes.h"
#include "PropertyListJson.h"

#include "darwin/DeviceServices.h"
#include "foundation/CFRunLoop.h"
#include "foundation/NSBundle.h"
#include "settings-core/CVReloadService.h"
#include "settings-core/CVSectionTable.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <unistd.h>

namespace sim {

namespace {

const char *sectionName(CVSettingsEntity *section)
{
    for (const CVNamedSection &entry : CVNamedSections())
        if (entry.written && entry.section == section)
            return entry.name;
    return "";
}

void printUpdate(std::uint32_t sectionID, CFDictionaryRef changes)
{
    CVSettingsEntity *section = CVLiveSectionForID(sectionID).section;
    nlohmann::json line = {{"section", sectionName(section)},
                           {"id", sectionID},
                           {"changes", jsonFromPropertyList(changes)},
                           {"after", jsonFromPropertyList(section->getDictionary())}};
    std::printf("%s\n", line.dump().c_str());
    std::fflush(stdout);
}

} // namespace

int listenCommand(int argc, char **)
{
    if (argc != 0) {
        std::fprintf(stderr, "usage: cvsim listen\n");
        return 2;
    }
    int signals = terminationSignalDescriptor();
    // The device's services, unless another process of the device provides them already.
    DeviceServices services;
    (void)services.start();
    setMainBundleIdentifier("com.apple.springboard");
    CVLoadSettings();
    CVSetReloadObserver(printUpdate);
    RunLoop &loop = RunLoop::main();
    loop.addFileDescriptor(signals, [&loop] { loop.stop(); });
    loop.run();
    close(signals);
    services.stop();
    return 0;
}

} // namespace sim
