#pragma once
// SpringBoard's console as `cvsim run` passes it on: every line SpringBoard writes on its
// standard error (its log, as the system writes it) goes on to cvsim's standard error
// unchanged, and the latest lines are kept for the device page's status line, so that a
// respring or a crash is seen there. The pipe outlives SpringBoard's relaunches: each
// launch writes into the same one.

#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sim {

class ConsoleTail {
public:
    explicit ConsoleTail(std::size_t keptLines = 200);
    ~ConsoleTail();
    ConsoleTail(const ConsoleTail &) = delete;
    ConsoleTail &operator=(const ConsoleTail &) = delete;

    // Makes the pipe and starts passing lines on; false (errno set) when it cannot.
    [[nodiscard]] bool start();
    // The end SpringBoard writes into (its standard error).
    int writeEnd() const { return m_pipe[1]; }
    // Closes the write end and waits until everything written has been passed on.
    void stop();

    // The latest `count` lines, oldest first.
    std::vector<std::string> latestLines(std::size_t count) const;

private:
    void passLinesOn();
    void keep(std::string line);

    std::size_t m_keptLines;
    int m_pipe[2] = {-1, -1};
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::deque<std::string> m_lines;
};

} // namespace sim
