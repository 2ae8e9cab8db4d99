#pragma once
// Clocks on screen change when the minute does: a ticker calls its function at the start
// of every minute of wall time (sim::wallTime, which a virtual clock drives too), from
// the next one on, on the main run loop.

#include "foundation/RunLoop.h"

#include <functional>

namespace sim {

class MinuteTicker {
public:
    MinuteTicker() = default;
    ~MinuteTicker() { stop(); }
    MinuteTicker(const MinuteTicker &) = delete;
    MinuteTicker &operator=(const MinuteTicker &) = delete;

    // Starts (or restarts) ticking.
    void start(std::function<void()> tick);
    void stop();

private:
    RunLoop::SourceId m_timer = 0;
};

} // namespace sim
