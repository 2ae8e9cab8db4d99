// NotificationCenter posts from background threads to observers on the main queue, while
// the main thread runs its loop and changes its own observers between passes: every post
// reaches the steady observer once, on the main thread, and no poster waits for ever.

#include "Watchdog.h"
#include "foundation/CFRunLoop.h"
#include "foundation/NSNotificationCenter.h"
#include "foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

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
