// Timers, run-loop sources and notifications under their platform names, on the virtual
// clock.

#include "foundation/CFRunLoop.h"
#include "foundation/Clock.h"
#include "foundation/NSNotificationCenter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct Ticker : NSObject {
    int m_ticks = 0;
};

void noticed(Ticker *self, SEL, NSNotification *)
{
    ++self->m_ticks;
}

Class tickerClass()
{
    static Class cls = ClassBuilder<Ticker>("RunLoopTestTicker", "NSObject")
                           .method("noticed:", noticed)
                           .registerClass();
    return cls;
}

class RunLoopObjects : public testing::Test {
protected:
    void SetUp() override { sim::useVirtualClock(1000); }
    AutoreleasePool m_pool;
};

TEST_F(RunLoopObjects, RunUntilDateRunsUntilTheDateThroughStopsAndOneShotTimers)
{
    int fired = 0;
    NSTimer *once = NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(
        0.5, false, [&](NSTimer *) { ++fired; });
    int stops = 0;
    NSTimer *stopper = NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(1, true, [&](NSTimer *) {
        ++stops;
        CFRunLoopStop(CFRunLoopGetCurrent());
    });
    double began = sim::now();
    NSRunLoop::currentRunLoop()->runUntilDate(NSDate::dateWithTimeIntervalSinceNow(5));
    EXPECT_DOUBLE_EQ(sim::now() - began, 5);
    EXPECT_EQ(stops, 5);
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(once->isValid());
    stopper->invalidate();
}

TEST_F(RunLoopObjects, NotificationsReachMatchingObserversInOrder)
{
    NSNotificationCenter *center = NSNotificationCenter::defaultCenter();
    StrongRef<Ticker> ticker = StrongRef<Ticker>::adopt(sim::create<Ticker>(tickerClass()));
    std::vector<std::string> order;
    center->addObserverSelectorNameObject(ticker, "noticed:"_sel,
                                          "CV3ShowSettingsChangedNotification"_ns, nil);
    id token = center->addObserverForNameObjectQueueUsingBlock(
        "CV3ShowSettingsChangedNotification"_ns, nil, NSOperationQueue::mainQueue(),
        [&](NSNotification *note) { order.push_back(note->name()->str()); });
    id other = center->addObserverForNameObjectQueueUsingBlock(
        "Other"_ns, nil, nil, [&](NSNotification *) { order.push_back("other"); });

    center->postNotificationNameObject("CV3ShowSettingsChangedNotification"_ns, nil);
    EXPECT_EQ(ticker->m_ticks, 1);
    EXPECT_EQ(order, std::vector<std::string>{"CV3ShowSettingsChangedNotification"});

    center->removeObserver(ticker);
    center->removeObserver(token);
    center->postNotificationNameObject("CV3ShowSettingsChangedNotification"_ns, nil);
    EXPECT_EQ(ticker->m_ticks, 1);
    EXPECT_EQ(order.size(), 1u);
    center->removeObserver(other);
}

// Threads add, remove and invalidate sources on the main loop and on their own while
// the main loop runs: every registration is guarded, and the loops let go of them all. A
// source runs where it is scheduled, and only while it is.
TEST_F(RunLoopObjects, SourcesAddedAndRemovedFromManyThreadsWhileTheLoopRuns)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    int performed = 0;
    CFRunLoopSourceRef shared = sim::makeDescriptorSource(fds[0], [&] {
        char byte;
        ASSERT_EQ(read(fds[0], &byte, 1), 1);
        ++performed;
    });
    CFRunLoopRef main = CFRunLoopGetMain();
    std::atomic<int> finished{0};
    std::vector<std::thread> threads;
    for (int thread = 0; thread < 3; ++thread) {
        threads.emplace_back([&] {
            AutoreleasePool pool;
            CFRunLoopRef own = CFRunLoopGetCurrent();
            for (int round = 0; round < 200; ++round) {
                CFRunLoopAddSource(main, shared, kCFRunLoopDefaultMode);
                CFRunLoopAddSource(own, shared, kCFRunLoopCommonModes);
                CFRunLoopRemoveSource(main, shared, kCFRunLoopDefaultMode);
                CFRunLoopRemoveSource(own, shared, kCFRunLoopCommonModes);
            }
            ++finished;
            sim::RunLoop::main().perform([] {});
        });
    }
    while (finished < 3)
        CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.01, true);
    for (std::thread &thread : threads)
        thread.join();

    CFRunLoopAddSource(main, shared, kCFRunLoopCommonModes);
    ASSERT_EQ(write(fds[1], "x", 1), 1);
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.1, true);
    EXPECT_EQ(performed, 1);
    CFRunLoopRemoveSource(main, shared, kCFRunLoopCommonModes);
    ASSERT_EQ(write(fds[1], "y", 1), 1);
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.1, true);
    EXPECT_EQ(performed, 1);
    EXPECT_TRUE(CFRunLoopSourceIsValid(shared));
    CFRunLoopSourceInvalidate(shared);
    EXPECT_FALSE(CFRunLoopSourceIsValid(shared));
    EXPECT_EQ(objc_retainCount(shared), 1u);
    CFRelease(shared);
    close(fds[0]);
    close(fds[1]);
}

} // namespace
