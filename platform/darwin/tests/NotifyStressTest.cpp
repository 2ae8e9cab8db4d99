// Darwin notifications from several threads at once, over the process's one connection:
// nothing is lost, nothing crosses between threads, and the main loop delivers throughout.

#include "DeviceTest.h"
#include "darwin/CFNotificationCenter.h"
#include "darwin/notify.h"

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

using test::DeviceTest;

constexpr int kThreads = 3;

std::atomic<int> g_steadyHeard{0};
std::atomic<int> g_passingHeard{0};
const char g_steady = 0;

void count(CFNotificationCenterRef, void *observer, CFNotificationName, const void *,
           CFDictionaryRef)
{
    ++(observer == &g_steady ? g_steadyHeard : g_passingHeard);
}

class NotifyStress : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        g_steadyHeard = 0;
        g_passingHeard = 0;
    }

    static void observe(const void *observer, CFNotificationCallback callBack, NSString *name)
    {
        CFNotificationCenterAddObserver(center(), observer, callBack, name, nullptr,
                                        CFNotificationSuspensionBehaviorDeliverImmediately);
    }

    static CFNotificationCenterRef center() { return CFNotificationCenterGetDarwinNotifyCenter(); }
};

// Two threads post while others add and remove observations of the name. The steady observer
// hears the storm (a post meeting an event still queued is heard once), then exactly the posts.
TEST_F(NotifyStress, PostsFromSeveralThreadsWhileOthersObserveAndStopObserving)
{
    constexpr int kPosts = 100;
    observe(&g_steady, count, "test.stress.busy"_ns);
    std::atomic<int> postersDone{0};
    std::atomic<int> failedPosts{0};
    std::vector<std::thread> threads;
    for (int poster = 0; poster < 2; ++poster) {
        threads.emplace_back([&] {
            for (int post = 0; post < kPosts; ++post) {
                if (notify_post("test.stress.busy") != NOTIFY_STATUS_OK)
                    ++failedPosts;
            }
            ++postersDone;
        });
    }
    static const char passing[kThreads] = {};
    for (int changer = 0; changer < kThreads; ++changer) {
        threads.emplace_back([&, changer] {
            while (postersDone < 2) {
                AutoreleasePool pool;
                observe(
                    &passing[changer],
                    +[](CFNotificationCenterRef, void *, CFNotificationName, const void *,
                        CFDictionaryRef) { ++g_passingHeard; },
                    "test.stress.busy"_ns);
                CFNotificationCenterRemoveObserver(center(), &passing[changer],
                                                   "test.stress.busy"_ns, nullptr);
            }
        });
    }
    EXPECT_TRUE(test::runMainLoopUntil([&] { return postersDone == 2; }));
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(failedPosts, 0);
    test::runMainLoopUntil([] { return false; }, 200);
    EXPECT_GE(g_steadyHeard, 1);
    EXPECT_LE(g_steadyHeard, 2 * kPosts);

    int steadyBefore = g_steadyHeard;
    int passingBefore = g_passingHeard;
    for (int post = 0; post < 3; ++post) {
        ASSERT_EQ(notify_post("test.stress.busy"), NOTIFY_STATUS_OK);
        EXPECT_TRUE(
            test::runMainLoopUntil([&] { return g_steadyHeard == steadyBefore + post + 1; }));
    }
    test::runMainLoopUntil([] { return false; }, 200);
    EXPECT_EQ(g_steadyHeard, steadyBefore + 3);
    EXPECT_EQ(g_passingHeard, passingBefore);
    CFNotificationCenterRemoveObserver(center(), &g_steady, nullptr, nullptr);
}

// Each thread registers, sets, reads back and cancels names of its own: every token works
// until cancelled and every value read back is the thread's own.
TEST_F(NotifyStress, ThreadsRegisteringSettingAndCancellingKeepTheirTokensApart)
{
    constexpr int kRounds = 100;
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int thread = 0; thread < kThreads; ++thread) {
        threads.emplace_back([&, thread] {
            std::string name = "test.stress.state." + std::to_string(thread);
            for (int round = 0; round < kRounds; ++round) {
                int token = -1;
                std::uint64_t value = 1000 * thread + round;
                std::uint64_t readBack = 0;
                int posted = -1;
                if (notify_register_check(name.c_str(), &token) != NOTIFY_STATUS_OK ||
                    notify_set_state(token, value) != NOTIFY_STATUS_OK ||
                    notify_get_state(token, &readBack) != NOTIFY_STATUS_OK || readBack != value ||
                    notify_check(token, &posted) != NOTIFY_STATUS_OK ||
                    notify_cancel(token) != NOTIFY_STATUS_OK ||
                    notify_cancel(token) != NOTIFY_STATUS_INVALID_TOKEN)
                    ++wrong;
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(wrong, 0);
}

} // namespace
