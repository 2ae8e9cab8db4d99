// The packet a message becomes, and how the receiver checks it, without any socket.

#include "darwin/MessageWire.h"
#include "ChildProcess.h"

#include <cstring>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr size_t kPrefixSize = 12;

using test::OutOfLineMessage;

void makeOutOfLine(OutOfLineMessage &message, const std::string &data)
{
    test::makeOutOfLineMessage(message, MACH_PORT_NULL, 3, data);
}

void setWireWord(sim::Packet &packet, size_t messageOffset, std::uint32_t value)
{
    std::memcpy(packet.bytes.data() + kPrefixSize + messageOffset, &value, sizeof(value));
}

TEST(MessageWire, SenderErrorsNameTheProblem)
{
    test::InlineMessage message;
    test::makeInlineMessage(message, 0x1103, 1, "abc");
    sim::OutgoingMessage outgoing;
    auto encode = [&](const mach_msg_header_t &header, mach_msg_size_t size,
                      sim::ReplyRight reply = sim::ReplyRight::None, const char *address = "") {
        return sim::encodeMessage(header, size, reply, address, outgoing);
    };
    EXPECT_EQ(encode(message.header, 20), MACH_SEND_MSG_TOO_SMALL);
    EXPECT_EQ(encode(message.header, 42), MACH_SEND_INVALID_DATA);
    EXPECT_EQ(encode(message.header, 40, sim::ReplyRight::Send), MACH_SEND_INVALID_REPLY);
    EXPECT_EQ(encode(message.header, 40, sim::ReplyRight::Send, "../etc"), MACH_SEND_INVALID_REPLY);

    std::string data(10, 'a');
    const std::pair<void (*)(OutOfLineMessage &), mach_msg_return_t> breaks[] = {
        {[](OutOfLineMessage &m) { m.descriptor.type = MACH_MSG_PORT_DESCRIPTOR; },
         MACH_SEND_INVALID_TYPE},
        {[](OutOfLineMessage &m) { m.descriptor.address = nullptr; }, MACH_SEND_INVALID_MEMORY},
        // A second descriptor would end past 40 bytes.
        {[](OutOfLineMessage &m) { m.body.msgh_descriptor_count = 2; }, MACH_SEND_MSG_TOO_SMALL},
    };
    for (const auto &[breakIt, expected] : breaks) {
        OutOfLineMessage complex;
        makeOutOfLine(complex, data);
        breakIt(complex);
        EXPECT_EQ(encode(complex.header, 40), expected);
    }
}

class MessageWireDrops : public testing::Test {
protected:
    void SetUp() override
    {
        makeOutOfLine(m_message, m_data);
        sim::OutgoingMessage outgoing;
        ASSERT_EQ(sim::encodeMessage(m_message.header, 40, sim::ReplyRight::None, {}, outgoing),
                  MACH_MSG_SUCCESS);
        m_good = std::move(outgoing);
        sim::Packet packet = goodPacket();
        sim::IncomingMessage message;
        std::string_view problem;
        ASSERT_TRUE(sim::decodeMessage(packet, message, problem)) << problem;
    }

    // A fresh copy of the good packet, with its own duplicate of the memory file.
    sim::Packet goodPacket()
    {
        sim::Packet packet;
        packet.bytes = m_good.bytes;
        packet.descriptors.emplace_back(fcntl(m_good.memoryFiles[0].get(), F_DUPFD_CLOEXEC, 0));
        return packet;
    }

    std::string m_data = std::string(100, 'q');
    OutOfLineMessage m_message;
    sim::OutgoingMessage m_good;
};

// Each case changes one thing of the good packet.
TEST_F(MessageWireDrops, PacketsThatDoNotAddUp)
{
    auto word = [](size_t offset, std::uint32_t value) {
        return [=](sim::Packet &packet) { setWireWord(packet, offset, value); };
    };
    auto prefixWord = [](size_t offset, std::uint32_t value) {
        return [=](sim::Packet &packet) {
            std::memcpy(packet.bytes.data() + offset, &value, sizeof(value));
        };
    };
    const std::pair<const char *, std::function<void(sim::Packet &)>> lies[] = {
        {"shorter than a header", [](sim::Packet &packet) { packet.bytes.resize(20); }},
        {"wrong magic", [](sim::Packet &packet) { packet.bytes[0] = std::byte{'X'}; }},
        {"cut short", [](sim::Packet &packet) { packet.bytes.resize(packet.bytes.size() - 4); }},
        {"msgh_size larger than the packet", word(4, 44)},
        {"msgh_size smaller than the packet", word(4, 36)},
        {"more descriptors than fit", word(24, 3)},
        {"descriptor count overflowing", word(24, 0xffffffff)},
        {"descriptor larger than its memory file", word(32, 200)},
        {"a simple message with a memory file",
         word(0, MACH_MSGH_BITS(MACH_MSG_TYPE_COPY_SEND, 0))},
        {"announced memory file absent", [](sim::Packet &packet) { packet.descriptors.clear(); }},
        {"a memory file nobody announced",
         [](sim::Packet &packet) {
             packet.descriptors.emplace_back(memfd_create("extra", MFD_CLOEXEC));
         }},
        {"memory file the sender could still change",
         [](sim::Packet &packet) {
             packet.descriptors[0].reset(memfd_create("unsealed", MFD_CLOEXEC));
             ASSERT_EQ(ftruncate(packet.descriptors[0].get(), 100), 0);
         }},
        {"reply right without an address", prefixWord(4, 2)},
        {"address longer than the packet", prefixWord(8, 1000)},
    };
    for (const auto &[why, lie] : lies) {
        sim::Packet packet = goodPacket();
        lie(packet);
        sim::IncomingMessage message;
        std::string_view problem;
        EXPECT_FALSE(sim::decodeMessage(packet, message, problem)) << why;
        EXPECT_FALSE(problem.empty()) << why;
        EXPECT_TRUE(packet.descriptors.empty()) << why << ": descriptors must be closed";
    }
}

} // namespace
