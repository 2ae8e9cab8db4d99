#include "foundation/CFRunLoop.h"

#include "foundation/Clock.h"

#include <algorithm>
#include <cmath>
#include <vector>

CFStringRef const kCFRunLoopDefaultMode = sim_constantString("kCFRunLoopDefaultMode");
CFStringRef const kCFRunLoopCommonModes = sim_constantString("kCFRunLoopCommonModes");
NSString *const NSDefaultRunLoopMode = kCFRunLoopDefaultMode;
NSString *const NSRunLoopCommonModes = kCFRunLoopCommonModes;

namespace {

Class g_cfRunLoopClass;
Class g_sourceClass;
Class g_nsRunLoopClass;

void sourceDealloc(CFRunLoopSource *self, SEL)
{
    CFRunLoopSourceInvalidate(self);
    msgSuper<void>(g_sourceClass, self, "dealloc"_sel);
}

const Class kRegistered = [] {
    g_cfRunLoopClass = ClassBuilder<CFRunLoop>("__CFRunLoop", "NSObject").registerClass();
    g_sourceClass = ClassBuilder<CFRunLoopSource>("__CFRunLoopSource", "NSObject")
                        .method("dealloc", sourceDealloc)
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
    if (!loop || !source)
        return;
    auto key = std::make_pair(loop->m_loop, std::string(sim::modeName(mode)));
    std::lock_guard guard(source->m_lock);
    if (!source->m_valid || source->m_scheduled.count(key))
        return;
    sim::RunLoop::SourceId id = source->m_schedule(*loop->m_loop, key.second);
    if (!id)
        return;
    objc_retain(source); // the run loop holds the source while it is scheduled
    source->m_scheduled[key] = {loop->m_loop->weak_from_this(), id};
}

namespace {

// Takes the scheduled entries out of the source's own loop registrations and lets go of
// the loop's references, after the source's lock is dropped.
void unschedule(CFRunLoopSourceRef source, std::vector<CFRunLoopSource::Scheduled> scheduled)
{
    for (const CFRunLoopSource::Scheduled &entry : scheduled) {
        // A loop whose thread has ended already dropped its sources.
        if (std::shared_ptr<sim::RunLoop> loop = entry.loop.lock())
            loop->removeSource(entry.id);
    }
    for (size_t i = 0; i < scheduled.size(); ++i)
        objc_release(source);
}

} // namespace

void CFRunLoopRemoveSource(CFRunLoopRef loop, CFRunLoopSourceRef source, CFStringRef mode)
{
    if (!loop || !source)
        return;
    std::vector<CFRunLoopSource::Scheduled> removed;
    {
        std::lock_guard guard(source->m_lock);
        auto found = source->m_scheduled.find(
            std::make_pair(loop->m_loop, std::string(sim::modeName(mode))));
        if (found == source->m_scheduled.end())
            return;
        removed.push_back(found->second);
        source->m_scheduled.erase(found);
    }
    unschedule(source, std::move(removed));
}

void CFRunLoopSourceInvalidate(CFRunLoopSourceRef source)
{
    if (!source)
        return;
    std::vector<CFRunLoopSource::Scheduled> removed;
    {
        std::lock_guard guard(source->m_lock);
        if (!source->m_valid)
            return;
        source->m_valid = false;
        for (const auto &[where, entry] : source->m_scheduled)
            removed.push_back(entry);
        source->m_scheduled.clear();
    }
    unschedule(source, std::move(removed));
}

Boolean CFRunLoopSourceIsValid(CFRunLoopSourceRef source)
{
    if (!source)
        return false;
    std::lock_guard guard(source->m_lock);
    return source->m_valid;
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

// CFRunLoopStop ends one run, not the wait for the date: the loop runs again until then.
void NSRunLoop::runUntilDate(NSDate *limit)
{
    for (;;) {
        double seconds = limit ? limit->timeIntervalSinceNow() : 0;
        if (seconds <= 0)
            return;
        if (m_cfLoop->m_loop->runInMode(sim::kDefaultMode, seconds, false) ==
            sim::RunResult::Finished)
            return;
    }
}

bool NSRunLoop::runModeBeforeDate(NSString *mode, NSDate *limit)
{
    double seconds = limit ? limit->timeIntervalSinceNow() : 0;
    return m_cfLoop->m_loop->runInMode(sim::modeName(mode), std::max(seconds, 0.0), true) !=
           sim::RunResult::Finished;
}
