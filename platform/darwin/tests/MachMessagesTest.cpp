// Mach messages between processes of the device: inline and out-of-line data, receivers
// that go away and come back, replies through send-once rights, and garbage on the wire.

#include "DeviceTest.h"
#include "darwin/MessageWire.h"
#include "darwin/PortTable.h"
#include "darwin/ReceiveRight.h"
#include "foundation/DeviceRoot.h"

#include <cstring>
#include <filesystem>
#include <sys/mman.h>
#include <tuple>
#include <unistd.h>

namespace {

using test::DeviceTest;
using test::OutOfLineMessage;

struct ReceiveBuffer {
    alignas(8) std::byte bytes[8192];
    mach_msg_header_t *header() { return reinterpret_cast<mach_msg_header_t *>(bytes); }
};

mach_msg_return_t receive(mach_port_t port, ReceiveBuffer &buffer,
                          int timeoutMs = test::kWatchdogMs)
{
    return mach_msg(buffer.header(), MACH_RCV_MSG | MACH_RCV_TIMEOUT, 0, sizeof(buffer.bytes), port,
                    static_cast<mach_msg_timeout_t>(timeoutMs), MACH_PORT_NULL);
}

std::string patterned(size_t size)
{
    std::string data(size, '\0');
    for (size_t index = 0; index < size; ++index)
        data[index] = static_cast<char>((index * 31) ^ (index >> 8));
    return data;
}

TEST_F(DeviceTest, InlineDataOf4096BytesArrivesWholeInA4136ByteMessage)
{
    mach_port_t port = makeService("test.inline");
    ASSERT_NE(port, MACH_PORT_NULL);
    std::string data = patterned(4096);
    pid_t sender = test::forkChild([&] { return test::sendInline("test.inline", 42, data); });

    ReceiveBuffer buffer;
    ASSERT_EQ(receive(port, buffer), MACH_MSG_SUCCESS);
    EXPECT_EQ(test::waitForChild(sender), 0);
    const mach_msg_header_t &header = *buffer.header();
    mach_msg_size_t length;
    std::memcpy(&length, buffer.bytes + 28, sizeof(length));
    EXPECT_EQ(std::tuple(header.msgh_size, header.msgh_id, header.msgh_local_port,
                         header.msgh_remote_port, length),
              std::tuple(4136u, 42, port, mach_port_t(MACH_PORT_NULL), 4096u));
    EXPECT_EQ(std::memcmp(buffer.bytes + 32, data.data(), data.size()), 0);
    destroyReceiveRight(port);
}

TEST_F(DeviceTest, OutOfLineDataOf4097BytesArrivesMappedInA40ByteMessage)
{
    mach_port_t port = makeService("test.outofline");
    ASSERT_NE(port, MACH_PORT_NULL);
    std::string data = patterned(4097);
    pid_t sender = test::forkChild([&] {
        mach_port_t service = MACH_PORT_NULL;
        if (bootstrap_look_up(bootstrapPort(), "test.outofline", &service) != KERN_SUCCESS)
            return 1;
        OutOfLineMessage message;
        test::makeOutOfLineMessage(message, service, 7, data);
        return mach_msg(&message.header, MACH_SEND_MSG, 40, 0, MACH_PORT_NULL,
                        MACH_MSG_TIMEOUT_NONE, MACH_PORT_NULL);
    });

    ReceiveBuffer buffer;
    ASSERT_EQ(receive(port, buffer), MACH_MSG_SUCCESS);
    EXPECT_EQ(test::waitForChild(sender), 0);
    OutOfLineMessage received;
    std::memcpy(&received, buffer.bytes, sizeof(received));
    EXPECT_EQ(received.header.msgh_size, 40u);
    EXPECT_NE(received.header.msgh_bits & MACH_MSGH_BITS_COMPLEX, 0u);
    ASSERT_EQ(std::tuple(received.body.msgh_descriptor_count, unsigned(received.descriptor.type),
                         received.descriptor.size),
              std::tuple(1u, unsigned(MACH_MSG_OOL_DESCRIPTOR), 4097u));
    const void *mapped = received.descriptor.address; // read out of the packed field
    ASSERT_NE(mapped, nullptr);
    EXPECT_EQ(std::memcmp(mapped, data.data(), data.size()), 0);

    auto address = reinterpret_cast<vm_address_t>(mapped);
    EXPECT_EQ(vm_deallocate(mach_task_self(), address, 4097), KERN_SUCCESS);
    EXPECT_EQ(vm_deallocate(mach_task_self(), address, 4097), KERN_INVALID_ADDRESS)
        << "a mapping is given back once";
    destroyReceiveRight(port);
}

std::size_t portSocketFiles()
{
    std::size_t count = 0;
    for ([[maybe_unused]] auto &entry :
         std::filesystem::directory_iterator(sim::hostPath("/var/run/ports")))
        ++count;
    return count;
}

// A process ending with _exit removes its port socket files; those of killed processes are
// removed by the next sweep, and those of live ones kept.
TEST_F(DeviceTest, PortSocketFilesGoWithTheirProcessOrWithTheNextSweep)
{
    mach_port_t own = makeService("test.socketfiles");
    ASSERT_NE(own, MACH_PORT_NULL);
    auto allocateRight = [] {
        mach_port_t right = MACH_PORT_NULL;
        return mach_port_allocate(mach_task_self(), MACH_PORT_RIGHT_RECEIVE, &right) ==
               KERN_SUCCESS;
    };
    std::size_t before = portSocketFiles();
    pid_t ended = test::forkChild([&] {
        if (!allocateRight())
            return 2;
        sim::removePortSocketsOfThisProcess(); // as a process ending with _exit does
        return 0;
    });
    ASSERT_EQ(test::waitForChild(ended), 0);
    EXPECT_EQ(portSocketFiles(), before);

    pid_t killed = test::forkChild([&] { return allocateRight() ? 0 : 2; }); // leaves its file
    ASSERT_EQ(test::waitForChild(killed), 0);
    test::Signal liveReady, liveMayEnd;
    pid_t live = test::forkChild([&] {
        if (!allocateRight())
            return 2;
        liveReady.send();
        return liveMayEnd.wait() ? 0 : 3;
    });
    ASSERT_TRUE(liveReady.wait());
    EXPECT_EQ(portSocketFiles(), before + 2);
    EXPECT_EQ(sim::removeStalePortSockets(), 1u);
    EXPECT_EQ(sim::removeStalePortSockets(), 0u) << "the live process's and ours stay";
    liveMayEnd.send();
    ASSERT_EQ(test::waitForChild(live), 0);
    EXPECT_EQ(sim::removeStalePortSockets(), 1u);
    destroyReceiveRight(own);
    EXPECT_EQ(portSocketFiles(), before - 1);
}

TEST_F(DeviceTest, ReceiverThatExitedAnswersInvalidDestAndItsSuccessorIsFoundAgain)
{
    test::Signal firstReady, secondReady;
    auto receiveOne = [](const char *name, mach_msg_id_t expected, test::Signal &ready) {
        mach_port_t port = makeService(name);
        if (port == MACH_PORT_NULL)
            return 2;
        ready.send();
        ReceiveBuffer buffer;
        if (receive(port, buffer) != MACH_MSG_SUCCESS)
            return 3;
        return buffer.header()->msgh_id == expected ? 0 : 4;
    };
    pid_t first = test::forkChild([&] { return receiveOne("test.restart", 1, firstReady); });
    ASSERT_TRUE(firstReady.wait());

    mach_port_t service = MACH_PORT_NULL;
    ASSERT_EQ(bootstrap_look_up(bootstrapPort(), "test.restart", &service), KERN_SUCCESS);
    test::InlineMessage message;
    test::makeInlineMessage(message, service, 1, "first");
    ASSERT_EQ(test::sendMessage(message), MACH_MSG_SUCCESS);
    ASSERT_EQ(test::waitForChild(first), 0);
    test::makeInlineMessage(message, service, 2, "to nobody");
    EXPECT_EQ(test::sendMessage(message), MACH_SEND_INVALID_DEST);
    EXPECT_EQ(mach_port_deallocate(mach_task_self(), service), KERN_SUCCESS);

    pid_t second = test::forkChild([&] { return receiveOne("test.restart", 3, secondReady); });
    ASSERT_TRUE(secondReady.wait());
    ASSERT_EQ(bootstrap_look_up(bootstrapPort(), "test.restart", &service), KERN_SUCCESS);
    test::makeInlineMessage(message, service, 3, "second");
    EXPECT_EQ(test::sendMessage(message), MACH_MSG_SUCCESS);
    EXPECT_EQ(test::waitForChild(second), 0);
    EXPECT_EQ(mach_port_deallocate(mach_task_self(), service), KERN_SUCCESS);
}

TEST_F(DeviceTest, ReceiverRepliesThroughTheSendOnceRightItWasGiven)
{
    test::Signal ready;
    pid_t server = test::forkChild([&] {
        mach_port_t port = makeService("test.reply");
        if (port == MACH_PORT_NULL)
            return 2;
        ready.send();
        ReceiveBuffer buffer;
        if (receive(port, buffer) != MACH_MSG_SUCCESS)
            return 3;
        mach_msg_header_t request = *buffer.header();
        if (MACH_MSGH_BITS_REMOTE(request.msgh_bits) != MACH_MSG_TYPE_MOVE_SEND_ONCE ||
            request.msgh_remote_port == MACH_PORT_NULL)
            return 4;
        mach_msg_header_t reply{};
        reply.msgh_bits = MACH_MSGH_BITS(MACH_MSG_TYPE_MOVE_SEND_ONCE, 0);
        reply.msgh_size = sizeof(reply);
        reply.msgh_remote_port = request.msgh_remote_port;
        reply.msgh_id = request.msgh_id + 100;
        if (mach_msg(&reply, MACH_SEND_MSG, sizeof(reply), 0, MACH_PORT_NULL, 0, 0) != 0)
            return 5;
        // A send-once right is spent by its one message.
        reply.msgh_remote_port = request.msgh_remote_port;
        return mach_msg(&reply, MACH_SEND_MSG, sizeof(reply), 0, MACH_PORT_NULL, 0, 0) ==
                       MACH_SEND_INVALID_DEST
                   ? 0
                   : 6;
    });
    ASSERT_TRUE(ready.wait());

    mach_port_t replyPort = MACH_PORT_NULL;
    ASSERT_EQ(mach_port_allocate(mach_task_self(), MACH_PORT_RIGHT_RECEIVE, &replyPort),
              KERN_SUCCESS);
    mach_port_t service = MACH_PORT_NULL;
    ASSERT_EQ(bootstrap_look_up(bootstrapPort(), "test.reply", &service), KERN_SUCCESS);
    mach_msg_header_t request{};
    request.msgh_bits = MACH_MSGH_BITS(MACH_MSG_TYPE_COPY_SEND, MACH_MSG_TYPE_MAKE_SEND_ONCE);
    request.msgh_size = sizeof(request);
    request.msgh_remote_port = service;
    request.msgh_local_port = replyPort;
    request.msgh_id = 5;
    ASSERT_EQ(mach_msg(&request, MACH_SEND_MSG, sizeof(request), 0, MACH_PORT_NULL, 0, 0),
              MACH_MSG_SUCCESS);

    ReceiveBuffer buffer;
    ASSERT_EQ(receive(replyPort, buffer), MACH_MSG_SUCCESS);
    EXPECT_EQ(buffer.header()->msgh_id, 105);
    EXPECT_EQ(buffer.header()->msgh_local_port, replyPort);
    EXPECT_EQ(test::waitForChild(server), 0);
    destroyReceiveRight(replyPort);
    EXPECT_EQ(mach_port_deallocate(mach_task_self(), service), KERN_SUCCESS);
}

// Sends the packets a broken or hostile sender might, then one good message, all on one
// connection; answers 0 when every packet was written.
int sendGarbageThenGoodMessage(const std::string &address)
{
    sim::OwnedFd connection = sim::connectTo(sim::portSocketPath(address));
    if (!connection.valid())
        return 2;
    auto send = [&](const std::vector<std::byte> &bytes, std::vector<int> files = {}) {
        return sim::sendPacket(connection.get(), bytes, files, test::kWatchdogMs) ==
               sim::SendStatus::Sent;
    };
    test::InlineMessage message;
    test::makeInlineMessage(message, 0, 1, "garbage");
    sim::OutgoingMessage good;
    if (sim::encodeMessage(message.header, 48, sim::ReplyRight::None, {}, good) != 0)
        return 3;

    std::vector<std::byte> lying = good.bytes;
    std::uint32_t wrongSize = 4096;
    std::memcpy(lying.data() + 12 + 4, &wrongSize, sizeof(wrongSize));

    std::string data(64, 'm');
    OutOfLineMessage complex;
    test::makeOutOfLineMessage(complex, MACH_PORT_NULL, 0, data);
    sim::OutgoingMessage outOfLine;
    if (sim::encodeMessage(complex.header, 40, sim::ReplyRight::None, {}, outOfLine) != 0)
        return 4;
    sim::OwnedFd unsealed(memfd_create("unsealed", MFD_CLOEXEC));
    if (ftruncate(unsealed.get(), 64) != 0)
        return 5;

    std::vector<std::byte> shortPacket(3, std::byte{1});
    std::vector<std::byte> oversized(sim::maxPacketSize() + 100, std::byte{0});
    bool sent = send(shortPacket) && send(lying) && send(oversized) &&
                send(outOfLine.bytes) /* memory file announced but absent */ &&
                send(outOfLine.bytes, {unsealed.get()}) && send(good.bytes, {unsealed.get()});
    test::makeInlineMessage(message, 0, 7, "good");
    if (!sent || sim::encodeMessage(message.header, 44, sim::ReplyRight::None, {}, good) != 0)
        return 6;
    return send(good.bytes) ? 0 : 7;
}

TEST_F(DeviceTest, GarbagePacketsAreDroppedAndTheNextMessageStillArrives)
{
    mach_port_t port = MACH_PORT_NULL;
    ASSERT_EQ(mach_port_allocate(mach_task_self(), MACH_PORT_RIGHT_RECEIVE, &port), KERN_SUCCESS);
    std::optional<std::string> address = sim::PortTable::shared().addressOf(port);
    ASSERT_TRUE(address);
    pid_t sender = test::forkChild([&] { return sendGarbageThenGoodMessage(*address); });

    ReceiveBuffer buffer;
    ASSERT_EQ(receive(port, buffer), MACH_MSG_SUCCESS);
    EXPECT_EQ(buffer.header()->msgh_id, 7) << "only the well-formed message comes out";
    EXPECT_EQ(std::memcmp(buffer.bytes + 32, "good", 4), 0);
    EXPECT_EQ(test::waitForChild(sender), 0);
    EXPECT_EQ(receive(port, buffer, 100), MACH_RCV_TIMED_OUT);
    destroyReceiveRight(port);
}

// Within one process: the port rights' bookkeeping and the receiver's own errors.
class PortRightsTest : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        m_port = makeService("test.rights");
        ASSERT_NE(m_port, MACH_PORT_NULL);
    }
    void TearDown() override
    {
        if (m_port != MACH_PORT_NULL)
            destroyReceiveRight(m_port);
    }

    mach_msg_return_t sendToSelf(mach_msg_id_t id, const std::string &data)
    {
        test::InlineMessage message;
        test::makeInlineMessage(message, m_port, id, data);
        message.header.msgh_bits = MACH_MSGH_BITS(MACH_MSG_TYPE_MAKE_SEND, 0);
        return test::sendMessage(message);
    }

    mach_port_t m_port = MACH_PORT_NULL;
};

