#include "foundation/RunLoop.h"

#include "foundation/Clock.h"
#include "foundation/RunLoopImpl.h"

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <limits>
#include <mutex>
#include <unistd.h>

namespace sim {

namespace {

constexpr double kNoLimit = std::numeric_limits<double>::infinity();

// 0 until setMainThread() names a thread; the process's initial thread otherwise.
std::atomic<int> g_chosenMainThread{0};
std::atomic<RunLoop *> g_mainLoop{nullptr};

int currentThreadId()
{
    thread_local int id = gettid();
    return id;
}

int mainThreadId()
{
    int chosen = g_chosenMainThread.load();
    return chosen ? chosen : getpid();
}

// Keeps a run's frame on the loop's stack of runs, also when a callback throws.
class FrameScope {
public:
    FrameScope(RunLoop::Impl &loop, RunLoop::Impl::Frame &frame) : m_loop(loop), m_frame(frame)
    {
        m_loop.enter(m_frame);
    }
    ~FrameScope() { m_loop.leave(m_frame); }
    FrameScope(const FrameScope &) = delete;
    FrameScope &operator=(const FrameScope &) = delete;

private:
    RunLoop::Impl &m_loop;
    RunLoop::Impl::Frame &m_frame;
};

} // namespace

[[noreturn]] void failLoudly(const char *function, const char *why)
{
    std::fprintf(stderr, "%s: %s\n", function, why);
    std::abort();
}

RunLoop::RunLoop(int ownerThread) : m_impl(std::make_unique<Impl>(ownerThread)) {}

RunLoop::~RunLoop() = default;

// The main loop lives as long as the process: background threads may perform() onto it
// while static objects are being destroyed at exit.
RunLoop &RunLoop::main()
{
    static auto *loop = [] {
        auto *created = new std::shared_ptr<RunLoop>(new RunLoop(mainThreadId()));
        (*created)->m_impl->isMain = true;
        g_mainLoop.store(created->get());
        return created;
    }();
    return **loop;
}

// The thread's own loop; others may share it for a moment (to remove a source they had
// scheduled on it) and so outlive the thread briefly.
std::shared_ptr<RunLoop> &RunLoop::threadLoop()
{
    thread_local std::shared_ptr<RunLoop> loop;
    if (!loop)
        loop.reset(new RunLoop(currentThreadId()));
    return loop;
}

RunLoop &RunLoop::current()
{
    if (isMainThread())
        return main();
    return *threadLoop();
}

std::weak_ptr<RunLoop> RunLoop::currentReference()
{
    return current().weak_from_this();
}

bool RunLoop::isMainThread()
{
    return currentThreadId() == mainThreadId();
}

void RunLoop::setMainThread()
{
    RunLoop *existing = g_mainLoop.load();
    if (existing && existing->m_impl->ownerThread != currentThreadId())
        failLoudly("RunLoop::setMainThread", "another thread's main run loop is already in use");
    g_chosenMainThread.store(currentThreadId());
}

RunLoop::SourceId RunLoop::addFileDescriptor(int fd, std::function<void()> onReadable,
                                             std::string_view mode)
{
    if (fd < 0 || fcntl(fd, F_GETFD) < 0)
        failLoudly("RunLoop::addFileDescriptor", "the descriptor is not open");
    auto source = std::make_shared<Impl::Source>();
    source->fd = fd;
    source->callback = std::move(onReadable);
    source->modes.emplace_back(mode);
    return m_impl->add(std::move(source));
}

RunLoop::SourceId RunLoop::addTimer(double fireTime, double interval, std::function<void()> fire,
                                    std::string_view mode)
{
    auto source = std::make_shared<Impl::Source>();
    source->fireTime = fireTime;
    source->interval = interval > 0 ? interval : 0;
    source->callback = std::move(fire);
    source->modes.emplace_back(mode);
    return m_impl->add(std::move(source));
}

void RunLoop::removeSource(SourceId id)
{
    m_impl->remove(id);
}

void RunLoop::addTimerMode(SourceId timer, std::string_view mode)
{
    m_impl->addTimerMode(timer, mode);
}

void RunLoop::setFireTime(SourceId timer, double fireTime)
{
    m_impl->setFireTime(timer, fireTime);
}

double RunLoop::fireTime(SourceId timer) const
{
    std::lock_guard guard(m_impl->lock);
    auto found = m_impl->sources.find(timer);
    if (found == m_impl->sources.end() || !found->second->isTimer())
        return std::numeric_limits<double>::quiet_NaN();
    return found->second->fireTime;
}

void RunLoop::perform(std::function<void()> block)
{
    {
        std::lock_guard guard(m_impl->lock);
        m_impl->performed.push_back(std::move(block));
    }
    m_impl->wake();
}

void RunLoop::submitToMainQueue(std::function<void()> block)
{
    if (!m_impl->isMain)
        failLoudly("RunLoop::submitToMainQueue", "only the main run loop serves the main queue");
    {
        std::lock_guard guard(m_impl->lock);
        m_impl->mainQueue.push_back(std::move(block));
    }
    m_impl->wake();
}

RunResult RunLoop::runInMode(std::string_view mode, double seconds, bool returnAfterSourceHandled)
{
    Impl &loop = *m_impl;
    loop.checkOwnThread("RunLoop::runInMode");
    if (mode == kCommonModes)
        failLoudly("RunLoop::runInMode", "kCFRunLoopCommonModes is a set of modes, not a mode");
    double deadline = std::isinf(seconds) ? kNoLimit : now() + std::max(seconds, 0.0);
    Impl::Frame frame{std::string(mode), Impl::Frame::Kind::Run};
    FrameScope scope(loop, frame);
    return loop.run(frame, deadline, returnAfterSourceHandled);
}

void RunLoop::run()
{
    runInMode(kDefaultMode, kNoLimit, false);
}

void RunLoop::stop()
{
    {
        std::lock_guard guard(m_impl->lock);
        for (auto frame = m_impl->frames.rbegin(); frame != m_impl->frames.rend(); ++frame) {
            if ((*frame)->kind == Impl::Frame::Kind::Run) {
                (*frame)->stopped = true;
                break;
            }
        }
    }
    m_impl->wake();
}

std::string_view RunLoop::currentMode() const
{
    std::lock_guard guard(m_impl->lock);
    return m_impl->frames.empty() ? std::string_view() : m_impl->modeOf(*m_impl->frames.back());
}

void RunLoop::pushMode(std::string_view mode)
{
    m_impl->checkOwnThread("RunLoop::pushMode");
    if (mode == kCommonModes)
        failLoudly("RunLoop::pushMode", "kCFRunLoopCommonModes is a set of modes, not a mode");
    m_impl->pushMode(mode);
}

void RunLoop::popMode()
{
    m_impl->checkOwnThread("RunLoop::popMode");
    m_impl->popMode();
}

void RunLoop::setIterationObserver(std::function<void()> before, std::function<void()> after)
{
    m_impl->beforeIteration = std::move(before);
    m_impl->afterIteration = std::move(after);
}

void advanceVirtualClock(double seconds)
{
    if (!isVirtualClock())
        failLoudly("advanceVirtualClock", "the process runs on the real clock");
    if (!(seconds >= 0) || !std::isfinite(seconds))
        failLoudly("advanceVirtualClock", "time only moves forward, by a finite amount");
    RunLoop::Impl &loop = *RunLoop::main().m_impl;
    loop.checkOwnThread("advanceVirtualClock");
    std::string_view running = RunLoop::main().currentMode();
    RunLoop::Impl::Frame frame{std::string(running.empty() ? kDefaultMode : running),
                               RunLoop::Impl::Frame::Kind::TimePassing};
    FrameScope scope(loop, frame);
    loop.passTime(frame, now() + seconds);
}

bool RunLoop::Impl::isOwnThread() const
{
    return currentThreadId() == ownerThread;
}

void RunLoop::Impl::checkOwnThread(const char *function) const
{
    if (!isOwnThread())
        failLoudly(function, "a run loop runs only on its own thread");
}

} // namespace sim
