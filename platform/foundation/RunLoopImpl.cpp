#include "foundation/RunLoopImpl.h"

#include "foundation/Clock.h"
#include "objc/NSObject.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <utility>

namespace sim {

namespace {

using Impl = RunLoop::Impl;

// Epoll keys: 0 for the wake-up eventfd, the number plus one for a watched descriptor.
constexpr std::uint64_t kWakeKey = 0;
constexpr int kEventBatch = 16;

bool isCommonMode(std::string_view mode)
{
    return mode == kDefaultMode || mode == kTrackingMode;
}

bool stillReadable(int fd)
{
    pollfd probe{fd, POLLIN, 0};
    return poll(&probe, 1, 0) > 0;
}

// Every loop of the process, so that moving the virtual clock can wake the loops of
// other threads, whose timers may have fallen due. Never destroyed: threads may end
// after static destruction has begun.
struct LoopRegistry {
    std::mutex lock;
    std::vector<Impl *> loops;
};

LoopRegistry &registry()
{
    static auto *loops = new LoopRegistry;
    return *loops;
}

void wakeOtherLoops(const Impl *self)
{
    std::lock_guard guard(registry().lock);
    for (Impl *loop : registry().loops) {
        if (loop != self)
            loop->wake();
    }
}

} // namespace

RunLoop::Impl::Impl(int owner) : ownerThread(owner)
{
    epollFd = epoll_create1(EPOLL_CLOEXEC);
    wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u64 = kWakeKey;
    if (epollFd < 0 || wakeFd < 0 || epoll_ctl(epollFd, EPOLL_CTL_ADD, wakeFd, &event) != 0)
        failLoudly("RunLoop", "cannot create the loop's epoll and eventfd descriptors");
    std::lock_guard guard(registry().lock);
    registry().loops.push_back(this);
}

RunLoop::Impl::~Impl()
{
    {
        std::lock_guard guard(registry().lock);
        std::erase(registry().loops, this);
    }
    close(wakeFd);
    close(epollFd);
}

void RunLoop::Impl::wake()
{
    std::uint64_t one = 1;
    // Fails only when the counter is saturated, and then the loop is awake anyway.
    [[maybe_unused]] ssize_t written = write(wakeFd, &one, sizeof one);
}

RunLoop::SourceId RunLoop::Impl::add(std::shared_ptr<Source> source)
{
    SourceId id;
    {
        std::lock_guard guard(lock);
        id = nextId++;
        Source &added = *sources.emplace(id, std::move(source)).first->second;
        if (added.isTimer()) {
            schedule(id, added);
        } else {
            descriptors[added.fd].sources.push_back(id);
            syncArming();
        }
    }
    if (!isOwnThread())
        wake();
    return id;
}

void RunLoop::Impl::remove(SourceId id)
{
    // A callback that is running keeps its source alive through its own reference; this
    // one drops the last reference, and with it the captures, after the lock is released.
    std::shared_ptr<Source> removed;
    std::lock_guard guard(lock);
    auto found = sources.find(id);
    if (found == sources.end())
        return;
    removed = std::move(found->second);
    sources.erase(found);
    if (removed->isTimer())
        return;
    auto descriptor = descriptors.find(removed->fd);
    std::erase(descriptor->second.sources, id);
    if (!descriptor->second.sources.empty()) {
        syncArming();
        return;
    }
    if (descriptor->second.armed)
        setArmed(removed->fd, descriptor->second, false);
    descriptors.erase(descriptor);
}

void RunLoop::Impl::addTimerMode(SourceId id, std::string_view mode)
{
    {
        std::lock_guard guard(lock);
        auto found = sources.find(id);
        if (found == sources.end() || !found->second->isTimer())
            return;
        Source &timer = *found->second;
        if (std::find(timer.modes.begin(), timer.modes.end(), mode) != timer.modes.end())
            return;
        timer.modes.emplace_back(mode);
        if (!timer.running)
            timers[timer.modes.back()].push({timer.fireTime, timer.order, id});
    }
    if (!isOwnThread())
        wake();
}

void RunLoop::Impl::setFireTime(SourceId id, double fireTime)
{
    {
        std::lock_guard guard(lock);
        auto found = sources.find(id);
        if (found == sources.end() || !found->second->isTimer())
            return;
        Source &timer = *found->second;
        timer.fireTime = fireTime;
        if (timer.running)
            timer.fireTimeSet = true;
        else
            schedule(id, timer);
    }
    if (!isOwnThread())
        wake();
}

void RunLoop::Impl::enter(Frame &frame)
{
    std::lock_guard guard(lock);
    frames.push_back(&frame);
    syncArming();
}

void RunLoop::Impl::leave(Frame &frame)
{
    std::lock_guard guard(lock);
    if (frames.empty() || frames.back() != &frame)
        failLoudly("RunLoop::runInMode", "runs ended out of order");
    frames.pop_back();
    syncArming();
}

RunResult RunLoop::Impl::run(Frame &frame, double deadline, bool returnAfterSourceHandled)
{
    for (;;) {
        {
            std::lock_guard guard(lock);
            if (modeIsEmpty(modeOf(frame)))
                return RunResult::Finished;
        }
        Activity activity = iterate(frame, deadline);
        if (frame.stopped)
            return RunResult::Stopped;
        if (returnAfterSourceHandled && activity.handledSource)
            return RunResult::HandledSource;
        if (now() >= deadline)
            return RunResult::TimedOut;
        if (activity.idle() && isMain && isVirtualClock() && std::isfinite(deadline))
            moveToNextFireTime(currentModeOf(frame), deadline);
    }
}

// Time passing on the virtual clock: everything due at the present instant runs, then
// the clock moves to the next fire time, until the target is reached and nothing is left
// to do there.
void RunLoop::Impl::passTime(Frame &frame, double target)
{
    for (;;) {
        if (!iterate(frame, target).idle())
            continue;
        if (now() >= target)
            return;
        moveToNextFireTime(currentModeOf(frame), target);
    }
}

RunLoop::Impl::Activity RunLoop::Impl::iterate(Frame &frame, double deadline)
{
    AutoreleasePool pool;
    if (beforeIteration)
        beforeIteration();
    const std::string mode = currentModeOf(frame);
    Activity activity;
    activity.handledSource = runPerformedBlocks();
    if (runMainQueueBlocks(mode))
        activity.handledSource = true;
    activity.firedTimer = fireDueTimers(mode);
    int timeout = waitMilliseconds(frame, mode, deadline, activity);
    if (handleReadableDescriptors(mode, timeout))
        activity.handledSource = true;
    if (afterIteration)
        afterIteration();
    return activity;
}

// How long the iteration may sleep in epoll: not at all while work is left at the
// present instant, otherwise until the next timer or the run's limit.
int RunLoop::Impl::waitMilliseconds(const Frame &frame, const std::string &mode, double deadline,
                                    Activity activity)
{
    double until = deadline;
    {
        std::lock_guard guard(lock);
        if (!activity.idle() || !performed.empty() || mainQueueIsReady(mode) || frame.stopped)
            return 0;
        if (Impl::TimerHeap *next = earliestTimer(mode))
            until = std::min(until, next->top().fireTime);
    }
    if (isVirtualClock()) {
        // A limited run of the main loop moves time itself. Otherwise only
        // advanceVirtualClock() moves it, and it wakes every loop when it does.
        return isMain && std::isfinite(deadline) ? 0 : -1;
    }
    if (std::isinf(until))
        return -1;
    double milliseconds = std::ceil((until - now()) * 1000.0);
    return static_cast<int>(std::clamp(milliseconds, 0.0, static_cast<double>(INT_MAX)));
}

bool RunLoop::Impl::runPerformedBlocks()
{
    std::deque<std::function<void()>> blocks;
    {
        std::lock_guard guard(lock);
        blocks.swap(performed);
    }
    // Blocks performed by these blocks wait for the next iteration.
    for (auto &block : blocks)
        block();
    return !blocks.empty();
}

// Runs the main queue's blocks submitted so far, unless the mode is a private one or a
// block of the queue is already running further up the stack: the queue is serial.
bool RunLoop::Impl::runMainQueueBlocks(const std::string &mode)
{
    std::deque<std::function<void()>> blocks;
    {
        std::lock_guard guard(lock);
        if (!mainQueueIsReady(mode))
            return false;
        blocks.swap(mainQueue);
        mainQueueRunning = true;
    }
    struct Finished {
        Impl &loop;
        ~Finished()
        {
            std::lock_guard guard(loop.lock);
            loop.mainQueueRunning = false;
        }
    } finished{*this};
    for (auto &block : blocks) {
        AutoreleasePool pool;
        block();
        block = nullptr; // its captures go inside the block's pool
    }
    return true;
}

// Fires the timers that were scheduled and due when the pass began, earliest first.
// Timers re-armed or added meanwhile wait for the next pass, behind the blocks performed
// meanwhile, so a timer slower than its own interval cannot hold the loop here.
bool RunLoop::Impl::fireDueTimers(const std::string &mode)
{
    TimerEntry passBegan{now(), 0, 0};
    {
        std::lock_guard guard(lock);
        passBegan.order = nextOrder;
    }
    bool fired = false;
    for (;;) {
        SourceId id = 0;
        std::shared_ptr<Source> timer;
        {
            std::lock_guard guard(lock);
            timer = takeDueTimer(mode, passBegan, id);
        }
        if (!timer)
            return fired;
        timer->callback();
        fired = true;
        std::shared_ptr<Source> finished;
        std::lock_guard guard(lock);
        auto found = sources.find(id);
        if (found == sources.end())
            continue; // its callback removed it
        timer->running = false;
        if (std::exchange(timer->fireTimeSet, false)) {
            schedule(id, *timer);
        } else if (timer->interval > 0) {
            double next = timer->fireTime + timer->interval;
            double current = now();
            if (next <= current)
                next += timer->interval * (std::floor((current - next) / timer->interval) + 1);
            timer->fireTime = next;
            schedule(id, *timer);
        } else {
            finished = std::move(found->second);
            sources.erase(found);
        }
    }
}

bool RunLoop::Impl::handleReadableDescriptors(const std::string &mode, int timeoutMilliseconds)
{
    epoll_event events[kEventBatch];
    int count = epoll_wait(epollFd, events, kEventBatch, timeoutMilliseconds);
    if (count < 0 && errno != EINTR)
        failLoudly("RunLoop::runInMode", "epoll_wait failed");
    bool handled = false;
    for (int index = 0; index < count; ++index) {
        std::uint64_t key = events[index].data.u64;
        if (key == kWakeKey) {
            std::uint64_t wakeups;
            [[maybe_unused]] ssize_t drained = read(wakeFd, &wakeups, sizeof wakeups);
        } else if (runDescriptorSources(static_cast<int>(key - 1), mode, handled)) {
            handled = true;
        }
    }
    return handled;
}

// Runs the callbacks of the mode's sources on a readable descriptor. Once any callback
// has run, the descriptor is checked again before the next one: that callback may have
// run the loop and drained it, and a callback reading a drained descriptor would block.
bool RunLoop::Impl::runDescriptorSources(int fd, const std::string &mode, bool afterOtherCallbacks)
{
    std::vector<SourceId> ids;
    {
        std::lock_guard guard(lock);
        if (auto descriptor = descriptors.find(fd); descriptor != descriptors.end())
            ids = descriptor->second.sources;
    }
    bool ran = false;
    for (SourceId id : ids) {
        std::shared_ptr<Source> source;
        {
            std::lock_guard guard(lock);
            source = beginDescriptorSource(id, mode);
        }
        if (!source)
            continue;
        if (!(afterOtherCallbacks || ran) || stillReadable(fd)) {
            source->callback();
            ran = true;
        }
        std::lock_guard guard(lock);
        source->running = false;
        syncArming();
    }
    return ran;
}

void RunLoop::Impl::moveToNextFireTime(const std::string &mode, double limit)
{
    double next = limit;
    {
        std::lock_guard guard(lock);
        if (Impl::TimerHeap *heap = earliestTimer(mode))
            next = std::min(next, heap->top().fireTime);
    }
    moveVirtualClockTo(next);
    wakeOtherLoops(this);
}

void RunLoop::Impl::schedule(SourceId id, Source &timer)
{
    timer.order = nextOrder++;
    for (const std::string &mode : timer.modes)
        timers[mode].push({timer.fireTime, timer.order, id});
}

// The heap (the mode's own or the common modes') whose top is the mode's next live
// timer, after dropping the entries of removed timers; null when the mode has none.
RunLoop::Impl::TimerHeap *RunLoop::Impl::earliestTimer(const std::string &mode)
{
    TimerHeap *earliest = nullptr;
    auto consider = [&](std::string_view heapMode) {
        auto found = timers.find(heapMode);
        if (found == timers.end())
            return;
        TimerHeap &heap = found->second;
        while (!heap.empty()) {
            auto source = sources.find(heap.top().id);
            if (source != sources.end() && source->second->order == heap.top().order)
                break;
            heap.pop();
        }
        if (!heap.empty() && (!earliest || earliest->top() > heap.top()))
            earliest = &heap;
    };
    consider(mode);
    if (isCommonMode(mode))
        consider(kCommonModes);
    return earliest;
}

std::shared_ptr<RunLoop::Impl::Source>
RunLoop::Impl::takeDueTimer(const std::string &mode, const TimerEntry &passBegan, SourceId &id)
{
    TimerHeap *heap = earliestTimer(mode);
    if (!heap || heap->top().fireTime > passBegan.fireTime || heap->top().order >= passBegan.order)
        return nullptr;
    id = heap->top().id;
    heap->pop();
    Source &timer = *sources.at(id);
    timer.order = nextOrder++; // retires its entries in the other modes' heaps
    timer.running = true;
    return sources.at(id);
}

std::shared_ptr<RunLoop::Impl::Source> RunLoop::Impl::beginDescriptorSource(SourceId id,
                                                                            const std::string &mode)
{
    auto found = sources.find(id);
    if (found == sources.end())
        return nullptr;
    Source &source = *found->second;
    if (source.running || !includes(source, mode))
        return nullptr;
    source.running = true;
    return found->second;
}

// Brings epoll in line with the innermost run's mode. Outside any run the registrations
// stay as they are: nobody waits on them then.
void RunLoop::Impl::syncArming()
{
    if (frames.empty())
        return;
    const std::string &mode = modeOf(*frames.back());
    for (auto &[fd, descriptor] : descriptors) {
        bool wanted =
            std::any_of(descriptor.sources.begin(), descriptor.sources.end(), [&](SourceId id) {
                const Source &source = *sources.at(id);
                return includes(source, mode) && !source.running;
            });
        if (wanted != descriptor.armed)
            setArmed(fd, descriptor, wanted);
    }
}

void RunLoop::Impl::setArmed(int fd, Descriptor &descriptor, bool armed)
{
    if (armed) {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.u64 = static_cast<std::uint64_t>(fd) + 1;
        if (epoll_ctl(epollFd, EPOLL_CTL_ADD, fd, &event) != 0)
            failLoudly("RunLoop::addFileDescriptor", "epoll cannot watch the descriptor");
    } else {
        // Fails harmlessly for a descriptor closed before its sources were removed:
        // closing took it out of epoll already.
        epoll_ctl(epollFd, EPOLL_CTL_DEL, fd, nullptr);
    }
    descriptor.armed = armed;
}

bool RunLoop::Impl::includes(const Source &source, std::string_view runMode) const
{
    return std::any_of(source.modes.begin(), source.modes.end(), [&](const std::string &mode) {
        return mode == runMode || (mode == kCommonModes && isCommonMode(runMode));
    });
}

void RunLoop::Impl::pushMode(std::string_view mode)
{
    std::lock_guard guard(lock);
    pushedModes.emplace_back(mode);
    syncArming();
}

void RunLoop::Impl::popMode()
{
    std::lock_guard guard(lock);
    if (pushedModes.empty())
        failLoudly("RunLoop::popMode", "no mode was pushed");
    pushedModes.pop_back();
    syncArming();
}

const std::string &RunLoop::Impl::modeOf(const Frame &frame) const
{
    if (frame.mode == kDefaultMode && !pushedModes.empty())
        return pushedModes.back();
    return frame.mode;
}

std::string RunLoop::Impl::currentModeOf(const Frame &frame) const
{
    std::lock_guard guard(lock);
    return modeOf(frame);
}

bool RunLoop::Impl::mainQueueIsReady(std::string_view mode) const
{
    return isMain && isCommonMode(mode) && !mainQueueRunning && !mainQueue.empty();
}

// A mode in which nothing can ever happen. The main loop's common modes never are: the
// main dispatch queue is serviced there.
bool RunLoop::Impl::modeIsEmpty(std::string_view mode) const
{
    if (isMain && isCommonMode(mode))
        return false;
    if (!performed.empty())
        return false;
    return std::none_of(sources.begin(), sources.end(),
                        [&](const auto &entry) { return includes(*entry.second, mode); });
}

} // namespace sim
