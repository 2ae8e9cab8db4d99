#include "foundation/dispatch.h"

#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "foundation/RunLoopImpl.h"
#include "objc/NSObject.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <pthread.h>
#include <string>
#include <thread>
#include <vector>

// What every queue can do; the C functions check their arguments and pick the worker.
struct dispatch_queue_s {
    virtual ~dispatch_queue_s() = default;
    virtual void async(dispatch_block_t block) = 0;
    virtual void sync(const dispatch_block_t &block) = 0;
    virtual void after(double dueTime, dispatch_block_t block) = 0;
    virtual void retain() {}
    virtual void release() {}
};

namespace sim {

namespace {

using SteadyTime = std::chrono::steady_clock::time_point;

constexpr int kGlobalQueueThreads = 4;
// How long process exit waits for a queue's threads to finish their block in hand.
constexpr std::chrono::seconds kExitGrace{1};

// Lets dispatch_sync wait for its block. The signal is given under the lock, so the
// waiter cannot return and destroy the completion before the signaller is done with it.
class Completion {
public:
    void signal()
    {
        std::lock_guard guard(m_lock);
        m_done = true;
        m_changed.notify_one();
    }
    void wait()
    {
        std::unique_lock guard(m_lock);
        m_changed.wait(guard, [&] { return m_done; });
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_done = false;
};

class MainQueue final : public dispatch_queue_s {
public:
    void async(dispatch_block_t block) override
    {
        RunLoop::main().submitToMainQueue(std::move(block));
    }

    void sync(const dispatch_block_t &block) override
    {
        if (RunLoop::isMainThread())
            failLoudly("dispatch_sync", "the main thread waits on the main queue: deadlock");
        Completion completion;
        RunLoop::main().submitToMainQueue([&] {
            block();
            completion.signal();
        });
        completion.wait();
    }

    void after(double dueTime, dispatch_block_t block) override
    {
        // Due, the block joins the queue behind the blocks submitted before then.
        RunLoop::main().addTimer(
            dueTime, 0,
            [block = std::move(block)]() mutable {
                RunLoop::main().submitToMainQueue(std::move(block));
            },
            kCommonModes);
    }
};

class ThreadQueue;
thread_local ThreadQueue *t_runningQueue = nullptr;

// A queue served by its own threads: one for a serial queue, several for a concurrent
// one. Ready blocks are taken in submission order; delayed blocks wait in a map ordered
// by due time (equal times keep their submission order) until a worker moves them over.
class ThreadQueue final : public dispatch_queue_s {
public:
    ThreadQueue(const char *label, int threadCount) : m_serial(threadCount == 1)
    {
        for (int index = 0; index < threadCount; ++index)
            m_threads.emplace_back([this, name = std::string(label ? label : "")] {
                pthread_setname_np(pthread_self(), name.substr(0, 15).c_str());
                work();
            });
    }

    void async(dispatch_block_t block) override
    {
        std::lock_guard guard(m_lock);
        m_ready.push_back(std::move(block));
        m_changed.notify_one();
    }

    void sync(const dispatch_block_t &block) override
    {
        if (!m_serial) {
            block();
            return;
        }
        if (t_runningQueue == this)
            failLoudly("dispatch_sync", "a serial queue waits on itself: deadlock");
        Completion completion;
        async([&] {
            block();
            completion.signal();
        });
        completion.wait();
    }

    void retain() override
    {
        std::lock_guard guard(m_lock);
        ++m_references;
    }

    // The last release lets the queue's thread finish the blocks submitted so far, the
    // delayed ones included, and end.
    void release() override
    {
        std::lock_guard guard(m_lock);
        if (m_references == 0)
            failLoudly("dispatch_release", "the queue was released more often than retained");
        if (--m_references == 0)
            m_changed.notify_all();
    }

    // True once a released queue's threads have ended, so the queue can be deleted.
    bool finished()
    {
        std::lock_guard guard(m_lock);
        return m_exitedThreads == static_cast<int>(m_threads.size());
    }

    void after(double dueTime, dispatch_block_t block) override
    {
        auto delay = std::chrono::duration<double>(std::max(0.0, dueTime - now()));
        SteadyTime due = std::chrono::steady_clock::now() +
                         std::chrono::duration_cast<std::chrono::steady_clock::duration>(delay);
        std::lock_guard guard(m_lock);
        m_delayed.emplace(due, std::move(block));
        m_changed.notify_all();
    }

    // Stops the threads at process exit; false when one of them is still busy after the
    // grace period (blocked for good, say on the exiting main thread) and has been left
    // running, so the queue must outlive it.
    bool shutDown()
    {
        std::unique_lock guard(m_lock);
        m_closing = true;
        m_changed.notify_all();
        bool allExited = m_changed.wait_for(guard, kExitGrace, [&] {
            return m_exitedThreads == static_cast<int>(m_threads.size());
        });
        guard.unlock();
        for (std::thread &thread : m_threads) {
            if (allExited)
                thread.join();
            else
                thread.detach();
        }
        return allExited;
    }

