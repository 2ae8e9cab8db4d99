// NSNotificationCenter used from several threads at once, and observers whose selector
// takes no argument.

#include "foundation/CFRunLoop.h"
#include "foundation/NSNotificationCenter.h"
#include "foundation/RunLoop.h"
#include "foundation/tests/Watchdog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

struct Listener : NSObject {
    std::atomic<int> m_heard{0};
    std::thread::id m_heardOn;
};

void heard(Listener *self, SEL)
{
    self->m_heardOn = std::this_thread::get_id();
    ++self->m_heard;
}

void heardNotification(Listener *self, SEL, NSNotification *)
{
    ++self->m_heard;
}

Class listenerClass()
{
    static Class cls = ClassBuilder<Listener>("NotificationTestListener", "NSObject")
                           .method("heard", heard)
                           .method("heardNotification:", heardNotification)
                           .registerClass();
    return cls;
}

StrongRef<Listener> makeListener()
{
    return StrongRef<Listener>::adopt(sim::create<Listener>(listenerClass()));
}

TEST(NotificationCenter, ObserverWithoutArgumentHearsOnThePostingThread)
{
    AutoreleasePool pool;
    NSNotificationCenter *center = NSNotificationCenter::defaultCenter();
    StrongRef<Listener> listener = makeListener();
    center->addObserverSelectorNameObject(listener, "heard"_sel, "CV3ClockTick"_ns, nil);
    std::thread poster([&] {
        AutoreleasePool threadPool;
        center->postNotificationNameObject("CV3ClockTick"_ns, nil);
    });
    std::thread::id posterId = poster.get_id();
    poster.join();
    center->removeObserver(listener);
    EXPECT_EQ(listener->m_heard, 1);
    EXPECT_EQ(listener->m_heardOn, posterId);
}

// Threads post while others add, remove and free observers; the centre must neither
// race, nor lose a registered observer, nor call one that is being freed.
TEST(NotificationCenter, PostingAddingAndRemovingFromManyThreadsAtOnce)
{
    AutoreleasePool pool;
    NSNotificationCenter *center = NSNotificationCenter::defaultCenter();
    StrongRef<Listener> steady = makeListener();
    center->addObserverSelectorNameObject(steady, "heardNotification:"_sel, "CV3Busy"_ns, nil);
    constexpr int kPosts = 400;
    std::atomic<bool> posting{true};
    std::vector<std::thread> threads;
    for (int poster = 0; poster < 2; ++poster) {
        threads.emplace_back([&] {
            for (int post = 0; post < kPosts; ++post) {
                AutoreleasePool threadPool;
                center->postNotificationNameObject("CV3Busy"_ns, nil);
            }
        });
    }
    for (int changer = 0; changer < 2; ++changer) {
        threads.emplace_back([&] {
            while (posting) {
                AutoreleasePool threadPool;
                StrongRef<Listener> passing = makeListener();
                center->addObserverSelectorNameObject(passing, "heardNotification:"_sel,
                                                      "CV3Busy"_ns, nil);
                id token = center->addObserverForNameObjectQueueUsingBlock("CV3Busy"_ns, nil, nil,
                                                                           [](NSNotification *) {});
                center->removeObserver(passing);
                center->removeObserver(token);
            }
        });
    }
    threads[0].join();
    threads[1].join();
    posting = false;
    threads[2].join();
    threads[3].join();
    center->removeObserver(steady);
    EXPECT_EQ(steady->m_heard, 2 * kPosts);
}

// Background posts to observers on the main queue while the main thread runs its loop and
// changes its own observers between passes: every post reaches the steady observer once,
// on the main thread, and no poster waits for ever.
TEST(NotificationCenterStress,
     BackgroundPostsReachMainQueueObserversWhileTheMainThreadChangesObservers)
{
    Watchdog watchdog("posts to main-queue observers", std::chrono::seconds(60));
    AutoreleasePool pool;
    constexpr int kPosts = 200;
    NSNotificationCenter *center = NSNotificationCenter::defaultCenter();
    std::thread::id mainThread = std::this_thread::get_id();
    int heard = 0; // main thread only
    int heardElsewhere = 0;
    id steady = center->addObserverForNameObjectQueueUsingBlock(
        "CV3StressMainQueue"_ns, nil, NSOperationQueue::mainQueue(), [&](NSNotification *) {
            if (std::this_thread::get_id() == mainThread)
                ++heard;
            else
                ++heardElsewhere;
        });

    std::atomic<int> postersDone{0};
    std::vector<std::thread> posters;
    for (int poster = 0; poster < 2; ++poster) {
        posters.emplace_back([&] {
            for (int post = 0; post < kPosts; ++post) {
                AutoreleasePool threadPool;
                center->postNotificationNameObject("CV3StressMainQueue"_ns, nil);
            }
            ++postersDone;
            sim::RunLoop::main().perform([] {});
        });
    }
    int passingHeard = 0;
    while (postersDone < 2) {
        AutoreleasePool passPool;
        id passing = center->addObserverForNameObjectQueueUsingBlock(
            "CV3StressMainQueue"_ns, nil, NSOperationQueue::mainQueue(),
            [&](NSNotification *) { ++passingHeard; });
        CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.01, true);
        center->removeObserver(passing);
    }
    for (std::thread &poster : posters)
        poster.join();
    center->removeObserver(steady);

    EXPECT_EQ(heard, 2 * kPosts);
    EXPECT_EQ(heardElsewhere, 0);
    EXPECT_LE(passingHeard, 2 * kPosts);
    // Nobody is left listening: a post now reaches no block.
    center->postNotificationNameObject("CV3StressMainQueue"_ns, nil);
    EXPECT_EQ(heard, 2 * kPosts);
}

} // namespace
