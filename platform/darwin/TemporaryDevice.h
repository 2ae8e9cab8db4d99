#pragma once
// A throw-away simulated device for tests and benchmarks: a fresh device root in the
// temporary directory, chosen for this process (and the processes it starts), with the
// device services running on it. Everything is removed again on destruction.
//
// The services run in a process of their own, forked while the test process is still
// quiet, rather than on a thread: tests fork children that go on running test code, and
// a child forked while a services thread held an allocator lock (the sanitizers'
// allocator has no fork handler) would wait for it forever. A forked child that
// inherits a TemporaryDevice must leave with _exit, so that only the parent tears it
// down.

#include <string>
#include <sys/types.h>

namespace sim {

class TemporaryDevice {
public:
    TemporaryDevice();
    ~TemporaryDevice();
    TemporaryDevice(const TemporaryDevice &) = delete;
    TemporaryDevice &operator=(const TemporaryDevice &) = delete;

    // False when the root could not be made or the services did not start.
    bool ready() const { return m_ready; }
    const std::string &root() const { return m_root; }

    // Ends the services process (as when the device tool stops), and starts a new one.
    void stopServices();
    [[nodiscard]] bool startServices();

private:
    std::string m_root;
    pid_t m_services = -1;
    bool m_ready = false;
};

} // namespace sim