    // Joins the threads of a finished queue.
    void join()
    {
        for (std::thread &thread : m_threads)
            thread.join();
    }

private:
    void work()
    {
        t_runningQueue = this;
        std::unique_lock guard(m_lock);
        while (!m_closing && !(m_references == 0 && m_ready.empty() && m_delayed.empty())) {
            moveDueBlocksToReady();
            if (!m_ready.empty()) {
                dispatch_block_t block = std::move(m_ready.front());
                m_ready.pop_front();
                guard.unlock();
                {
                    AutoreleasePool pool;
                    block();
                    block = nullptr; // its captures go in the pool, outside the lock too
                }
                guard.lock();
            } else if (m_delayed.empty()) {
                m_changed.wait(guard);
            } else {
                m_changed.wait_until(guard, m_delayed.begin()->first);
            }
        }
        ++m_exitedThreads;
        m_changed.notify_all();
    }

    void moveDueBlocksToReady()
    {
        SteadyTime current = std::chrono::steady_clock::now();
        while (!m_delayed.empty() && m_delayed.begin()->first <= current) {
            m_ready.push_back(std::move(m_delayed.begin()->second));
            m_delayed.erase(m_delayed.begin());
        }
    }

    const bool m_serial;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<dispatch_block_t> m_ready;
    std::multimap<SteadyTime, dispatch_block_t> m_delayed;
    bool m_closing = false;
    int m_references = 1; // dispatch_retain and dispatch_release
    int m_exitedThreads = 0;
    std::vector<std::thread> m_threads;
};

// Owns every thread queue, so that process exit stops and joins their threads.
class QueueRegistry {
public:
    ~QueueRegistry()
    {
        for (ThreadQueue *queue : m_queues) {
            if (queue->shutDown())
                delete queue;
        }
    }

    ThreadQueue *create(const char *label, int threadCount)
    {
        auto *queue = new ThreadQueue(label, threadCount);
        std::lock_guard guard(m_lock);
        deleteFinishedQueues();
        m_queues.push_back(queue);
        return queue;
    }

private:
    // Released queues whose threads have ended go when the next queue is made.
    void deleteFinishedQueues()
    {
        std::erase_if(m_queues, [](ThreadQueue *queue) {
            if (!queue->finished())
                return false;
            queue->join();
            delete queue;
            return true;
        });
    }

    std::mutex m_lock;
    std::vector<ThreadQueue *> m_queues;
};

QueueRegistry &threadQueues()
{
    static QueueRegistry registry;
    return registry;
}

void checkSubmission(const char *function, dispatch_queue_t queue, const dispatch_block_t &block)
{
    if (!queue)
        failLoudly(function, "no queue");
    if (!block)
        failLoudly(function, "no block");
}

constexpr long kOnceIdle = 0;
constexpr long kOnceRunning = 1;
constexpr long kOnceDone = ~0l;

} // namespace

} // namespace sim

using namespace sim;

dispatch_queue_t dispatch_get_main_queue()
{
    // Never destroyed: other threads may still submit to it while the process exits.
    static auto *queue = new MainQueue;
    return queue;
}

dispatch_queue_t dispatch_get_global_queue(long, unsigned long)
{
    static ThreadQueue *queue = threadQueues().create("global", kGlobalQueueThreads);
    return queue;
}

dispatch_queue_t dispatch_queue_create(const char *label, dispatch_queue_attr_t)
{
    return threadQueues().create(label, 1);
}

void dispatch_retain(dispatch_queue_t queue)
{
    if (queue)
        queue->retain();
}

void dispatch_release(dispatch_queue_t queue)
{
    if (queue)
        queue->release();
}

void dispatch_async(dispatch_queue_t queue, dispatch_block_t block)
{
    checkSubmission("dispatch_async", queue, block);
    queue->async(std::move(block));
}

void dispatch_sync(dispatch_queue_t queue, dispatch_block_t block)
{
    checkSubmission("dispatch_sync", queue, block);
    queue->sync(block);
}

void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block)
{
    checkSubmission("dispatch_after", queue, block);
    if (when == DISPATCH_TIME_FOREVER)
        return;
    double dueTime = when == DISPATCH_TIME_NOW ? now() : static_cast<double>(when) / 1e9;
    queue->after(dueTime, std::move(block));
}

dispatch_time_t dispatch_time(dispatch_time_t when, std::int64_t deltaNanoseconds)
{
    if (when == DISPATCH_TIME_FOREVER)
        return DISPATCH_TIME_FOREVER;
    __int128 base = when == DISPATCH_TIME_NOW ? static_cast<__int128>(std::llround(now() * 1e9))
                                              : static_cast<__int128>(when);
    __int128 result = base + deltaNanoseconds;
    if (result <= 0)
        return DISPATCH_TIME_NOW;
    if (result >= static_cast<__int128>(DISPATCH_TIME_FOREVER))
        return DISPATCH_TIME_FOREVER;
    return static_cast<dispatch_time_t>(result);
}

void dispatch_once(dispatch_once_t *predicate, dispatch_block_t block)
{
    std::atomic_ref<long> state(*predicate);
    if (state.load(std::memory_order_acquire) == kOnceDone)
        return;
    long observed = kOnceIdle;
    if (state.compare_exchange_strong(observed, kOnceRunning, std::memory_order_acquire)) {
        block();
        state.store(kOnceDone, std::memory_order_release);
        state.notify_all();
        return;
    }
    while (observed != kOnceDone) {
        state.wait(observed, std::memory_order_acquire);
        observed = state.load(std::memory_order_acquire);
    }
}
