#pragma once
// What `dump` shows of a running device, as one JSON document:
//
//     {"windows":     SpringBoard's window stack, back to front, each a tree of views,
//      "alerts":      [{"title", "message", "buttons"}] for the alerts on screen,
//      "log":         [the system's log lines of SpringBoard since the previous dump],
//      "springboard": {"launches": how often SpringBoard has started on this device,
//                      "cf": the Core Foundation version number it runs on,
//                      "pid": the process SpringBoard runs in (a scripted device
//                             relaunches in the same process)},
//      and one key for each feature's state (FeatureActions.h), such as
//      "homeScreen":  {"editing", "folderOpen"}}
//
// The log is collected as it is written; a device that runs for days without a dump
// keeps only the latest LogCollector::kMaxLines lines.

#include <nlohmann/json.hpp>

#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

class LogCollector {
public:
    static constexpr std::size_t kMaxLines = 10000;

    // Observes the log from now on, in place of any observer before it.
    LogCollector();
    ~LogCollector();
    LogCollector(const LogCollector &) = delete;
    LogCollector &operator=(const LogCollector &) = delete;

    // The lines logged since the previous call, in order; the collection starts afresh.
    std::vector<std::string> takeLines();

private:
    void add(const std::string &line);

    std::mutex m_lock; // lines arrive from any thread
    std::deque<std::string> m_lines;
};

nlohmann::json dumpDevice(LogCollector &log, int launches);

} // namespace sim
