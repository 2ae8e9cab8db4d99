// Dispatch groups and semaphores: waiting for work in flight, and counting.

#include "foundation/dispatch.h"

#include "foundation/Clock.h"
#include "foundation/RunLoopImpl.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>
#include <vector>

namespace sim {

// What dispatch_retain and dispatch_release count for groups and semaphores.
class DispatchReferences {
public:
    void retain() { m_references.fetch_add(1, std::memory_order_relaxed); }
    // True when that was the last reference.
    bool release()
    {
        long before = m_references.fetch_sub(1, std::memory_order_acq_rel);
        if (before <= 0)
            sim::failLoudly("dispatch_release", "released more often than retained");
        return before == 1;
    }

private:
    std::atomic<long> m_references{1};
};

} // namespace sim

namespace {

// Waits on `changed` until `done` holds or the dispatch time `timeout` passes; the time
// left is measured on the process clock now and waited out for real.
template <class Done>
bool waitUntil(std::condition_variable &changed, std::unique_lock<std::mutex> &guard,
               dispatch_time_t timeout, Done done)
{
    if (timeout == DISPATCH_TIME_FOREVER) {
        changed.wait(guard, done);
        return true;
    }
    double dueTime = timeout == DISPATCH_TIME_NOW ? sim::now() : static_cast<double>(timeout) / 1e9;
    auto left = std::chrono::duration<double>(std::max(0.0, dueTime - sim::now()));
    return changed.wait_for(guard, left, done);
}

constexpr long kTimedOut = 49; // KERN_OPERATION_TIMED_OUT

} // namespace

struct dispatch_group_s : sim::DispatchReferences {
    std::mutex lock;
    std::condition_variable idle;
    long inFlight = 0;
    std::vector<std::pair<dispatch_queue_t, dispatch_block_t>> notified;
};

struct dispatch_semaphore_s : sim::DispatchReferences {
    std::mutex lock;
    std::condition_variable raised;
    long value = 0;
    long waiting = 0;
};

dispatch_group_t dispatch_group_create()
{
    return new dispatch_group_s;
}

void dispatch_group_async(dispatch_group_t group, dispatch_queue_t queue, dispatch_block_t block)
{
    if (!group || !block)
        sim::failLoudly("dispatch_group_async", "no group or no block");
    dispatch_group_enter(group);
    dispatch_retain(group); // the group outlives its members
    dispatch_async(queue, [group, block = std::move(block)] {
        block();
        dispatch_group_leave(group);
        dispatch_release(group);
    });
}

void dispatch_group_enter(dispatch_group_t group)
{
    std::lock_guard guard(group->lock);
    ++group->inFlight;
}

void dispatch_group_leave(dispatch_group_t group)
{
    std::vector<std::pair<dispatch_queue_t, dispatch_block_t>> notified;
    {
        std::lock_guard guard(group->lock);
        if (group->inFlight == 0)
            sim::failLoudly("dispatch_group_leave", "a leave without its enter");
        if (--group->inFlight > 0)
            return;
        notified.swap(group->notified);
        group->idle.notify_all();
    }
    for (auto &[queue, block] : notified)
        dispatch_async(queue, std::move(block));
}

long dispatch_group_wait(dispatch_group_t group, dispatch_time_t timeout)
{
    std::unique_lock guard(group->lock);
    return waitUntil(group->idle, guard, timeout, [&] { return group->inFlight == 0; }) ? 0
                                                                                        : kTimedOut;
}

void dispatch_group_notify(dispatch_group_t group, dispatch_queue_t queue, dispatch_block_t block)
{
    if (!group || !queue || !block)
        sim::failLoudly("dispatch_group_notify", "no group, queue or block");
    {
        std::lock_guard guard(group->lock);
        if (group->inFlight > 0) {
            group->notified.emplace_back(queue, std::move(block));
            return;
        }
    }
    dispatch_async(queue, std::move(block));
}

void dispatch_retain(dispatch_group_t group)
{
    if (group)
        group->retain();
}

void dispatch_release(dispatch_group_t group)
{
    if (group && group->release())
        delete group;
}

dispatch_semaphore_t dispatch_semaphore_create(long value)
{
    if (value < 0)
        return nullptr;
    auto *semaphore = new dispatch_semaphore_s;
    semaphore->value = value;
    return semaphore;
}

long dispatch_semaphore_wait(dispatch_semaphore_t semaphore, dispatch_time_t timeout)
{
    std::unique_lock guard(semaphore->lock);
    ++semaphore->waiting;
    bool raised =
        waitUntil(semaphore->raised, guard, timeout, [&] { return semaphore->value > 0; });
    --semaphore->waiting;
    if (!raised)
        return kTimedOut;
    --semaphore->value;
    return 0;
}

long dispatch_semaphore_signal(dispatch_semaphore_t semaphore)
{
    std::lock_guard guard(semaphore->lock);
    ++semaphore->value;
    if (semaphore->waiting == 0)
        return 0;
    semaphore->raised.notify_one();
    return 1;
}

void dispatch_retain(dispatch_semaphore_t semaphore)
{
    if (semaphore)
        semaphore->retain();
}

void dispatch_release(dispatch_semaphore_t semaphore)
{
    if (semaphore && semaphore->release())
        delete semaphore;
}