TEST_F(PortRightsTest, OnePortHasOneNameCountsItsReferencesAndRefusesUnknownNames)
{
    mach_port_t first = MACH_PORT_NULL, second = MACH_PORT_NULL;
    ASSERT_EQ(bootstrap_look_up(bootstrapPort(), "test.rights", &first), KERN_SUCCESS);
    ASSERT_EQ(bootstrap_look_up(bootstrapPort(), "test.rights", &second), KERN_SUCCESS);
    EXPECT_EQ(first, m_port) << "looking up one's own port names the receive right";
    EXPECT_EQ(second, first);
    EXPECT_EQ(mach_port_deallocate(mach_task_self(), first), KERN_SUCCESS);
    EXPECT_EQ(mach_port_deallocate(mach_task_self(), first), KERN_SUCCESS);
    EXPECT_EQ(mach_port_deallocate(mach_task_self(), first), KERN_INVALID_RIGHT)
        << "only the receive right is left";
    EXPECT_EQ(mach_port_mod_refs(mach_task_self(), m_port, MACH_PORT_RIGHT_SEND, -1),
              KERN_INVALID_VALUE);
    EXPECT_EQ(mach_port_mod_refs(mach_task_self(), m_port, MACH_PORT_RIGHT_SEND_ONCE, -1),
              KERN_INVALID_RIGHT);
    EXPECT_EQ(mach_port_mod_refs(mach_task_self(), m_port, MACH_PORT_RIGHT_RECEIVE, -2),
              KERN_INVALID_VALUE);
    EXPECT_EQ(mach_port_deallocate(mach_task_self(), 0x7777703), KERN_INVALID_NAME);

    mach_port_t name;
    EXPECT_EQ(mach_port_allocate(mach_task_self(), MACH_PORT_RIGHT_SEND, &name),
              KERN_INVALID_VALUE);
    int onTheHeap = 0;
    EXPECT_EQ(vm_deallocate(mach_task_self(), reinterpret_cast<vm_address_t>(&onTheHeap), 4),
              KERN_INVALID_ADDRESS)
        << "only received memory can be given back";

    // Receiving waits only as long as asked; unknown names are refused.
    ReceiveBuffer waiting;
    EXPECT_EQ(receive(m_port, waiting, 30), MACH_RCV_TIMED_OUT);
    EXPECT_EQ(receive(0x5555503, waiting, 0), MACH_RCV_INVALID_NAME);
    mach_msg_header_t empty{};
    empty.msgh_bits = MACH_MSGH_BITS(MACH_MSG_TYPE_COPY_SEND, 0);
    empty.msgh_remote_port = 0x5555503;
    EXPECT_EQ(mach_msg(&empty, MACH_SEND_MSG, sizeof(empty), 0, MACH_PORT_NULL, 0, 0),
              MACH_SEND_INVALID_DEST);
}

