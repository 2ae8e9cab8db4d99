#include "foundation/RunLoop.h"
#include "foundation/Clock.h"
#include "foundation/tests/Watchdog.h"
#include "objc/ClassBuilder.h"

#include <future>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

using sim::RunLoop;
using sim::RunResult;
using Events = std::vector<std::string>;

namespace {

// Tests on the main loop, which outlives each test: the sources a test adds are removed
// when it ends, and the clock is virtual unless the test says otherwise.
class MainRunLoop : public testing::Test {
protected:
    void SetUp() override { sim::useVirtualClock(0); }

    void TearDown() override
    {
        for (RunLoop::SourceId id : m_sources)
            loop().removeSource(id);
        sim::useRealClock();
    }

    static RunLoop &loop() { return RunLoop::main(); }

    RunLoop::SourceId timer(double fireTime, std::function<void()> fire,
                            std::string_view mode = sim::kCommonModes, double interval = 0)
    {
        m_sources.push_back(loop().addTimer(fireTime, interval, std::move(fire), mode));
        return m_sources.back();
    }

    RunLoop::SourceId descriptor(int fd, std::function<void()> onReadable)
    {
        m_sources.push_back(loop().addFileDescriptor(fd, std::move(onReadable)));
        return m_sources.back();
    }

    // Records "name@time", the time on the process clock.
    std::function<void()> record(std::string name)
    {
        return [this, name] {
            std::ostringstream event;
            event << name << "@" << sim::now();
            m_events.push_back(event.str());
        };
    }

