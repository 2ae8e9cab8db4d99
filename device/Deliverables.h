#pragma once
// Installing the deliverables into a device root. Each deliverable the build made (a
// file, or a bundle directory taken file by file) is copied to its phone path under the
// root unless the copy there is current: the same size and modification time as the
// build's file, which the copy is given when it is made. A copy is written beside its
// destination and renamed over it, so a process of the device that opens the file sees
// the old one or the new one, never half of either.

#include <string>
#include <vector>

namespace sim {

struct DeliverableFile {
    std::string buildPath; // host path in the build tree
    std::string phonePath; // where the phone keeps it
};

// What this build made, as the generated manifest lists it (BuiltDeliverables.h).
std::vector<DeliverableFile> builtDeliverables();

struct InstallReport {
    std::vector<std::string> copied; // phone paths written now
    std::vector<std::string> errors; // one message per deliverable that could not be
};

// Installs the deliverables under the current device root. A directory deliverable
// installs every regular file below it at the same relative path.
InstallReport installDeliverables(const std::vector<DeliverableFile> &deliverables);

// The device's own programs, as this build made them: the SpringBoard process, the
// device tool and the settings application.
std::string springBoardExecutable();
std::string deviceToolExecutable();
std::string settingsAppExecutable();

} // namespace sim
