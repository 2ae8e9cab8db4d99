#include "foundation/NSLog.h"

#include "foundation/NSString.h"

#include <cerrno>
#include <mutex>
#include <syslog.h>
#include <unistd.h>

namespace {

// Where lines go. The lock is recursive because an observer may log; the flag below
// keeps such a line from reaching the observer again.
struct LogSinks {
    std::recursive_mutex lock;
    sim::LogObserver observer;
    bool toStandardError = true;
    bool systemLogOpen = false;
};

// Never destroyed: threads and exit-time destructors may still log while the process ends.
LogSinks &sinks()
{
    static auto &shared = *new LogSinks;
    return shared;
}

thread_local bool t_insideObserver = false;

class ObserverScope {
public:
    ObserverScope() { t_insideObserver = true; }
    ~ObserverScope() { t_insideObserver = false; }
    ObserverScope(const ObserverScope &) = delete;
    ObserverScope &operator=(const ObserverScope &) = delete;
};

// The whole line in one write, so that lines of the device's processes sharing one
// console never interleave mid-line.
void writeToStandardError(const std::string &line)
{
    std::string text = line + '\n';
    size_t written = 0;
    while (written < text.size()) {
        ssize_t count = ::write(STDERR_FILENO, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return;
        written += static_cast<size_t>(count);
    }
}

// Needs the sinks' lock.
void writeToSystemLog(LogSinks &destination, const std::string &line)
{
    if (!destination.systemLogOpen) {
        openlog(program_invocation_short_name, LOG_PID, LOG_USER);
        destination.systemLogOpen = true;
    }
    // The platform files NSLog lines at warning level.
    syslog(LOG_WARNING, "%s", line.c_str());
}

void emit(std::string line)
{
    if (!line.empty() && line.back() == '\n')
        line.pop_back();
    LogSinks &destination = sinks();
    std::lock_guard guard(destination.lock);
    writeToSystemLog(destination, line);
    if (destination.toStandardError)
        writeToStandardError(line);
    if (destination.observer && !t_insideObserver) {
        ObserverScope scope;
        destination.observer(line);
    }
}

} // namespace

void NSLog(const char *format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    NSLogv(format, arguments);
    va_end(arguments);
}

void NSLogv(const char *format, va_list arguments)
{
    emit(sim::formatString(format ? format : "(null)", arguments));
}

namespace sim {

LogObserver setLogObserver(LogObserver observer)
{
    LogSinks &destination = sinks();
    std::lock_guard guard(destination.lock);
    std::swap(destination.observer, observer);
    return observer;
}

void setLogToStandardError(bool enabled)
{
    LogSinks &destination = sinks();
    std::lock_guard guard(destination.lock);
    destination.toStandardError = enabled;
}

struct LogCapture::State {
    std::mutex lock;
    std::vector<std::string> lines;
};

// Installed under the sinks' lock, so no line falls between the displaced observer and
// this one.
LogCapture::LogCapture() : m_state(std::make_shared<State>())
{
    LogSinks &destination = sinks();
    std::lock_guard guard(destination.lock);
    m_previous = destination.observer;
    destination.observer = [state = m_state, previous = m_previous](const std::string &line) {
        {
            std::lock_guard collect(state->lock);
            state->lines.push_back(line);
        }
        if (previous)
            previous(line);
    };
}

LogCapture::~LogCapture()
{
    LogSinks &destination = sinks();
    std::lock_guard guard(destination.lock);
    destination.observer = std::move(m_previous);
}

std::vector<std::string> LogCapture::lines() const
{
    std::lock_guard guard(m_state->lock);
    return m_state->lines;
}

} // namespace sim
