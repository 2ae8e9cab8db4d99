#pragma once
// Running device commands inside the SpringBoard process, on its main thread, for the
// control channel and for scripts alike. The buttons, rotation, swipes and editing go
// to the SpringBoard host as the hardware and touches would; `post` posts from
// SpringBoard's process; `defaults write` runs the settings panel's edit cycle in a
// cvsim process of its own (the panel is never SpringBoard), which reaches SpringBoard
// through the reload service as the panel would.

#include "ControlChannel.h"
#include "DeviceCommand.h"
#include "DeviceDump.h"

#include <functional>

namespace sim {

class CommandExecutor {
public:
    // How `wait` lets time pass on this device.
    using PassTime = std::function<void(double seconds)>;

    CommandExecutor(LogCollector &log, const int &launches, PassTime passTime)
        : m_log(log), m_launches(launches), m_passTime(std::move(passTime))
    {
    }

    ControlReply execute(const DeviceCommand &command);

    // Parses the words and executes the command; misuse answers status 2.
    ControlReply execute(const std::vector<std::string> &words);

private:
    ControlReply writeDefault(const DeviceCommand &command);

    LogCollector &m_log;
    const int &m_launches;
    PassTime m_passTime;
};

} // namespace sim