    std::vector<RunLoop::SourceId> m_sources;
    std::vector<std::string> m_events;
};

// An object that counts how many of its kind were freed.
struct Counted : NSObject {
    static inline int s_freed = 0;
    ~Counted() { ++s_freed; }
};

Class countedClass()
{
    static Class cls = ClassBuilder<Counted>("RunLoopTestCounted", "NSObject").registerClass();
    return cls;
}

// A pipe closed when the test ends.
struct Pipe {
    Pipe() { EXPECT_EQ(pipe(fds), 0); }
    ~Pipe()
    {
        close(fds[0]);
        close(fds[1]);
    }
    void write(char byte) { ASSERT_EQ(::write(fds[1], &byte, 1), 1); }
    char read()
    {
        char byte = 0;
        EXPECT_EQ(::read(fds[0], &byte, 1), 1);
        return byte;
    }
    int readEnd() const { return fds[0]; }
    int fds[2] = {-1, -1};
};

// Ready descriptors and performed blocks run at once; timers fire in due order, each at its
// own time; work a timer adds for the same instant runs before time moves on.
TEST_F(MainRunLoop, AdvancingRunsEachPieceOfWorkInOrderAtItsOwnTime)
{
    Pipe pipe;
    pipe.write('x');
    descriptor(pipe.readEnd(), [&] {
        pipe.read();
        record("readable")();
    });
    loop().perform(record("performed"));
    timer(3, record("three"));
    timer(1, record("one"));
    timer(2, record("two"));
    timer(1, [&] {
        record("one again")();
        loop().perform(record("performed by one"));
        timer(sim::now(), record("timer for now"));
        timer(1.5, record("later timer"));
    });

    sim::advanceVirtualClock(2.5);
    EXPECT_EQ(m_events,
              (Events{"performed@0", "readable@0", "one@1", "one again@1", "performed by one@1",
                      "timer for now@1", "later timer@1.5", "two@2"}));
    EXPECT_EQ(sim::now(), 2.5);
    sim::advanceVirtualClock(1);
    EXPECT_EQ(m_events.back(), "three@3");
}

TEST_F(MainRunLoop, RepeatingTimerReArmsFromItsScheduledTimeSkippingMissedFires)
{
    bool first = true;
    timer(
        1,
        [&] {
            record("tick")();
            if (std::exchange(first, false)) // holds the timer up until 3.5
                loop().runInMode(sim::kDefaultMode, 2.5, false);
        },
        sim::kCommonModes, 1);

    sim::advanceVirtualClock(5);
    EXPECT_EQ(m_events, (Events{"tick@1", "tick@4", "tick@5"}));
}

TEST_F(MainRunLoop, CommonModeSourcesRunInTrackingModeButDefaultOnlySourcesWait)
{
    timer(1, record("common"));
    timer(1, record("default only"), sim::kDefaultMode);
    timer(1, record("tracking only"), sim::kTrackingMode);

    EXPECT_EQ(loop().runInMode(sim::kTrackingMode, 2, false), RunResult::TimedOut);
    EXPECT_EQ(m_events, (Events{"common@1", "tracking only@1"}));

    // A mode that is not common runs only its own sources, and once its one timer has
    // fired it is finished, before its limit.
    timer(2.2, record("common, later"));
    timer(2.5, record("private"), "PrivateMode");
    EXPECT_EQ(loop().runInMode("PrivateMode", 1, false), RunResult::Finished);
    EXPECT_EQ(m_events.back(), "private@2.5");

    // Back in the default mode, the overdue timers fire at once, in due order.
    EXPECT_EQ(loop().runInMode(sim::kDefaultMode, 0, false), RunResult::TimedOut);
    EXPECT_EQ(m_events, (Events{"common@1", "tracking only@1", "private@2.5", "default only@2.5",
                                "common, later@2.5"}));
}

TEST_F(MainRunLoop, NestedRunServicesItsOwnModeThenTheOuterRunResumes)
{
    std::string modeInside;
    RunResult nested = RunResult::Finished;
    timer(
        1,
        [&] {
            nested = loop().runInMode(sim::kTrackingMode, 2, false);
            record("nested run ended")();
        },
        sim::kDefaultMode);
    timer(1.5, record("default only"), sim::kDefaultMode);
    timer(2, [&] {
        modeInside = loop().currentMode();
        record("common")();
    });
    timer(4, [&] { loop().stop(); });

    EXPECT_EQ(loop().runInMode(sim::kDefaultMode, 10, false), RunResult::Stopped);
    EXPECT_EQ(nested, RunResult::TimedOut);
    EXPECT_EQ(modeInside, sim::kTrackingMode);
    EXPECT_EQ(m_events, (Events{"common@2", "nested run ended@3", "default only@3"}));
    EXPECT_EQ(sim::now(), 4);
}

TEST_F(MainRunLoop, StopEndsOnlyTheInnermostRun)
{
    RunResult inner = RunResult::Finished;
    timer(1, [&] {
        inner = loop().runInMode(sim::kDefaultMode, 5, false);
        record("inner ended")();
    });
    timer(2, [&] { loop().stop(); });
    timer(3, record("outer still running"));

    EXPECT_EQ(loop().runInMode(sim::kDefaultMode, 10, false), RunResult::TimedOut);
    EXPECT_EQ(inner, RunResult::Stopped);
    EXPECT_EQ(m_events, (Events{"inner ended@2", "outer still running@3"}));
    EXPECT_EQ(sim::now(), 10);
}

TEST_F(MainRunLoop, StopDuringAnAdvanceEndsTheEnclosingRunOnceTheAdvanceIsDone)
{
    timer(1, [&] {
        sim::advanceVirtualClock(2);
        record("advance done")();
    });
    timer(2, [&] { loop().stop(); });
    timer(2.5, record("time still passing"));

    EXPECT_EQ(loop().runInMode(sim::kDefaultMode, 10, false), RunResult::Stopped);
    EXPECT_EQ(m_events, (Events{"time still passing@2.5", "advance done@3"}));
    EXPECT_EQ(sim::now(), 3);
}

TEST_F(MainRunLoop, ReturnsAfterAHandledSourceButNotAfterATimer)
{
    timer(1, record("timer"));
    EXPECT_EQ(loop().runInMode(sim::kDefaultMode, 2, true), RunResult::TimedOut);
    EXPECT_EQ(m_events.size(), 1u);

    loop().perform(record("performed"));
    EXPECT_EQ(loop().runInMode(sim::kDefaultMode, 5, true), RunResult::HandledSource);
    EXPECT_EQ(m_events.back(), "performed@2");
    EXPECT_EQ(sim::now(), 2);
}

TEST_F(MainRunLoop, SeveralSourcesWatchOneDescriptorEachInItsMode)
{
    Pipe pipe;
    auto readInto = [&](std::string name) {
        return [&, name] {
            pipe.read(); // blocking: a source must not run once the byte is gone
            record(name)();
        };
    };
    m_sources.push_back(
        loop().addFileDescriptor(pipe.readEnd(), readInto("default"), sim::kDefaultMode));
    m_sources.push_back(
        loop().addFileDescriptor(pipe.readEnd(), readInto("tracking"), sim::kTrackingMode));
    pipe.write('a');
    EXPECT_EQ(loop().runInMode(sim::kTrackingMode, 1, true), RunResult::HandledSource);
    pipe.write('b');
    EXPECT_EQ(loop().runInMode(sim::kDefaultMode, 1, true), RunResult::HandledSource);

    // Both watch in the common modes now; the first to run takes the only byte.
    loop().removeSource(m_sources[0]);
    descriptor(pipe.readEnd(), readInto("common"));
    pipe.write('c');
    {
        Watchdog watchdog("a descriptor drained by its first source");
        EXPECT_EQ(loop().runInMode(sim::kTrackingMode, 1, true), RunResult::HandledSource);
    }
    EXPECT_EQ(m_events, (Events{"tracking@0", "default@0", "tracking@0"}));
}

TEST_F(MainRunLoop, SourcesRemovedInsideTheirOwnCallbackFireNoMore)
{
    Pipe pipe;
    pipe.write('x');
    int descriptorFired = 0;
    RunLoop::SourceId descriptorId = 0, timerId = 0;
    descriptorId = descriptor(pipe.readEnd(), [&] {
        ++descriptorFired;
        loop().removeSource(descriptorId); // without reading: the pipe stays readable
    });
    int timerFired = 0;
    timerId = timer(
        1,
        [&] {
            if (++timerFired == 3)
                loop().removeSource(timerId);
        },
        sim::kCommonModes, 1);

    sim::advanceVirtualClock(10);
    EXPECT_EQ(descriptorFired, 1);
    EXPECT_EQ(timerFired, 3);
}

TEST_F(MainRunLoop, IterationObserverBracketsEveryIteration)
{
    int before = 0;
    int after = 0;
    loop().setIterationObserver([&] { ++before; }, [&] { ++after; });
    std::vector<int> openInsideWork;
    loop().perform([&] { openInsideWork.push_back(before - after); });
    timer(1, [&] { openInsideWork.push_back(before - after); });

    sim::advanceVirtualClock(2);
    loop().setIterationObserver(nullptr, nullptr);
    EXPECT_EQ(openInsideWork, (std::vector<int>{1, 1}));
    EXPECT_GE(before, 2);
    EXPECT_EQ(before, after);
}

TEST_F(MainRunLoop, EveryIterationDrainsItsOwnAutoreleasePoolNestedRunsIncluded)
{
    AutoreleasePool test;
    Counted::s_freed = 0;
    timer(
        1, [] { sim::make(countedClass()); }, sim::kCommonModes, 1);
    loop().runInMode(sim::kDefaultMode, 10.5, false);
    EXPECT_EQ(Counted::s_freed, 10);

    Counted::s_freed = 0;
    int freedWhenNestedRunEnded = -1;
    timer(
        12, [] { sim::make(countedClass()); }, "private", 1);
    timer(11, [&] {
        sim::make(countedClass()); // belongs to this callback's iteration, not the nested ones
        loop().runInMode("private", 5.5, false);
        freedWhenNestedRunEnded = Counted::s_freed;
    });
    loop().runInMode(sim::kDefaultMode, 6, false);
    EXPECT_EQ(freedWhenNestedRunEnded, 5);
    // With the one of this callback and the one the common timer made in the same pass.
    EXPECT_EQ(Counted::s_freed, 5 + 2);
}

TEST_F(MainRunLoop, RunWithoutLimitWaitsForRealOnTheVirtualClock)
{
    timer(1, record("later timer"));
    std::thread other([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        RunLoop::main().perform([] { RunLoop::main().stop(); });
    });
    {
        Watchdog watchdog("run() until another thread performs stop");
        loop().run();
    }
    other.join();
    EXPECT_TRUE(m_events.empty());
    EXPECT_EQ(sim::now(), 0);
}

TEST_F(MainRunLoop, OnTheRealClockTimersWaitTheirDelayAndADescriptorWakesTheLoop)
{
    sim::useRealClock();
    double start = sim::now();
    double firedAt = 0;
    timer(start + 0.03, [&] {
        firedAt = sim::now();
        loop().stop();
    });
    EXPECT_EQ(loop().runInMode(sim::kDefaultMode, 5, false), RunResult::Stopped);
    EXPECT_GE(firedAt, start + 0.03);

    Pipe pipe;
    std::vector<char> received;
    descriptor(pipe.readEnd(), [&] { received.push_back(pipe.read()); });
    EXPECT_EQ(loop().runInMode(sim::kDefaultMode, 0.01, true), RunResult::TimedOut);
    EXPECT_TRUE(received.empty());
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        pipe.write('y');
    });
    EXPECT_EQ(loop().runInMode(sim::kDefaultMode, 5, true), RunResult::HandledSource);
    writer.join();
    EXPECT_EQ(received, std::vector<char>{'y'});
}

