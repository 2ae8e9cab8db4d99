// The packet a message becomes, and how the receiver checks it, without any socket.

#include "darwin/MessageWire.h"
#include "ChildProcess.h"

#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <tuple>
#include <unistd.h>

namespace {

constexpr size_t kPrefixSize = 12;

using test::OutOfLineMessage;

void makeOutOfLine(OutOfLineMessage &message, const std::string &data)
{
    test::makeOutOfLineMessage(message, MACH_PORT_NULL, 3, data);
}

sim::Packet toPacket(sim::OutgoingMessage &outgoing)
{
    sim::Packet packet;
    packet.bytes = outgoing.bytes;
    for (sim::OwnedFd &file : outgoing.memoryFiles)
        packet.descriptors.push_back(std::move(file));
    return packet;
}

std::uint32_t wireWord(const sim::Packet &packet, size_t messageOffset)
{
    std::uint32_t value;
    std::memcpy(&value, packet.bytes.data() + kPrefixSize + messageOffset, sizeof(value));
    return value;
}

void setWireWord(sim::Packet &packet, size_t messageOffset, std::uint32_t value)
{
    std::memcpy(packet.bytes.data() + kPrefixSize + messageOffset, &value, sizeof(value));
}

// Decoding must fail, and say why.
void expectDropped(sim::Packet packet, const char *why)
{
    sim::IncomingMessage message;
    std::string_view problem;
    EXPECT_FALSE(sim::decodeMessage(packet, message, problem)) << why;
    EXPECT_FALSE(problem.empty()) << why;
    EXPECT_TRUE(packet.descriptors.empty()) << why << ": descriptors must be closed";
}

TEST(MessageWire, InlineMessageKeepsItsSizeAndBytes)
{
    test::InlineMessage message;
    std::string data(4096, '\0');
    for (size_t index = 0; index < data.size(); ++index)
        data[index] = static_cast<char>(index * 7);
    test::makeInlineMessage(message, 0x1103, 5, data);
    ASSERT_EQ(message.header.msgh_size, 4136u);

    sim::OutgoingMessage outgoing;
    ASSERT_EQ(sim::encodeMessage(message.header, message.header.msgh_size, sim::ReplyRight::None,
                                 {}, outgoing),
              MACH_MSG_SUCCESS);
    EXPECT_EQ(outgoing.bytes.size(), kPrefixSize + 4136);
    EXPECT_TRUE(outgoing.memoryFiles.empty());

    sim::Packet packet = toPacket(outgoing);
    EXPECT_EQ(wireWord(packet, 8), 0u) << "port names do not travel";
    sim::IncomingMessage received;
    std::string_view problem;
    ASSERT_TRUE(sim::decodeMessage(packet, received, problem)) << problem;
    ASSERT_EQ(received.memory.size(), 4136u);
    EXPECT_EQ(received.header().msgh_size, 4136u);
    EXPECT_EQ(received.header().msgh_id, 5);
    EXPECT_EQ(std::memcmp(received.memory.data() + 32, data.data(), data.size()), 0);
}

TEST(MessageWire, OutOfLineMemoryTravelsAsASealedFileAndIsMapped)
{
    std::string data(4097, 'x');
    data[4096] = 'z';
    OutOfLineMessage message;
    makeOutOfLine(message, data);

    sim::OutgoingMessage outgoing;
    ASSERT_EQ(
        sim::encodeMessage(message.header, 40, sim::ReplyRight::SendOnce, "1-2-abc", outgoing),
        MACH_MSG_SUCCESS);
    ASSERT_EQ(outgoing.memoryFiles.size(), 1u);
    EXPECT_EQ(fcntl(outgoing.memoryFiles[0].get(), F_GET_SEALS) & F_SEAL_WRITE, F_SEAL_WRITE);
    sim::Packet packet = toPacket(outgoing);
    ASSERT_EQ(packet.bytes.size(), kPrefixSize + 7 + 40);

    sim::IncomingMessage received;
    std::string_view problem;
    ASSERT_TRUE(sim::decodeMessage(packet, received, problem)) << problem;
    EXPECT_EQ(received.reply, sim::ReplyRight::SendOnce);
    EXPECT_EQ(received.replyAddress, "1-2-abc");
    ASSERT_EQ(received.memory.size(), sizeof(OutOfLineMessage));
    OutOfLineMessage decoded;
    std::memcpy(&decoded, received.memory.data(), sizeof(decoded));
    EXPECT_EQ(decoded.header.msgh_size, 40u);
    EXPECT_EQ(decoded.body.msgh_descriptor_count, 1u);
    EXPECT_EQ(decoded.descriptor.size, 4097u);
    EXPECT_EQ(decoded.descriptor.type, unsigned(MACH_MSG_OOL_DESCRIPTOR));
    EXPECT_EQ(decoded.descriptor.copy, unsigned(MACH_MSG_VIRTUAL_COPY));
    const void *mapped = decoded.descriptor.address; // read out of the packed field
    ASSERT_NE(mapped, data.data());
    EXPECT_EQ(std::memcmp(mapped, data.data(), data.size()), 0);
}

TEST(MessageWire, SenderErrorsNameTheProblem)
{
    test::InlineMessage message;
    test::makeInlineMessage(message, 0x1103, 1, "abc");
    sim::OutgoingMessage outgoing;
    EXPECT_EQ(sim::encodeMessage(message.header, 20, sim::ReplyRight::None, {}, outgoing),
              MACH_SEND_MSG_TOO_SMALL);
    EXPECT_EQ(sim::encodeMessage(message.header, 42, sim::ReplyRight::None, {}, outgoing),
              MACH_SEND_INVALID_DATA);
    EXPECT_EQ(sim::encodeMessage(message.header, 40, sim::ReplyRight::Send, {}, outgoing),
              MACH_SEND_INVALID_REPLY);
    EXPECT_EQ(sim::encodeMessage(message.header, 40, sim::ReplyRight::Send, "../etc", outgoing),
              MACH_SEND_INVALID_REPLY);

    std::string data(10, 'a');
    OutOfLineMessage complex;
    makeOutOfLine(complex, data);
    complex.descriptor.type = MACH_MSG_PORT_DESCRIPTOR;
    EXPECT_EQ(sim::encodeMessage(complex.header, 40, sim::ReplyRight::None, {}, outgoing),
              MACH_SEND_INVALID_TYPE);
    makeOutOfLine(complex, data);
    complex.descriptor.address = nullptr;
    EXPECT_EQ(sim::encodeMessage(complex.header, 40, sim::ReplyRight::None, {}, outgoing),
              MACH_SEND_INVALID_MEMORY);
    makeOutOfLine(complex, data);
    complex.body.msgh_descriptor_count = 2; // a second descriptor would end past 40 bytes
    EXPECT_EQ(sim::encodeMessage(complex.header, 40, sim::ReplyRight::None, {}, outgoing),
              MACH_SEND_MSG_TOO_SMALL);
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
        // Each drop case changes one thing of a packet that decodes untouched.
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

TEST_F(MessageWireDrops, ShortOrForeignPackets)
{
    sim::Packet packet = goodPacket();
    packet.bytes.resize(20);
    expectDropped(std::move(packet), "shorter than a header");

    packet = goodPacket();
    packet.bytes[0] = std::byte{'X'};
    expectDropped(std::move(packet), "wrong magic");

    packet = goodPacket();
    packet.bytes.resize(packet.bytes.size() - 4);
    expectDropped(std::move(packet), "cut short");
}

TEST_F(MessageWireDrops, SizesThatLie)
{
    const std::tuple<size_t, std::uint32_t, const char *> lies[] = {
        {4, 44, "msgh_size larger than the packet"},
        {4, 36, "msgh_size smaller than the packet"},
        {24, 3, "more descriptors than fit"},
        {24, 0xffffffff, "descriptor count overflowing"},
        {32, 200, "descriptor larger than its memory file"},
    };
    for (const auto &[offset, value, why] : lies) {
        sim::Packet packet = goodPacket();
        setWireWord(packet, offset, value);
        expectDropped(std::move(packet), why);
    }
}

TEST_F(MessageWireDrops, MemoryFilesThatDoNotAddUp)
{
    sim::Packet packet = goodPacket();
    packet.descriptors.clear();
    expectDropped(std::move(packet), "announced memory file absent");

    packet = goodPacket();
    packet.descriptors.emplace_back(memfd_create("extra", MFD_CLOEXEC));
    expectDropped(std::move(packet), "a memory file nobody announced");

    packet = goodPacket();
    packet.descriptors[0].reset(memfd_create("unsealed", MFD_CLOEXEC));
    ASSERT_EQ(ftruncate(packet.descriptors[0].get(), 100), 0);
    expectDropped(std::move(packet), "memory file the sender could still change");

    packet = goodPacket();
    setWireWord(packet, 0, MACH_MSGH_BITS(MACH_MSG_TYPE_COPY_SEND, 0));
    expectDropped(std::move(packet), "a simple message with a memory file");
}

TEST_F(MessageWireDrops, ReplyRightsThatDoNotAddUp)
{
    sim::Packet packet = goodPacket();
    std::uint32_t sendOnce = 2;
    std::memcpy(packet.bytes.data() + 4, &sendOnce, sizeof(sendOnce));
    expectDropped(std::move(packet), "reply right without an address");

    packet = goodPacket();
    std::uint32_t tooLong = 1000;
    std::memcpy(packet.bytes.data() + 8, &tooLong, sizeof(tooLong));
    expectDropped(std::move(packet), "address longer than the packet");
}

} // namespace
