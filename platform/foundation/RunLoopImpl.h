#pragma once
// The machinery behind sim::RunLoop (private to the foundation library).
//
// One lock guards a loop's state, so any thread may add and remove sources, perform
// blocks or stop a run; callbacks always run with the lock released, holding their
// own reference to the source so that removing it inside the callback is safe.
//
// Timers wait in min-heaps of (fire time, scheduling order), one heap per mode name, so
// a run looks only at its own mode's heap and, for a common mode, the common-modes
// heap. A timer in several modes has one entry in each heap, all with the same order, and
// one fire time: firing it from one heap re-arms it with a new order, which retires the
// others. A removed timer leaves its entries behind; entries whose source is gone or was
// re-armed since are dropped when they reach the top. A timer whose callback is running
// has no live entry, so a nested run never fires it inside itself.
//
// Several sources may watch one descriptor (one per mode, typically). The descriptor is
// registered with epoll, keyed by its number, only while one of its sources belongs to
// the innermost run's mode and is not running its callback (an "armed" descriptor).
// Keeping the others out of epoll, rather than ignoring their events, is what lets a
// run in another mode, or a run nested inside the source's own callback, sleep while
// the descriptor stays readable.

#include "foundation/RunLoop.h"

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <queue>
#include <string>
#include <unordered_map>
#include <vector>

namespace sim {

// Stops the process with a message naming the function whose invariant broke.
[[noreturn]] void failLoudly(const char *function, const char *why);

struct RunLoop::Impl {
    struct Source {
        std::function<void()> callback;
        std::vector<std::string> modes; // one for a descriptor; a timer may join more
        int fd = -1;                    // a timer has none
        double fireTime = 0;
        double interval = 0;      // 0 for a one-shot timer
        std::uint64_t order = 0;  // of the timer's live heap entries, one per mode
        bool running = false;     // the source's callback is on the stack
        bool fireTimeSet = false; // by its own callback, which then does not re-arm it
        bool isTimer() const { return fd < 0; }
    };

    struct TimerEntry {
        double fireTime;
        std::uint64_t order;
        SourceId id;
        bool operator>(const TimerEntry &other) const
        {
            return fireTime != other.fireTime ? fireTime > other.fireTime : order > other.order;
        }
    };
    using TimerHeap = std::priority_queue<TimerEntry, std::vector<TimerEntry>, std::greater<>>;

    struct Descriptor {
        std::vector<SourceId> sources; // in the order they were added
        bool armed = false;
    };

    // One run of the loop (or one advance of the virtual clock) in progress.
    struct Frame {
        enum class Kind { Run, TimePassing };
        std::string mode;
        Kind kind;
        std::atomic<bool> stopped{false};
    };

    // What one iteration did; an idle iteration lets virtual time move on.
    struct Activity {
        bool handledSource = false; // a descriptor, a performed block or a main-queue block
        bool firedTimer = false;
        bool idle() const { return !handledSource && !firedTimer; }
    };

    explicit Impl(int owner);
    ~Impl();

    bool isOwnThread() const;
    void checkOwnThread(const char *function) const;
    void wake();

    SourceId add(std::shared_ptr<Source> source);
    void remove(SourceId id);
    void addTimerMode(SourceId id, std::string_view mode);
    void setFireTime(SourceId id, double fireTime);

    void pushMode(std::string_view mode);
    void popMode();
    // The mode a run serves: its own, or the pushed one for a run in the default mode.
    std::string currentModeOf(const Frame &frame) const;
    const std::string &modeOf(const Frame &frame) const; // needs the lock held

    void enter(Frame &frame);
    void leave(Frame &frame);
    RunResult run(Frame &frame, double deadline, bool returnAfterSourceHandled);
    void passTime(Frame &frame, double target);

    int ownerThread;
    bool isMain = false;
    int epollFd = -1;
    int wakeFd = -1;

    mutable std::mutex lock;
    std::unordered_map<SourceId, std::shared_ptr<Source>> sources;
    std::map<std::string, TimerHeap, std::less<>> timers;
    std::unordered_map<int, Descriptor> descriptors;
    std::deque<std::function<void()>> performed;
    std::deque<std::function<void()>> mainQueue;
    bool mainQueueRunning = false; // a block of the main queue is on the stack
    std::vector<Frame *> frames;
    std::vector<std::string> pushedModes; // served instead of the default mode
    SourceId nextId = 1;
    std::uint64_t nextOrder = 0;

    std::function<void()> beforeIteration;
    std::function<void()> afterIteration;

private:
    Activity iterate(Frame &frame, double deadline);
    int waitMilliseconds(const Frame &frame, const std::string &mode, double deadline,
                         Activity activity);
    bool runPerformedBlocks();
    bool runMainQueueBlocks(const std::string &mode);
    bool fireDueTimers(const std::string &mode);
    bool handleReadableDescriptors(const std::string &mode, int timeoutMilliseconds);
    bool runDescriptorSources(int fd, const std::string &mode, bool afterOtherCallbacks);
    void moveToNextFireTime(const std::string &mode, double limit);

    // These need the lock held.
    void schedule(SourceId id, Source &timer);
    TimerHeap *earliestTimer(const std::string &mode);
    // The next timer of the mode that was scheduled before a pass began and due then.
    std::shared_ptr<Source> takeDueTimer(const std::string &mode, const TimerEntry &passBegan,
                                         SourceId &id);
    std::vector<SourceId> sourcesToRun(int fd, const std::string &mode) const;
    std::shared_ptr<Source> beginDescriptorSource(SourceId id, const std::string &mode);
    void syncArming();
    void setArmed(int fd, Descriptor &descriptor, bool armed);
    bool includes(const Source &source, std::string_view runMode) const;
    bool modeIsEmpty(std::string_view mode) const;
    bool mainQueueIsReady(std::string_view mode) const;
};

} // namespace sim
