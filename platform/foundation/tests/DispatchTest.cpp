#include "foundation/dispatch.h"
#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "foundation/tests/Watchdog.h"
#include "objc/ClassBuilder.h"

#include <atomic>
#include <cmath>
#include <filesystem>
#include <future>
#include <gtest/gtest.h>
#include <latch>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using sim::RunLoop;
using sim::RunResult;

namespace {

dispatch_time_t inMilliseconds(std::int64_t milliseconds)
{
    return dispatch_time(DISPATCH_TIME_NOW,
                         milliseconds * static_cast<std::int64_t>(NSEC_PER_MSEC));
}

// Whether the promise is kept within the limit; asked once of each promise.
bool keptWithin(std::promise<void> &promise, std::chrono::seconds limit)
{
    return promise.get_future().wait_for(limit) == std::future_status::ready;
}

// An object that counts how many of its kind were freed.
struct Counted : NSObject {
    static inline std::atomic<int> s_freed = 0;
    ~Counted() { ++s_freed; }
};

Class countedClass()
{
    static Class cls = ClassBuilder<Counted>("DispatchTestCounted", "NSObject").registerClass();
    return cls;
}

TEST(DispatchTime, CountsNanosecondsOnTheProcessClock)
{
    sim::useVirtualClock(2);
    EXPECT_EQ(dispatch_time(DISPATCH_TIME_NOW, 500 * NSEC_PER_MSEC), 2500 * NSEC_PER_MSEC);
    EXPECT_EQ(dispatch_time(7 * NSEC_PER_SEC, -static_cast<std::int64_t>(NSEC_PER_SEC)),
              6 * NSEC_PER_SEC);
    EXPECT_EQ(dispatch_time(DISPATCH_TIME_NOW, -3 * static_cast<std::int64_t>(NSEC_PER_SEC)),
              DISPATCH_TIME_NOW);
    EXPECT_EQ(dispatch_time(DISPATCH_TIME_FOREVER, -1), DISPATCH_TIME_FOREVER);
    sim::useRealClock();
}

TEST(MainQueue, BlocksRunOnTheMainLoopInSubmissionAndDueOrder)
{
    sim::useVirtualClock(0);
    std::vector<std::string> ran; // "name@time"
    auto record = [&](std::string name) {
        return [&ran, name] {
            ran.push_back(name + "@" + std::to_string(std::lround(sim::now() * 1000)));
        };
    };
    dispatch_queue_t main = dispatch_get_main_queue();
    dispatch_after(inMilliseconds(300), main, record("after 300"));
    dispatch_after(inMilliseconds(100), main, record("after 100"));
    dispatch_after(inMilliseconds(200), main, record("after 200"));
    dispatch_after(inMilliseconds(100), main, record("after 100 again"));
    dispatch_after(DISPATCH_TIME_FOREVER, main, record("never"));
    dispatch_async(main, record("async"));
    dispatch_async(main, record("async again"));
    sim::advanceVirtualClock(0.15);
    EXPECT_EQ(ran.size(), 4u);
    sim::advanceVirtualClock(10);
    EXPECT_EQ(ran,
              (std::vector<std::string>{"async@0", "async again@0", "after 100@100",
                                        "after 100 again@100", "after 200@200", "after 300@300"}));
    sim::useRealClock();
}

TEST(MainQueue, SyncFromAnotherThreadWaitsForTheMainLoop)
{
    std::thread::id ranOn;
    bool sawBlockDone = false;
    std::thread other([&] {
        bool done = false;
        dispatch_sync(dispatch_get_main_queue(), [&] {
            ranOn = std::this_thread::get_id();
            done = true;
        });
        sawBlockDone = done;
        dispatch_async(dispatch_get_main_queue(), [] { RunLoop::main().stop(); });
    });
    EXPECT_EQ(RunLoop::main().runInMode(sim::kDefaultMode, 5, false), RunResult::Stopped);
    other.join();
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    EXPECT_TRUE(sawBlockDone);
}

TEST(MainQueue, StaysSerialWhileABlockRunsTheLoopNestedAndWaitsOutPrivateModes)
{
    sim::useVirtualClock(0);
    std::vector<std::string> ran;
    dispatch_queue_t main = dispatch_get_main_queue();
    dispatch_async(main, [&] {
        ran.push_back("A-begin");
        dispatch_async(main, [&] { ran.push_back("C"); });
        RunLoop::main().runInMode(sim::kDefaultMode, 1, false);
        ran.push_back("A-end");
    });
    dispatch_async(main, [&] { ran.push_back("B"); });
    // A private mode with something in it, so that its run lasts, runs none of them.
    auto keepAlive = RunLoop::main().addTimer(
        100, 0, [] {}, "private");
    RunLoop::main().runInMode("private", 1, false);
    EXPECT_TRUE(ran.empty());
    RunLoop::main().removeSource(keepAlive);
    RunLoop::main().runInMode(sim::kTrackingMode, 2, false);
    EXPECT_EQ(ran, (std::vector<std::string>{"A-begin", "A-end", "B", "C"}));
    sim::useRealClock();
}

TEST(Queues, EveryBlockDrainsItsOwnAutoreleasePool)
{
    sim::useVirtualClock(0);
    AutoreleasePool test;
    Counted::s_freed = 0;
    dispatch_queue_t serial = dispatch_queue_create("test.pools", DISPATCH_QUEUE_SERIAL);
    for (int block = 0; block < 100; ++block)
        dispatch_async(serial, [] { sim::make(countedClass()); });
    int freedBeforeLastBlock = -1;
    {
        Watchdog watchdog("dispatch_sync behind 100 blocks");
        dispatch_sync(serial, [&] { freedBeforeLastBlock = Counted::s_freed; });
    }
    EXPECT_EQ(freedBeforeLastBlock, 100);

    Counted::s_freed = 0;
    int freedBetweenBlocks = -1;
    dispatch_async(dispatch_get_main_queue(), [] { sim::make(countedClass()); });
    dispatch_async(dispatch_get_main_queue(), [&] { freedBetweenBlocks = Counted::s_freed; });
    sim::advanceVirtualClock(0);
    EXPECT_EQ(freedBetweenBlocks, 1);
    sim::useRealClock();
}

TEST(SerialQueue, KeepsSubmissionOrderAcrossThreadsAndRunsOneBlockAtATime)
{
    constexpr int kProducers = 4;
    constexpr int kBlocksEach = 200;
    dispatch_queue_t queue = dispatch_queue_create("test.fifo", DISPATCH_QUEUE_SERIAL);
    std::vector<std::pair<int, int>> ran; // (producer, sequence); only the queue touches it
    std::atomic<int> inside{0};
    std::atomic<bool> overlapped{false};
    std::latch start(kProducers);
    std::vector<std::thread> producers;
    for (int producer = 0; producer < kProducers; ++producer) {
        producers.emplace_back([&, producer] {
            start.arrive_and_wait();
            for (int sequence = 0; sequence < kBlocksEach; ++sequence) {
                dispatch_async(queue, [&, producer, sequence] {
                    if (inside.fetch_add(1) != 0)
                        overlapped = true;
                    ran.emplace_back(producer, sequence);
                    inside.fetch_sub(1);
                });
            }
        });
    }
    for (std::thread &producer : producers)
        producer.join();
    {
        Watchdog watchdog("dispatch_sync behind 800 blocks");
        dispatch_sync(queue, [] {});
    }

    EXPECT_FALSE(overlapped);
    ASSERT_EQ(ran.size(), static_cast<size_t>(kProducers * kBlocksEach));
    std::vector<int> next(kProducers, 0);
    for (auto [producer, sequence] : ran)
        ASSERT_EQ(sequence, next[producer]++) << "producer " << producer;
}

TEST(SerialQueue, DelayedBlockWaitsForRealBehindLaterAsyncBlocks)
{
    sim::useRealClock();
    dispatch_queue_t queue = dispatch_queue_create("test.after", DISPATCH_QUEUE_SERIAL);
    std::vector<std::string> ran;
    std::promise<void> delayedRan;
    auto submitted = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration waited{};
    dispatch_after(inMilliseconds(50), queue, [&] {
        waited = std::chrono::steady_clock::now() - submitted;
        ran.push_back("after 50 ms");
        delayedRan.set_value();
    });
    dispatch_async(queue, [&] { ran.push_back("async"); });

    ASSERT_TRUE(keptWithin(delayedRan, std::chrono::seconds(10)));
    EXPECT_EQ(ran, (std::vector<std::string>{"async", "after 50 ms"}));
    // (Less a hair for the delay's round trip through the process clock's nanoseconds.)
    EXPECT_GE(waited, std::chrono::microseconds(49900));
}

TEST(SerialQueue, WaitingOnItselfStopsLoudly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            dispatch_queue_t queue = dispatch_queue_create("test.deadlock", DISPATCH_QUEUE_SERIAL);
            dispatch_sync(queue, [queue] { dispatch_sync(queue, [] {}); });
        },
        "dispatch_sync: a serial queue waits on itself");
    EXPECT_DEATH(dispatch_sync(dispatch_get_main_queue(), [] {}),
                 "dispatch_sync: the main thread waits on the main queue");
    EXPECT_DEATH(dispatch_async(nullptr, [] {}), "dispatch_async: no queue");
}

