#include "foundation/CFRunLoop.h"

#include "foundation/Clock.h"

#include <algorithm>
#include <cmath>

CFStringRef const kCFRunLoopDefaultMode = sim_constantString("kCFRunLoopDefaultMode");
CFStringRef const kCFRunLoopCommonModes = sim_constantString("kCFRunLoopCommonModes");
NSString *const NSDefaultRunLoopMode = kCFRunLoopDefaultMode;
NSString *const NSRunLoopCommonModes = kCFRunLoopCommonModes;

namespace {

Class g_cfRunLoopClass;
Class g_sourceClass;
Class g_timerClass;
Class g_nsRunLoopClass;

// The platform holds timers to at least a tenth of a millisecond.
constexpr NSTimeInterval kShortestInterval = 0.0001;

void sourceDealloc(CFRunLoopSource *self, SEL)
{
    CFRunLoopSourceInvalidate(self);
    msgSuper<void>(g_sourceClass, self, "dealloc"_sel);
}

void timerDealloc(NSTimer *self, SEL)
{
    self->invalidate();
    msgSuper<void>(g_timerClass, self, "dealloc"_sel);
}

const Class kRegistered = [] {
    g_cfRunLoopClass = ClassBuilder<CFRunLoop>("__CFRunLoop", "NSObject").registerClass();
    g_sourceClass = ClassBuilder<CFRunLoopSource>("__CFRunLoopSource", "NSObject")
                        .method("dealloc", sourceDealloc)
                        .registerClass();
    g_timerClass = ClassBuilder<NSTimer>("NSTimer", "NSObject")
                       .method("dealloc", timerDealloc)
                       .registerClass();
    g_nsRunLoopClass = ClassBuilder<NSRunLoop>("NSRunLoop", "NSObject").registerClass();
    return g_cfRunLoopClass;
}();

CFRunLoopRef wrap(sim::RunLoop &loop)
{
    auto *wrapper = sim::create<CFRunLoop>(g_cfRunLoopClass);
    wrapper->m_loop = &loop;
    return wrapper;
}

// One wrapper per thread, living as long as the thread (the main thread's for the life
// of the process).
struct ThreadWrappers {
    StrongRef<CFRunLoop> cfLoop;
    StrongRef<NSRunLoop> nsLoop;
};

ThreadWrappers &wrappersOfThisThread()
{
    thread_local ThreadWrappers wrappers;
    if (!wrappers.cfLoop) {
        wrappers.cfLoop = StrongRef<CFRunLoop>::adopt(wrap(sim::RunLoop::current()));
        auto *nsLoop = sim::create<NSRunLoop>(g_nsRunLoopClass);
        nsLoop->m_cfLoop = wrappers.cfLoop.get();
        wrappers.nsLoop = StrongRef<NSRunLoop>::adopt(nsLoop);
    }
    return wrappers;
}

NSRunLoop *mainWrapper()
{
    static NSRunLoop *const main = [] {
        auto *loop = sim::create<NSRunLoop>(g_nsRunLoopClass);
        loop->m_cfLoop = wrap(sim::RunLoop::main());
        return loop;
    }();
    return main;
}

CFRunLoopRunResult translate(sim::RunResult result)
{
    switch (result) {
    case sim::RunResult::Finished:
        return kCFRunLoopRunFinished;
    case sim::RunResult::Stopped:
        return kCFRunLoopRunStopped;
    case sim::RunResult::TimedOut:
        return kCFRunLoopRunTimedOut;
    case sim::RunResult::HandledSource:
        return kCFRunLoopRunHandledSource;
    }
    return kCFRunLoopRunFinished;
}

NSTimer *newTimer(NSTimeInterval interval, bool repeats)
{
    auto *timer = sim::create<NSTimer>(g_timerClass);
    timer->m_interval = std::max(std::isfinite(interval) ? interval : 0.0, kShortestInterval);
    timer->m_repeats = repeats;
    timer->m_fireTime = sim::now() + timer->m_interval;
    return timer;
}

} // namespace

namespace sim {

std::string_view modeName(NSString *mode)
{
    if (!mode)
        return kDefaultMode;
    return mode->str();
}

CFRunLoopSourceRef
makeSource(std::function<RunLoop::SourceId(RunLoop &, std::string_view mode)> schedule)
{
    auto *source = sim::create<CFRunLoopSource>(g_sourceClass);
    source->m_schedule = std::move(schedule);
    return source;
}

CFRunLoopSourceRef makeDescriptorSource(int fd, std::function<void()> perform)
{
    return makeSource([fd, perform = std::move(perform)](RunLoop &loop, std::string_view mode) {
        return loop.addFileDescriptor(fd, perform, mode);
    });
}

} // namespace sim

CFRunLoopRef CFRunLoopGetCurrent()
{
    if (sim::RunLoop::isMainThread())
        return mainWrapper()->m_cfLoop;
    return wrappersOfThisThread().cfLoop.get();
}

CFRunLoopRef CFRunLoopGetMain()
{
    return mainWrapper()->m_cfLoop;
}

void CFRunLoopRun()
{
    CFRunLoopGetCurrent()->m_loop->run();
}

CFRunLoopRunResult CFRunLoopRunInMode(CFStringRef mode, double seconds,
                                      Boolean returnAfterSourceHandled)
{
    sim::RunLoop &loop = *CFRunLoopGetCurrent()->m_loop;
    return translate(loop.runInMode(sim::modeName(mode), seconds, returnAfterSourceHandled));
}

