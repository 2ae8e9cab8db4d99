// Receiving Mach messages on the main run loop.

#include "DeviceTest.h"
#include "darwin/ReceiveRightSource.h"

#include <vector>

namespace {

using test::DeviceTest;

class RunLoopSourcesTest : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        m_port = makeService("test.source");
        ASSERT_NE(m_port, MACH_PORT_NULL);
    }
    void TearDown() override
    {
        if (m_source)
            sim::RunLoop::main().removeSource(m_source);
        if (m_port != MACH_PORT_NULL)
            destroyReceiveRight(m_port);
    }

    // Sends `count` messages with ids 1..count from another process.
    static pid_t sendFromChild(int count)
    {
        return test::forkChild([count] {
            for (int id = 1; id <= count; ++id)
                if (test::sendInline("test.source", id, "payload") != MACH_MSG_SUCCESS)
                    return id;
            return 0;
        });
    }

    mach_port_t m_port = MACH_PORT_NULL;
    sim::RunLoop::SourceId m_source = 0;
    std::vector<int> m_ids;
};

TEST_F(RunLoopSourcesTest, EveryMessageReachesTheHandlerInOrder)
{
    EXPECT_EQ(sim::watchReceiveRight(0x6666603, [](mach_msg_header_t *, size_t) {}), 0u);
    EXPECT_EQ(sim::watchReceiveRight(m_port, nullptr), 0u);
    m_source = sim::watchReceiveRight(
        m_port,
        [this](mach_msg_header_t *message, size_t size) {
            EXPECT_EQ(size, 48u);
            EXPECT_EQ(message->msgh_local_port, m_port);
            m_ids.push_back(message->msgh_id);
        },
        sim::kDefaultMode);
    ASSERT_NE(m_source, 0u);
    EXPECT_EQ(test::waitForChild(sendFromChild(3)), 0);
    EXPECT_TRUE(test::runMainLoopUntil([&] { return m_ids.size() == 3; }));
    EXPECT_EQ(m_ids, (std::vector<int>{1, 2, 3}));
}

TEST_F(RunLoopSourcesTest, RemovingTheSourceInItsHandlerStopsDeliveryAtOnce)
{
    m_source = sim::watchReceiveRight(m_port, [this](mach_msg_header_t *message, size_t) {
        m_ids.push_back(message->msgh_id);
        sim::RunLoop::main().removeSource(m_source);
    });
    EXPECT_EQ(test::waitForChild(sendFromChild(2)), 0);
    EXPECT_TRUE(test::runMainLoopUntil([&] { return !m_ids.empty(); }));
    test::runMainLoopUntil([] { return false; }, 100);
    EXPECT_EQ(m_ids, std::vector<int>{1});

    alignas(8) std::byte buffer[128];
    auto *header = reinterpret_cast<mach_msg_header_t *>(buffer);
    ASSERT_EQ(mach_msg(header, MACH_RCV_MSG | MACH_RCV_TIMEOUT, 0, sizeof(buffer), m_port,
                       test::kWatchdogMs, MACH_PORT_NULL),
              MACH_MSG_SUCCESS);
    EXPECT_EQ(header->msgh_id, 2) << "the message not handled is still there";
}

} // namespace
