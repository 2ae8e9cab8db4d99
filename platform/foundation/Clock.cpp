#include "foundation/Clock.h"

#include <atomic>
#include <ctime>

namespace sim {

namespace {

// Any thread may read the clock while the main thread advances it, so the virtual
// state is atomic. The two fields are written together only by useVirtualClock, which
// runs before anything is scheduled.
std::atomic<bool> g_virtual{false};
std::atomic<double> g_virtualNow{0};
std::atomic<double> g_virtualWallOffset{0};

double readClock(clockid_t clock)
{
    timespec time{};
    clock_gettime(clock, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
}

} // namespace

double now()
{
    if (g_virtual.load(std::memory_order_acquire))
        return g_virtualNow.load(std::memory_order_acquire);
    return readClock(CLOCK_MONOTONIC);
}

double wallTime()
{
    if (g_virtual.load(std::memory_order_acquire))
        return g_virtualNow.load(std::memory_order_acquire) + g_virtualWallOffset.load();
    return readClock(CLOCK_REALTIME);
}

void useVirtualClock(double startSeconds, double wallStartSeconds)
{
    g_virtualNow.store(startSeconds);
    g_virtualWallOffset.store(wallStartSeconds - startSeconds);
    g_virtual.store(true, std::memory_order_release);
}

void useRealClock()
{
    g_virtual.store(false, std::memory_order_release);
}

bool isVirtualClock()
{
    return g_virtual.load(std::memory_order_acquire);
}

void moveVirtualClockTo(double seconds)
{
    double current = g_virtualNow.load();
    while (seconds > current && !g_virtualNow.compare_exchange_weak(current, seconds)) {
    }
}

} // namespace sim
