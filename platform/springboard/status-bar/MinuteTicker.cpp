#include "springboard/status-bar/MinuteTicker.h"

#include "foundation/Clock.h"

#include <cmath>

namespace sim {

void MinuteTicker::start(std::function<void()> tick)
{
    stop();
    double wall = wallTime();
    double untilNextMinute = (std::floor(wall / 60) + 1) * 60 - wall;
    m_timer = RunLoop::main().addTimer(now() + untilNextMinute, 60, std::move(tick));
}

void MinuteTicker::stop()
{
    if (m_timer)
        RunLoop::main().removeSource(m_timer);
    m_timer = 0;
}

} // namespace sim
