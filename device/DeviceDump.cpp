#include "DeviceDump.h"

#include "FeatureActions.h"

#include "foundation/DeviceProfile.h"
#include "foundation/NSLog.h"
#include "springboard/SpringBoardHost.h"

#include <unistd.h>

namespace sim {

LogCollector::LogCollector()
{
    setLogObserver([this](const std::string &line) { add(line); });
}

LogCollector::~LogCollector()
{
    setLogObserver({});
}

void LogCollector::add(const std::string &line)
{
    std::lock_guard guard(m_lock);
    m_lines.push_back(line);
    if (m_lines.size() > kMaxLines)
        m_lines.pop_front();
}

std::vector<std::string> LogCollector::takeLines()
{
    std::lock_guard guard(m_lock);
    std::vector<std::string> lines(m_lines.begin(), m_lines.end());
    m_lines.clear();
    return lines;
}

nlohmann::json dumpDevice(LogCollector &log, int launches)
{
    nlohmann::json dump = {
        {"windows", SpringBoardHost::dumpWindows()},
        {"alerts", SpringBoardHost::dumpAlerts()},
        {"log", log.takeLines()},
        {"springboard",
         {{"launches", launches},
          {"cf", DeviceProfile::current()->coreFoundationVersion},
          {"pid", getpid()}}},
    };
    for (const FeatureDumpSection &section : featureDumpSections())
        dump[section.key] = section.dump();
    return dump;
}

} // namespace sim
