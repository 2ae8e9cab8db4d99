// Mach ports as run-loop sources under their platform names.

#include "darwin/CFMachPort.h"
#include "DeviceTest.h"

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
    AutoreleasePool m_pool;
};

TEST_F(CFMachPortTest, MessagesReachTheCallbackWithItsInfoOnTheMainLoop)
{
    Received received;
    CFMachPortContext context{0, &received, nullptr, nullptr, nullptr};
    CFMachPortRef port = CFMachPortCreate(kCFAllocatorDefault, remember, &context, nullptr);
    ASSERT_NE(port, nullptr);
    CFRunLoopSourceRef source = CFMachPortCreateRunLoopSource(kCFAllocatorDefault, port, 0);
    CFRunLoopAddSource(CFRunLoopGetCurrent(), source, kCFRunLoopCommonModes);
    CFRelease(source);
    ASSERT_EQ(bootstrap_register(bootstrapPort(), "test.cfmachport", CFMachPortGetPort(port)),
              KERN_SUCCESS);

    pid_t child = test::forkChild(
        [] { return test::sendInline("test.cfmachport", 7, "x") == MACH_MSG_SUCCESS ? 0 : 1; });
    EXPECT_EQ(test::waitForChild(child), 0);
    EXPECT_TRUE(test::runMainLoopUntil([&] { return !received.ids.empty(); }));
    EXPECT_EQ(received.ids, std::vector<int>{7});
    EXPECT_EQ(received.port, port);

    // After invalidation the right is gone: senders are told so.
    CFMachPortInvalidate(port);
    EXPECT_FALSE(CFMachPortIsValid(port));
    child = test::forkChild([] {
        return test::sendInline("test.cfmachport", 8, "y") == MACH_SEND_INVALID_DEST ? 0 : 1;
    });
    EXPECT_EQ(test::waitForChild(child), 0);
    CFRelease(port);
}

TEST_F(CFMachPortTest, SourceOnAnotherThreadsLoopIsNotScheduled)
{
    CFMachPortRef port = CFMachPortCreate(kCFAllocatorDefault, remember, nullptr, nullptr);
    ASSERT_NE(port, nullptr);
    CFRunLoopSourceRef source = CFMachPortCreateRunLoopSource(kCFAllocatorDefault, port, 0);
    std::thread other([&] {
        AutoreleasePool pool;
        CFRunLoopAddSource(CFRunLoopGetCurrent(), source, kCFRunLoopDefaultMode);
    });
    other.join();
    EXPECT_TRUE(source->m_scheduled.empty());
    CFRelease(source);
    CFRelease(port);
}

} // namespace