TEST_F(PortRightsTest, AMessageTooLargeForTheBufferIsKeptOnlyWhenAskedTo)
{
    ASSERT_EQ(sendToSelf(1, std::string(100, 'a')), MACH_MSG_SUCCESS);
    ReceiveBuffer buffer;
    EXPECT_EQ(mach_msg(buffer.header(), MACH_RCV_MSG | MACH_RCV_TIMEOUT | MACH_RCV_LARGE, 0, 40,
                       m_port, test::kWatchdogMs, MACH_PORT_NULL),
              MACH_RCV_TOO_LARGE);
    EXPECT_EQ(buffer.header()->msgh_size, 140u) << "the size needed is reported";
    ASSERT_EQ(receive(m_port, buffer), MACH_MSG_SUCCESS);
    EXPECT_EQ(buffer.header()->msgh_id, 1);

    ASSERT_EQ(sendToSelf(2, std::string(100, 'b')), MACH_MSG_SUCCESS);
    EXPECT_EQ(mach_msg(buffer.header(), MACH_RCV_MSG | MACH_RCV_TIMEOUT, 0, 40, m_port,
                       test::kWatchdogMs, MACH_PORT_NULL),
              MACH_RCV_TOO_LARGE);
    EXPECT_EQ(receive(m_port, buffer, 50), MACH_RCV_TIMED_OUT) << "dropped without MACH_RCV_LARGE";
}