int threadsOfThisProcess()
{
    int count = 0;
    for ([[maybe_unused]] auto &entry : std::filesystem::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

TEST(SerialQueue, ReleasedQueuesRunWhatTheyWereGivenThenTheirThreadsEnd)
{
    dispatch_get_global_queue(0, 0); // its threads stay, so count them in the baseline
    Watchdog watchdog("50 released queues ending");
    int before = threadsOfThisProcess();
    std::atomic<int> ran{0};
    for (int queue = 0; queue < 50; ++queue) {
        dispatch_queue_t made = dispatch_queue_create("test.released", DISPATCH_QUEUE_SERIAL);
        dispatch_async(made, [&] { ++ran; });
        dispatch_after(inMilliseconds(20), made, [&] { ++ran; });
        dispatch_release(made);
    }
    while (ran < 100 || threadsOfThisProcess() > before)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(ran, 100);
}

TEST(Groups, WaitAndNotifyOnceEveryMemberIsDone)
{
    dispatch_group_t group = dispatch_group_create();
    dispatch_queue_t queue = dispatch_queue_create("test.group", DISPATCH_QUEUE_SERIAL);
    std::atomic<int> members{0};
    std::promise<void> notified;
    for (int member = 0; member < 10; ++member)
        dispatch_group_async(group, dispatch_get_global_queue(0, 0), [&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            ++members;
        });
    dispatch_group_enter(group);
    EXPECT_NE(dispatch_group_wait(group, inMilliseconds(30)), 0); // the entered work is open
    dispatch_group_notify(group, queue, [&] {
        EXPECT_EQ(members, 10);
        notified.set_value();
    });
    dispatch_async(queue, [group] { dispatch_group_leave(group); });
    {
        Watchdog watchdog("dispatch_group_wait");
        EXPECT_EQ(dispatch_group_wait(group, DISPATCH_TIME_FOREVER), 0);
    }
    EXPECT_EQ(members, 10);
    EXPECT_TRUE(keptWithin(notified, std::chrono::seconds(10)));
    dispatch_release(group);
    dispatch_release(queue);
}

TEST(Semaphores, CountAndTimeOut)
{
    EXPECT_EQ(dispatch_semaphore_create(-1), nullptr);
    dispatch_semaphore_t semaphore = dispatch_semaphore_create(1);
    EXPECT_EQ(dispatch_semaphore_wait(semaphore, DISPATCH_TIME_NOW), 0);
    EXPECT_NE(dispatch_semaphore_wait(semaphore, inMilliseconds(10)), 0);
    std::thread signaller([semaphore] {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        dispatch_semaphore_signal(semaphore);
    });
    {
        Watchdog watchdog("dispatch_semaphore_wait");
        EXPECT_EQ(dispatch_semaphore_wait(semaphore, DISPATCH_TIME_FOREVER), 0);
    }
    signaller.join();
    EXPECT_EQ(dispatch_semaphore_signal(semaphore), 0); // nobody was waiting
    dispatch_release(semaphore);
}

TEST(GlobalQueue, RunsBlocksSideBySide)
{
    dispatch_queue_t global = dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0);
    EXPECT_EQ(global, dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_BACKGROUND, 0));
    std::promise<void> secondStarted, firstFinished;
    bool firstSawSecond = false;
    dispatch_async(global, [&] {
        firstSawSecond = keptWithin(secondStarted, std::chrono::seconds(5));
        firstFinished.set_value();
    });
    dispatch_async(global, [&] { secondStarted.set_value(); });

    ASSERT_TRUE(keptWithin(firstFinished, std::chrono::seconds(10)));
    EXPECT_TRUE(firstSawSecond);
}

TEST(DispatchOnce, RunsOnceAndLatecomersWaitForIt)
{
    constexpr int kThreads = 8;
    static dispatch_once_t predicate;
    std::atomic<int> runs{0};
    std::atomic<bool> initialised{false};
    std::atomic<int> sawUninitialised{0};
    std::latch start(kThreads);
    std::vector<std::thread> threads;
    for (int index = 0; index < kThreads; ++index) {
        threads.emplace_back([&] {
            start.arrive_and_wait();
            dispatch_once(&predicate, [&] {
                ++runs;
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                initialised = true;
            });
            if (!initialised)
                ++sawUninitialised;
        });
    }
    {
        Watchdog watchdog("threads contending in dispatch_once");
        for (std::thread &thread : threads)
            thread.join();
    }
    dispatch_once(&predicate, [&] { ++runs; });
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(sawUninitialised, 0);
}

} // namespace
