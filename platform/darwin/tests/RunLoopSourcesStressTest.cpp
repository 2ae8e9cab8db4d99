// A Mach port's run-loop source under several threads, moved between loops and invalidated.

#include "DeviceTest.h"
#include "darwin/CFMachPort.h"

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using test::DeviceTest;

constexpr int kSenders = 2;
constexpr int kMessagesEach = 100;

struct Tally {
    std::mutex lock;
    std::map<int, int> timesById;
    std::atomic<int> total{0};
};

void count(CFMachPortRef, void *message, CFIndex, void *info)
{
    auto *tally = static_cast<Tally *>(info);
    std::lock_guard guard(tally->lock);
    ++tally->timesById[static_cast<mach_msg_header_t *>(message)->msgh_id];
    ++tally->total;
}

class RunLoopSourcesStress : public DeviceTest {
protected:
    void makePort(const char *name)
    {
        CFMachPortContext context{0, &m_tally, nullptr, nullptr, nullptr};
        m_port = CFMachPortCreate(kCFAllocatorDefault, count, &context, nullptr);
        ASSERT_NE(m_port, nullptr);
        ASSERT_EQ(bootstrap_register(bootstrapPort(), name, CFMachPortGetPort(m_port)),
                  KERN_SUCCESS);
        m_source = CFMachPortCreateRunLoopSource(kCFAllocatorDefault, m_port, 0);
    }

    void TearDown() override
    {
        CFMachPortInvalidate(m_port);
        CFRelease(m_source);
        CFRelease(m_port);
    }

    AutoreleasePool m_pool;
    Tally m_tally;
    CFMachPortRef m_port = nullptr;
    CFRunLoopSourceRef m_source = nullptr;
};

// Two threads send while a third keeps adding the source to its own loop and removing it, the
// main loop having it throughout: every message is received once, by one loop or the other.
TEST_F(RunLoopSourcesStress, MessagesFromSeveralThreadsArriveOnceWhileTheSourceMovesBetweenLoops)
{
    makePort("test.stress.moving");
    CFRunLoopAddSource(CFRunLoopGetMain(), m_source, kCFRunLoopDefaultMode);
    std::atomic<bool> done{false};
    std::thread mover([&] {
        AutoreleasePool pool;
        CFRunLoopRef own = CFRunLoopGetCurrent();
        while (!done) {
            CFRunLoopAddSource(own, m_source, kCFRunLoopDefaultMode);
            CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.005, true);
            CFRunLoopRemoveSource(own, m_source, kCFRunLoopDefaultMode);
        }
    });
    std::atomic<int> failedSends{0};
    std::vector<std::thread> senders;
    for (int sender = 0; sender < kSenders; ++sender) {
        senders.emplace_back([&, sender] {
            for (int message = 0; message < kMessagesEach; ++message) {
                if (test::sendInline("test.stress.moving", 1000 * sender + message, "m") !=
                    MACH_MSG_SUCCESS)
                    ++failedSends;
            }
        });
    }
    for (std::thread &sender : senders)
        sender.join();
    EXPECT_TRUE(test::runMainLoopUntil([&] { return m_tally.total == kSenders * kMessagesEach; }));
    done = true;
    mover.join();
    CFRunLoopRemoveSource(CFRunLoopGetMain(), m_source, kCFRunLoopDefaultMode);

    EXPECT_EQ(failedSends, 0);
    std::lock_guard guard(m_tally.lock);
    EXPECT_EQ(m_tally.timesById.size(), static_cast<size_t>(kSenders * kMessagesEach));
    for (const auto &[id, times] : m_tally.timesById)
        EXPECT_EQ(times, 1) << "message " << id;
}

// Invalidated while a sender sends and another thread's loop receives: the loop lets go of
// the port, later sends are refused, and no callback starts after the invalidation returned.
TEST_F(RunLoopSourcesStress, InvalidatingFromAnotherThreadStopsAReceivingLoop)
{
    makePort("test.stress.invalidated");
    std::atomic<bool> scheduled{false};
    std::thread receiver([&] {
        AutoreleasePool pool;
        CFRunLoopAddSource(CFRunLoopGetCurrent(), m_source, kCFRunLoopDefaultMode);
        scheduled = true;
        for (int pass = 0; pass < 400; ++pass) {
            if (CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.05, false) == kCFRunLoopRunFinished)
                return;
        }
        ADD_FAILURE() << "the receiving loop kept the invalidated port's source";
    });
    std::atomic<bool> refused{false};
    std::thread sender([&] {
        for (int message = 0; !refused; ++message) {
            if (test::sendInline("test.stress.invalidated", message, "m") != MACH_MSG_SUCCESS)
                refused = true;
        }
    });
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while ((!scheduled || m_tally.total < 20) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    EXPECT_GE(m_tally.total, 20);
    CFMachPortInvalidate(m_port);
    int heardWhenInvalidated = m_tally.total;
    receiver.join();
    sender.join();
    EXPECT_FALSE(CFMachPortIsValid(m_port));
    // A callback already past its check may still finish; none starts afterwards.
    EXPECT_LE(m_tally.total, heardWhenInvalidated + 1);
    EXPECT_EQ(objc_retainCount(m_port), 1u);
}

// Threads asking for the source while another invalidates the port share one source, which
// ends invalidated, whichever came first.
TEST_F(RunLoopSourcesStress, ThreadsAskingForTheSourceWhileThePortIsInvalidatedShareOne)
{
    for (int round = 0; round < 50; ++round) {
        CFMachPortRef port = CFMachPortCreate(kCFAllocatorDefault, count, nullptr, nullptr);
        ASSERT_NE(port, nullptr);
        std::vector<CFRunLoopSourceRef> sources(4, nullptr);
        std::vector<std::thread> askers;
        for (auto &source : sources)
            askers.emplace_back(
                [&source, port] { source = CFMachPortCreateRunLoopSource(nullptr, port, 0); });
        std::thread invalidator([port] { CFMachPortInvalidate(port); });
        for (std::thread &asker : askers)
            asker.join();
        invalidator.join();
        CFRunLoopSourceRef shared = nullptr;
        for (CFRunLoopSourceRef source : sources) {
            if (!source)
                continue;
            shared = shared ? shared : source;
            EXPECT_EQ(source, shared);
            EXPECT_FALSE(CFRunLoopSourceIsValid(source));
            CFRelease(source);
        }
        CFRelease(port);
    }
}

} // namespace