TEST_F(MainRunLoop, DescriptorWhoseCallbackRunsTheLoopLetsTheNestedRunSleep)
{
    sim::useRealClock();
    Pipe pipe;
    pipe.write('z');
    int iterations = 0;
    RunResult nested = RunResult::Finished;
    descriptor(pipe.readEnd(), [&] {
        loop().setIterationObserver([&] { ++iterations; }, nullptr);
        nested = loop().runInMode(sim::kDefaultMode, 0.05, false);
        loop().setIterationObserver(nullptr, nullptr);
        pipe.read();
    });

    EXPECT_EQ(loop().runInMode(sim::kDefaultMode, 5, true), RunResult::HandledSource);
    EXPECT_EQ(nested, RunResult::TimedOut);
    // Still readable, the descriptor would wake every iteration if it stayed in epoll.
    EXPECT_LT(iterations, 10);
}

TEST(ThreadRunLoop, EachThreadHasItsOwnLoopThatFinishesWhenEmpty)
{
    RunResult result = RunResult::Stopped;
    RunLoop *threadLoop = nullptr;
    std::thread other([&] {
        threadLoop = &RunLoop::current();
        result = threadLoop->runInMode(sim::kDefaultMode, 1, false);
    });
    other.join();
    EXPECT_NE(threadLoop, &RunLoop::main());
    EXPECT_EQ(&RunLoop::current(), &RunLoop::main());
    EXPECT_TRUE(RunLoop::isMainThread());
    EXPECT_EQ(result, RunResult::Finished);
}

