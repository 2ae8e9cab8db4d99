#pragma once
// Logging. NSLog formats its message like stringWithFormat (with %@) and hands the line
// to every place the device keeps its logs: the system log (syslog, under the process's
// name), the device tool's console (standard error, the message text alone on its line,
// so whoever reads the console reads exactly what the system wrote) and, when one is
// installed, an observer that the device's dumps and the tests use to collect lines.
//
// A line is one message: a message that ends with a newline does not get a second one.
// Lines from several threads never interleave, and the observer sees them one at a time.

#include <cstdarg>
#include <functional>
#include <memory>
#include <string>
#include <vector>

void NSLog(const char *format, ...);
void NSLogv(const char *format, va_list arguments);

namespace sim {

using LogObserver = std::function<void(const std::string &line)>;

// Installs the observer that sees every line from now on (an empty function removes it)
// and answers the one it replaces. A line logged by the observer itself reaches the
// system log and the console but not the observer again.
LogObserver setLogObserver(LogObserver observer);

// Whether lines are written to standard error (on unless the device tool routes them
// elsewhere).
void setLogToStandardError(bool enabled);

// Collects the lines logged while it lives, passing them on to the observer it
// displaced, which it puts back when it goes away. Captures nest like scopes.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    // The lines so far, in the order they were logged.
    std::vector<std::string> lines() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
    LogObserver m_previous;
};

} // namespace sim
