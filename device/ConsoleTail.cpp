#include "ConsoleTail.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace sim {

ConsoleTail::ConsoleTail(std::size_t keptLines) : m_keptLines(keptLines) {}

ConsoleTail::~ConsoleTail()
{
    stop();
}

bool ConsoleTail::start()
{
    if (pipe2(m_pipe, O_CLOEXEC) != 0)
        return false;
    m_thread = std::thread([this] { passLinesOn(); });
    return true;
}

void ConsoleTail::stop()
{
    if (m_pipe[1] >= 0)
        close(m_pipe[1]);
    m_pipe[1] = -1;
    if (m_thread.joinable())
        m_thread.join();
    if (m_pipe[0] >= 0)
        close(m_pipe[0]);
    m_pipe[0] = -1;
}

std::vector<std::string> ConsoleTail::latestLines(std::size_t count) const
{
    std::lock_guard lock(m_mutex);
    std::size_t first = m_lines.size() > count ? m_lines.size() - count : 0;
    return {m_lines.begin() + std::ptrdiff_t(first), m_lines.end()};
}

// Ends when every writer has closed the pipe: SpringBoard's processes and our own end.
void ConsoleTail::passLinesOn()
{
    std::string pending;
    char buffer[4096];
    for (;;) {
        ssize_t got = read(m_pipe[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        for (ssize_t written = 0; written < got;) {
            ssize_t now = write(STDERR_FILENO, buffer + written, std::size_t(got - written));
            if (now <= 0 && errno != EINTR)
                break;
            written += now > 0 ? now : 0;
        }
        pending.append(buffer, std::size_t(got));
        for (std::size_t end = pending.find('\n'); end != std::string::npos;
             end = pending.find('\n')) {
            keep(pending.substr(0, end));
            pending.erase(0, end + 1);
        }
    }
    if (!pending.empty())
        keep(pending);
}

void ConsoleTail::keep(std::string line)
{
    std::lock_guard lock(m_mutex);
    m_lines.push_back(std::move(line));
    while (m_lines.size() > m_keptLines)
        m_lines.pop_front();
}

} // namespace sim