TEST(ThreadRunLoop, WakesWhenTheVirtualClockReachesItsTimer)
{
    sim::useVirtualClock(0);
    std::promise<void> scheduled;
    double firedAt = -1;
    RunResult result = RunResult::Finished;
    std::thread other([&] {
        RunLoop &own = RunLoop::current();
        own.addTimer(1, 0, [&] {
            firedAt = sim::now();
            own.stop();
        });
        scheduled.set_value();
        result = own.runInMode(sim::kDefaultMode, 100, false);
    });
    {
        Watchdog watchdog("a thread's loop waking for the virtual clock");
        scheduled.get_future().wait();
        // Gives the thread time to fall asleep in its loop, so that only the advance can
        // wake it.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        sim::advanceVirtualClock(1);
        other.join();
    }
    sim::useRealClock();
    EXPECT_EQ(result, RunResult::Stopped);
    EXPECT_EQ(firedAt, 1);
}

TEST(ThreadRunLoop, RunningAnotherThreadsLoopStopsLoudly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(std::thread([] { RunLoop::main().runInMode(sim::kDefaultMode, 0, false); }).join(),
                 "RunLoop::runInMode: a run loop runs only on its own thread");
    EXPECT_DEATH(RunLoop::main().runInMode(sim::kCommonModes, 0, false),
                 "kCFRunLoopCommonModes is a set of modes");
}

} // namespace
