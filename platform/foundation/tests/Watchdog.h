#pragma once
// Guards a wait in a test: when the wait outlives its budget the test binary stops with
// a message naming it, so a hang fails in seconds instead of at the test timeout.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>

class Watchdog {
public:
    explicit Watchdog(const char *what, std::chrono::milliseconds budget = std::chrono::seconds(10))
        : m_thread([what, budget, done = m_done.get_future()] {
              if (done.wait_for(budget) == std::future_status::timeout) {
                  std::fprintf(stderr, "watchdog: %s did not finish in time\n", what);
                  std::abort();
              }
          })
    {
    }

    ~Watchdog()
    {
        m_done.set_value();
        m_thread.join();
    }

    Watchdog(const Watchdog &) = delete;
    Watchdog &operator=(const Watchdog &) = delete;

private:
    std::promise<void> m_done;
    std::thread m_thread; // last, so it starts once m_done exists
};
