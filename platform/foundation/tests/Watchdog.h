#pragma once
// Guards a wait in a test: when the wait outlives its budget the test binary stops with
// a message naming it, so a hang fails in seconds instead of at the test timeout.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

class Watchdog {
public:
    explicit Watchdog(const char *what, std::chrono::milliseconds budget = std::chrono::seconds(10))
        : m_thread([this, what, budget] {
              std::unique_lock guard(m_lock);
              if (!m_cancelled.wait_for(guard, budget, [this] { return m_done; })) {
                  std::fprintf(stderr, "watchdog: %s did not finish in time\n", what);
                  std::abort();
              }
          })
    {
    }

    ~Watchdog()
    {
        {
            std::lock_guard guard(m_lock);
            m_done = true;
        }
        m_cancelled.notify_one();
        m_thread.join();
    }

    Watchdog(const Watchdog &) = delete;
    Watchdog &operator=(const Watchdog &) = delete;

private:
    std::mutex m_lock;
    std::condition_variable m_cancelled;
    bool m_done = false;
    std::thread m_thread; // last, so it starts once the members above exist
};