void CFRunLoopStop(CFRunLoopRef loop)
{
    if (loop)
        loop->m_loop->stop();
}

void CFRunLoopAddSource(CFRunLoopRef loop, CFRunLoopSourceRef source, CFStringRef mode)
{
    if (!loop || !source || !source->m_valid)
        return;
    auto key = std::make_pair(loop->m_loop, std::string(sim::modeName(mode)));
    if (source->m_scheduled.count(key))
        return;
    sim::RunLoop::SourceId id = source->m_schedule(*loop->m_loop, key.second);
    if (!id)
        return;
    objc_retain(source); // the run loop holds the source while it is scheduled
    source->m_scheduled[key] = id;
}

void CFRunLoopRemoveSource(CFRunLoopRef loop, CFRunLoopSourceRef source, CFStringRef mode)
{
    if (!loop || !source)
        return;
    auto found =
        source->m_scheduled.find(std::make_pair(loop->m_loop, std::string(sim::modeName(mode))));
    if (found == source->m_scheduled.end())
        return;
    found->first.first->removeSource(found->second);
    source->m_scheduled.erase(found);
    objc_release(source);
}

void CFRunLoopSourceInvalidate(CFRunLoopSourceRef source)
{
    if (!source || !source->m_valid)
        return;
    source->m_valid = false;
    auto scheduled = std::move(source->m_scheduled);
    source->m_scheduled.clear();
    for (const auto &[where, id] : scheduled)
        where.first->removeSource(id);
    for (size_t i = 0; i < scheduled.size(); ++i)
        objc_release(source);
}

Boolean CFRunLoopSourceIsValid(CFRunLoopSourceRef source)
{
    return source && source->m_valid;
}

Class NSTimer::class_()
{
    return g_timerClass;
}

NSTimer *NSTimer::timerWithTimeIntervalTargetSelectorUserInfoRepeats(NSTimeInterval interval,
                                                                     id target, SEL selector,
                                                                     id userInfo, bool repeats)
{
    NSTimer *timer = newTimer(interval, repeats);
    timer->m_target = target;
    timer->m_selector = selector;
    timer->m_userInfo = userInfo;
    return autorelease(timer);
}

NSTimer *NSTimer::scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(
    NSTimeInterval interval, id target, SEL selector, id userInfo, bool repeats)
{
    NSTimer *timer = timerWithTimeIntervalTargetSelectorUserInfoRepeats(interval, target, selector,
                                                                        userInfo, repeats);
    NSRunLoop::currentRunLoop()->addTimerForMode(timer, NSDefaultRunLoopMode);
    return timer;
}

NSTimer *NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(NSTimeInterval interval, bool repeats,
                                                             std::function<void(NSTimer *)> block)
{
    NSTimer *timer = autorelease(newTimer(interval, repeats));
    timer->m_block = std::move(block);
    NSRunLoop::currentRunLoop()->addTimerForMode(timer, NSDefaultRunLoopMode);
    return timer;
}

void NSTimer::fire()
{
    if (!m_valid)
        return;
    StrongRef<NSTimer> keepAlive(this); // the callback may invalidate the last owner
    if (m_block)
        m_block(this);
    else if (m_target)
        msg<void>(m_target.get(), m_selector, static_cast<id>(this));
    if (!m_repeats)
        invalidate();
}

void NSTimer::invalidate()
{
    if (!m_valid)
        return;
    m_valid = false;
    auto scheduled = std::move(m_scheduled);
    m_scheduled.clear();
    for (auto [loop, id] : scheduled)
        loop->removeSource(id);
    m_target = StrongRef<objc_object>();
    m_block = nullptr;
    for (size_t i = 0; i < scheduled.size(); ++i)
        objc_release(this);
}

Class NSRunLoop::class_()
{
    return g_nsRunLoopClass;
}

NSRunLoop *NSRunLoop::currentRunLoop()
{
    if (sim::RunLoop::isMainThread())
        return mainWrapper();
    return wrappersOfThisThread().nsLoop.get();
}

NSRunLoop *NSRunLoop::mainRunLoop()
{
    return mainWrapper();
}

void NSRunLoop::addTimerForMode(NSTimer *timer, NSString *mode)
{
    if (!timer || !timer->m_valid)
        return;
    objc_retain(timer); // the run loop keeps a scheduled timer
    sim::RunLoop *loop = m_cfLoop->m_loop;
    auto id = loop->addTimer(
        timer->m_fireTime, timer->m_repeats ? timer->m_interval : 0, [timer] { timer->fire(); },
        sim::modeName(mode));
    timer->m_scheduled.emplace_back(loop, id);
}

void NSRunLoop::runUntilDate(NSDate *limit)
{
    double seconds = limit ? limit->timeIntervalSinceNow() : 0;
    m_cfLoop->m_loop->runInMode(sim::kDefaultMode, std::max(seconds, 0.0), false);
}

bool NSRunLoop::runModeBeforeDate(NSString *mode, NSDate *limit)
{
    double seconds = limit ? limit->timeIntervalSinceNow() : 0;
    return m_cfLoop->m_loop->runInMode(sim::modeName(mode), std::max(seconds, 0.0), true) !=
           sim::RunResult::Finished;
}