TEST_F(PortRightsTest, DestroyingTheReceiveRightInvalidatesEverySender)
{
    test::Signal connected, destroyed;
    pid_t sender = test::forkChild([&] {
        mach_port_t remote = MACH_PORT_NULL;
        if (bootstrap_look_up(bootstrapPort(), "test.rights", &remote) != KERN_SUCCESS)
            return 2;
        test::InlineMessage message;
        test::makeInlineMessage(message, remote, 1, "before");
        if (test::sendMessage(message) != MACH_MSG_SUCCESS)
            return 3;
        connected.send();
        if (!destroyed.wait())
            return 4;
        return test::sendMessage(message) == MACH_SEND_INVALID_DEST ? 0 : 5;
    });
    ASSERT_TRUE(connected.wait());
    mach_port_t service = MACH_PORT_NULL;
    ASSERT_EQ(bootstrap_look_up(bootstrapPort(), "test.rights", &service), KERN_SUCCESS);
    test::InlineMessage message;
    test::makeInlineMessage(message, service, 1, "cached");
    ASSERT_EQ(test::sendMessage(message), MACH_MSG_SUCCESS);

    destroyReceiveRight(m_port);
    mach_port_t gone = m_port;
    m_port = MACH_PORT_NULL;
    destroyed.send();
    EXPECT_EQ(test::waitForChild(sender), 0) << "another process's connection notices";
    EXPECT_EQ(test::sendMessage(message), MACH_SEND_INVALID_DEST) << "so does this process's own";
    message.header.msgh_bits = MACH_MSGH_BITS(MACH_MSG_TYPE_MAKE_SEND, 0);
    EXPECT_EQ(test::sendMessage(message), MACH_SEND_INVALID_DEST)
        << "no receive right is left to make a send right from";
    ReceiveBuffer buffer;
    EXPECT_EQ(receive(gone, buffer, 0), MACH_RCV_INVALID_NAME);
    EXPECT_EQ(test::sendInline("test.rights", 3, "fresh look-up"), MACH_SEND_INVALID_DEST)
        << "a registration that outlives its right leads nowhere";
    EXPECT_EQ(mach_port_deallocate(mach_task_self(), service), KERN_SUCCESS);
}

} // namespace
