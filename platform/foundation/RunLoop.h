#pragma once
// A run loop waits for work on its thread and runs it: file descriptors that became
// readable, timers whose fire time has come on the process clock (sim::now()), and
// blocks that any thread handed over with perform(). Each thread has its own loop; the
// main loop belongs to the process's initial thread and also carries the main
// dispatch queue.
//
// One iteration, inside an autorelease pool of its own, runs the blocks handed over so
// far, then (on the main loop, in a common mode) the main dispatch queue, then the timers that were
// due when it began (in order of fire time, ties in the order they were scheduled; timers scheduled
// meanwhile wait for the next iteration), then waits on epoll for the descriptors until the next
// timer, the run's time limit, or a wake-up, and runs the callbacks of the descriptors that are
// readable (level-triggered: a descriptor that stays readable fires again on the next iteration).
//
// Sources belong to a mode. A run services only the sources of its own mode, plus those
// added in kCommonModes when its mode is a common one (the default mode and
// "UITrackingRunLoopMode"). Runs nest: a callback may run the loop again, in the same
// mode or another, and stop() ends only the innermost run. A source never runs inside
// its own callback.
//
// On the virtual clock (see Clock.h) the main loop never sleeps for time: a run with a
// time limit polls its descriptors without waiting and, when nothing is left to do at
// the present instant, moves the clock to the next fire time within the limit, or to the
// limit itself. A run without limit (run(), or an infinite `seconds`) waits for real
// for descriptors, perform() and stop(), and only advanceVirtualClock() moves time.
// Other threads' loops wait for real and wake up whenever the virtual clock moves.

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

namespace sim {

inline constexpr std::string_view kDefaultMode = "kCFRunLoopDefaultMode";
inline constexpr std::string_view kTrackingMode = "UITrackingRunLoopMode";
// Not a mode to run in: a source added here runs in every common mode.
inline constexpr std::string_view kCommonModes = "kCFRunLoopCommonModes";

enum class RunResult {
    Finished,      // the mode has no sources, so nothing could ever happen
    Stopped,       // stop() was called
    TimedOut,      // the time limit passed
    HandledSource, // a descriptor or performed block ran and the caller asked to return then
};

class RunLoop : public std::enable_shared_from_this<RunLoop> {
public:
    // The main thread's loop: the process's initial thread, unless setMainThread() chose
    // another before the main loop was first used. Any thread may ask for it.
    static RunLoop &main();
    // The calling thread's own loop, created on first use and destroyed with the thread.
    static RunLoop &current();
    static bool isMainThread();
    // A reference to the calling thread's loop that knows when the thread has ended and
    // taken the loop with it (the main loop never ends).
    static std::weak_ptr<RunLoop> currentReference();
    // Makes the calling thread the main thread (for hosts that run the device's main
    // thread elsewhere). Stops loudly once another thread's main loop is in use.
    static void setMainThread();

    ~RunLoop();
    RunLoop(const RunLoop &) = delete;
    RunLoop &operator=(const RunLoop &) = delete;

    using SourceId = std::uint64_t;

    // Every source operation is thread-safe and wakes the loop when needed.

    // Calls `onReadable` while `fd` is readable. Several sources may watch one descriptor
    // (in different modes, say); remove them before closing it.
    SourceId addFileDescriptor(int fd, std::function<void()> onReadable,
                               std::string_view mode = kCommonModes);
    // Fires at `fireTime` (process clock seconds). A repeating timer (interval > 0) then
    // re-arms from its scheduled time, skipping fire times already past; a one-shot
    // timer removes itself after firing.
    SourceId addTimer(double fireTime, double interval, std::function<void()> fire,
                      std::string_view mode = kCommonModes);
    // Removes a source; safe inside any callback, including its own, and for a source
    // already gone.
    void removeSource(SourceId id);
    // Puts a timer in one more mode. It keeps its one fire time: it fires once per fire
    // time, in whichever of its modes the loop runs then.
    void addTimerMode(SourceId timer, std::string_view mode);
    // Moves a timer's next fire time (a repeating timer re-arms from it). Set inside the
    // timer's own callback, it replaces the re-arming that would follow.
    void setFireTime(SourceId timer, double fireTime);
    // The timer's next fire time; NaN for a source that is gone or no timer.
    double fireTime(SourceId timer) const;

    // Runs `block` once on this loop's thread at its next iteration, in any mode, in the
    // order blocks were performed. Thread-safe.
    void perform(std::function<void()> block);

    // Hands `block` to the main dispatch queue, which the main loop serves: its blocks run
    // in submission order, only in the common modes, each in its own autorelease pool, and
    // never inside one another (while a block of the queue runs the loop nested, later
    // blocks wait until it has returned). Thread-safe; stops loudly on another loop.
    void submitToMainQueue(std::function<void()> block);

    // Runs the loop in `mode` for at most `seconds` (infinity: no limit). Must be called
    // on the loop's own thread.
    RunResult runInMode(std::string_view mode, double seconds, bool returnAfterSourceHandled);
    // Runs in the default mode, without limit, until stop().
    void run();
    // Ends the innermost run in progress; does nothing when none is. Thread-safe; to stop
    // a run another thread has not begun yet, perform() the stop instead.
    void stop();
    // Makes runs in the default mode serve `mode` instead until popMode(): how the
    // application enters "UITrackingRunLoopMode" while a finger drags, so that timers of
    // the default mode alone wait until the finger lifts. Nests; on the loop's thread.
    void pushMode(std::string_view mode);
    void popMode();
    // The mode the innermost run serves, or empty when the loop is not running.
    std::string_view currentMode() const;

    // Calls `before` and `after` around every iteration, on the loop's thread (so the
    // owner can wrap each iteration in an autorelease pool). Set on the loop's thread.
    void setIterationObserver(std::function<void()> before, std::function<void()> after);

    // The machinery, private to the foundation library (RunLoopImpl.h).
    struct Impl;

private:
    explicit RunLoop(int ownerThread);
    static std::shared_ptr<RunLoop> &threadLoop();
    friend void advanceVirtualClock(double seconds);

    std::unique_ptr<Impl> m_impl;
};

} // namespace sim
