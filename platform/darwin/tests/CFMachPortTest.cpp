// Mach ports as run-loop sources under their platform names.

#include "darwin/CFMachPort.h"
#include "DeviceTest.h"

#include <atomic>
#include <thread>
#include <vector>

namespace {

using test::DeviceTest;

struct Received {
    std::vector<int> ids;
    CFMachPortRef port = nullptr;
};

void remember(CFMachPortRef port, void *message, CFIndex size, void *info)
{
    auto *received = static_cast<Received *>(info);
    received->port = port;
    EXPECT_GE(size, 24);
    received->ids.push_back(static_cast<mach_msg_header_t *>(message)->msgh_id);
}

class CFMachPortTest : public DeviceTest {
protected:
    // A port that remembers into m_received, registered under `name`.
    CFMachPortRef makePort(const char *name)
    {
        CFMachPortContext context{0, &m_received, nullptr, nullptr, nullptr};
        CFMachPortRef port = CFMachPortCreate(kCFAllocatorDefault, remember, &context, nullptr);
        EXPECT_EQ(bootstrap_register(bootstrapPort(), name, CFMachPortGetPort(port)), KERN_SUCCESS);
        return port;
    }

    AutoreleasePool m_pool;
    Received m_received;
};

TEST_F(CFMachPortTest, MessagesReachTheCallbackWithItsInfoOnTheMainLoop)
{
    CFMachPortRef port = makePort("test.cfmachport");
    CFRunLoopSourceRef source = CFMachPortCreateRunLoopSource(kCFAllocatorDefault, port, 0);
    CFRunLoopAddSource(CFRunLoopGetCurrent(), source, kCFRunLoopCommonModes);
    CFRelease(source);

    pid_t child = test::forkChild(
        [] { return test::sendInline("test.cfmachport", 7, "x") == MACH_MSG_SUCCESS ? 0 : 1; });
    EXPECT_EQ(test::waitForChild(child), 0);
    EXPECT_TRUE(test::runMainLoopUntil([&] { return !m_received.ids.empty(); }));
    EXPECT_EQ(m_received.ids, std::vector<int>{7});
    EXPECT_EQ(m_received.port, port);

    // After invalidation the right is gone: senders are told so.
    CFMachPortInvalidate(port);
    EXPECT_FALSE(CFMachPortIsValid(port));
    child = test::forkChild([] {
        return test::sendInline("test.cfmachport", 8, "y") == MACH_SEND_INVALID_DEST ? 0 : 1;
    });
    EXPECT_EQ(test::waitForChild(child), 0);
    CFRelease(port);
}

TEST_F(CFMachPortTest, AnotherThreadsLoopReceivesAndHoldsThePortWhileScheduled)
{
    CFMachPortRef port = makePort("test.cfmachport.thread");
    CFRunLoopSourceRef source = CFMachPortCreateRunLoopSource(kCFAllocatorDefault, port, 0);
    std::atomic<bool> scheduled{false};
    std::thread receiver([&] {
        AutoreleasePool pool;
        CFRunLoopAddSource(CFRunLoopGetCurrent(), source, kCFRunLoopDefaultMode);
        scheduled = true;
        for (int pass = 0; pass < 400 && m_received.ids.empty(); ++pass)
            CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.05, true);
        CFRunLoopRemoveSource(CFRunLoopGetCurrent(), source, kCFRunLoopDefaultMode);
    });
    while (!scheduled)
        std::this_thread::yield();
    std::uint32_t heldByTheLoop = objc_retainCount(port);
    EXPECT_GE(heldByTheLoop, 2u);
    pid_t child = test::forkChild([] {
        return test::sendInline("test.cfmachport.thread", 9, "z") == MACH_MSG_SUCCESS ? 0 : 1;
    });
    EXPECT_EQ(test::waitForChild(child), 0);
    receiver.join();
    EXPECT_EQ(m_received.ids, std::vector<int>{9});
    EXPECT_EQ(objc_retainCount(port), 1u); // removed: the loop let go
    CFRelease(source);
    CFMachPortInvalidate(port);
    CFRelease(port);
}

} // namespace
