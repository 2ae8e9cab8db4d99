#pragma once
// The run loop under its platform names: CFRunLoop and its sources, NSRunLoop, and
// NSTimer. Each wraps the thread's sim::RunLoop (RunLoop.h), which does the work; these
// objects only translate modes (the platform names modes with strings such as
// kCFRunLoopCommonModes and NSDefaultRunLoopMode) and keep the platform's ownership:
// a run loop retains the timers and sources scheduled on it until they are invalidated
// or removed.

#include "foundation/CoreFoundation.h"
#include "foundation/NSData.h"
#include "foundation/RunLoop.h"

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

struct CFRunLoop : NSObject {
    sim::RunLoop *m_loop = nullptr;
};
using CFRunLoopRef = CFRunLoop *;

// A source knows how to put itself on a run loop in a mode (its `m_schedule` answers the
// loop's source identifier); the run loop then calls it back whenever it is ready.
// Sources that wait for a readable file descriptor are made with
// sim::makeDescriptorSource; Mach ports make theirs in platform/darwin.
// Any thread may add, remove and invalidate a source; a loop whose thread has ended
// lets go of the sources it held.
struct CFRunLoopSource : NSObject {
    struct Scheduled {
        std::weak_ptr<sim::RunLoop> loop;
        sim::RunLoop::SourceId id;
    };
    std::function<sim::RunLoop::SourceId(sim::RunLoop &loop, std::string_view mode)> m_schedule;
    std::mutex m_lock; // guards m_scheduled and m_valid
    std::map<std::pair<sim::RunLoop *, std::string>, Scheduled> m_scheduled;
    bool m_valid = true;
};
using CFRunLoopSourceRef = CFRunLoopSource *;

extern CFStringRef const kCFRunLoopDefaultMode;
extern CFStringRef const kCFRunLoopCommonModes;
extern NSString *const NSDefaultRunLoopMode;
extern NSString *const NSRunLoopCommonModes;

enum CFRunLoopRunResult : int {
    kCFRunLoopRunFinished = 1,
    kCFRunLoopRunStopped = 2,
    kCFRunLoopRunTimedOut = 3,
    kCFRunLoopRunHandledSource = 4,
};

CFRunLoopRef CFRunLoopGetCurrent();
CFRunLoopRef CFRunLoopGetMain();
void CFRunLoopRun();
CFRunLoopRunResult CFRunLoopRunInMode(CFStringRef mode, double seconds,
                                      Boolean returnAfterSourceHandled);
void CFRunLoopStop(CFRunLoopRef loop);
void CFRunLoopAddSource(CFRunLoopRef loop, CFRunLoopSourceRef source, CFStringRef mode);
void CFRunLoopRemoveSource(CFRunLoopRef loop, CFRunLoopSourceRef source, CFStringRef mode);
void CFRunLoopSourceInvalidate(CFRunLoopSourceRef source);
Boolean CFRunLoopSourceIsValid(CFRunLoopSourceRef source);

namespace sim {
// A source that calls `perform` on its run loop's thread whenever `fd` is readable. The
// caller owns the result.
CFRunLoopSourceRef makeDescriptorSource(int fd, std::function<void()> perform);
// A source scheduled by `schedule`, for sources of other kinds. The caller owns the result.
CFRunLoopSourceRef
makeSource(std::function<RunLoop::SourceId(RunLoop &, std::string_view mode)> schedule);
// The sim::RunLoop mode name for a platform mode string.
std::string_view modeName(NSString *mode);
} // namespace sim

// A timer has one fire date, shared by every mode it was added to on its run loop (a
// timer belongs to one loop; adding it to another is ignored). A repeating timer re-arms
// from its fire date; a one-shot timer invalidates itself once it has fired. Its target
// or block and its user info are held until it is invalidated. Invalidating is safe from
// any thread, also after the thread of the loop it was on has ended.
struct NSTimer : NSObject {
    NSTimeInterval m_interval = 0;
    bool m_repeats = false;
    std::atomic<bool> m_valid{true};
    double m_fireTime = 0; // the process clock's; the loop keeps it once scheduled
    StrongRef<objc_object> m_target;
    SEL m_selector = nullptr;
    StrongRef<objc_object> m_userInfo;
    std::function<void(NSTimer *)> m_block;
    std::mutex m_lock; // guards the members below, and the target, user info and block
    std::weak_ptr<sim::RunLoop> m_loop;
    sim::RunLoop::SourceId m_source = 0;

    static Class class_();
    // Scheduled on the current run loop in the default mode; the run loop keeps it.
    static NSTimer *scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(
        NSTimeInterval interval, id target, SEL selector, id userInfo, bool repeats);
    static NSTimer *
    scheduledTimerWithTimeIntervalRepeatsBlock(NSTimeInterval interval, bool repeats,
                                               std::function<void(NSTimer *)> block);
    // Not scheduled: hand it to NSRunLoop::addTimerForMode.
    static NSTimer *timerWithTimeIntervalTargetSelectorUserInfoRepeats(NSTimeInterval interval,
                                                                       id target, SEL selector,
                                                                       id userInfo, bool repeats);

    // These are also the messages -invalidate, -isValid, -fire, -userInfo, -timeInterval,
    // -fireDate and -setFireDate:.
    void invalidate();
    bool isValid() const { return m_valid; }
    // Sends the action now; the schedule stays as it is, and a one-shot timer is done.
    void fire();
    id userInfo();
    NSTimeInterval timeInterval() const { return m_repeats ? m_interval : 0; }
    NSDate *fireDate();
    void setFireDate(NSDate *date);
};

struct NSRunLoop : NSObject {
    CFRunLoopRef m_cfLoop = nullptr;

    static Class class_();
    static NSRunLoop *currentRunLoop();
    static NSRunLoop *mainRunLoop();

    void addTimerForMode(NSTimer *timer, NSString *mode);
    // Runs the loop in the default mode until the date (nested runs allowed); a
    // CFRunLoopStop meanwhile ends one run and the next begins. Returns at once when the
    // mode has nothing to run.
    void runUntilDate(NSDate *limit);
    // Runs one pass in the mode, at most until the date; false when the mode has nothing
    // to run.
    bool runModeBeforeDate(NSString *mode, NSDate *limit);
    CFRunLoopRef getCFRunLoop() const { return m_cfLoop; }
};
