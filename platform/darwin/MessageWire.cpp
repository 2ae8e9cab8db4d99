#include "darwin/MessageWire.h"

#include <cstring>

namespace sim {

namespace {

constexpr std::uint32_t kPacketMagic = 0x474d5643; // "CVMG" read as little-endian bytes
constexpr size_t kPrefixSize = 12;
constexpr size_t kMemoryBodyOffset = sizeof(mach_msg_header_t);
constexpr size_t kMemoryDescriptorsOffset = kMemoryBodyOffset + sizeof(mach_msg_body_t);
constexpr size_t kWireDescriptorsOffset = kWireHeaderSize + kWireBodySize;

std::uint32_t readWord(const std::byte *at)
{
    std::uint32_t value;
    std::memcpy(&value, at, sizeof(value));
    return value;
}

void appendWord(std::vector<std::byte> &bytes, std::uint32_t value)
{
    const auto *raw = reinterpret_cast<const std::byte *>(&value);
    bytes.insert(bytes.end(), raw, raw + sizeof(value));
}

void appendBytes(std::vector<std::byte> &bytes, const void *data, size_t size)
{
    const auto *raw = static_cast<const std::byte *>(data);
    bytes.insert(bytes.end(), raw, raw + size);
}

// The flag word of an out-of-line descriptor, in the bit positions of the platform's
// bit fields: deallocate in the low byte, then copy, a pad byte, and the type on top.
std::uint32_t flagWord(const mach_msg_ool_descriptor_t &descriptor)
{
    return (static_cast<std::uint32_t>(descriptor.deallocate) & 0xff) |
           ((descriptor.copy & 0xff) << 8) | ((descriptor.type & 0xff) << 24);
}

bool isOutOfLineType(unsigned type)
{
    return type == MACH_MSG_OOL_DESCRIPTOR || type == MACH_MSG_OOL_VOLATILE_DESCRIPTOR;
}

// The descriptor count of a complex message, or 0 for a simple one.
mach_msg_size_t descriptorCount(const mach_msg_header_t &message)
{
    if (!(message.msgh_bits & MACH_MSGH_BITS_COMPLEX))
        return 0;
    const auto *body = reinterpret_cast<const mach_msg_body_t *>(
        reinterpret_cast<const std::byte *>(&message) + kMemoryBodyOffset);
    return body->msgh_descriptor_count;
}

mach_msg_return_t checkSendSize(const mach_msg_header_t &message, mach_msg_size_t sendSize)
{
    if (sendSize < kWireHeaderSize)
        return MACH_SEND_MSG_TOO_SMALL;
    if (sendSize % 4 != 0)
        return MACH_SEND_INVALID_DATA;
    if (sendSize > kMaxMessageSize)
        return MACH_SEND_TOO_LARGE;
    if (!(message.msgh_bits & MACH_MSGH_BITS_COMPLEX))
        return MACH_MSG_SUCCESS;
    if (sendSize < kWireDescriptorsOffset)
        return MACH_SEND_MSG_TOO_SMALL;
    mach_msg_size_t count = descriptorCount(message);
    if (count > kMaxDescriptors)
        return MACH_SEND_TOO_LARGE;
    if (kWireDescriptorsOffset + count * kWireDescriptorSize > sendSize)
        return MACH_SEND_MSG_TOO_SMALL;
    return MACH_MSG_SUCCESS;
}

// Appends the wire form of each descriptor and makes the memory files to send with them.
mach_msg_return_t encodeDescriptors(const std::byte *memory, mach_msg_size_t count,
                                    OutgoingMessage &packet)
{
    for (mach_msg_size_t index = 0; index < count; ++index) {
        mach_msg_ool_descriptor_t descriptor;
        std::memcpy(&descriptor, memory + kMemoryDescriptorsOffset + index * kMemoryDescriptorSize,
                    sizeof(descriptor));
        if (!isOutOfLineType(descriptor.type))
            return MACH_SEND_INVALID_TYPE;
        if (descriptor.size > kMaxOutOfLineSize)
            return MACH_SEND_TOO_LARGE;
        if (descriptor.size > 0) {
            if (!descriptor.address)
                return MACH_SEND_INVALID_MEMORY;
            OwnedFd file = makeSealedMemory(descriptor.address, descriptor.size);
            if (!file.valid())
                return MACH_SEND_NO_BUFFER;
            packet.memoryFiles.push_back(std::move(file));
        }
        appendWord(packet.bytes, 0);
        appendWord(packet.bytes, descriptor.size);
        appendWord(packet.bytes, flagWord(descriptor));
    }
    return MACH_MSG_SUCCESS;
}

} // namespace

bool isValidPortAddress(std::string_view address)
{
    if (address.empty() || address.size() > kMaxPortAddressLength)
        return false;
    for (char c : address) {
        bool allowed =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
        if (!allowed)
            return false;
    }
    return true;
}

size_t maxPacketSize()
{
    return kPrefixSize + kMaxPortAddressLength + kMaxMessageSize;
}

mach_msg_return_t encodeMessage(const mach_msg_header_t &message, mach_msg_size_t sendSize,
                                ReplyRight reply, std::string_view replyAddress,
                                OutgoingMessage &packet)
{
    if (mach_msg_return_t sizeProblem = checkSendSize(message, sendSize))
        return sizeProblem;
    if ((reply == ReplyRight::None) != replyAddress.empty() ||
        (!replyAddress.empty() && !isValidPortAddress(replyAddress)))
        return MACH_SEND_INVALID_REPLY;

    const auto *memory = reinterpret_cast<const std::byte *>(&message);
    mach_msg_size_t count = descriptorCount(message);
    packet.bytes.clear();
    packet.memoryFiles.clear();
    packet.bytes.reserve(kPrefixSize + replyAddress.size() + sendSize);
    appendWord(packet.bytes, kPacketMagic);
    appendWord(packet.bytes, static_cast<std::uint32_t>(reply));
    appendWord(packet.bytes, static_cast<std::uint32_t>(replyAddress.size()));
    appendBytes(packet.bytes, replyAddress.data(), replyAddress.size());

    appendWord(packet.bytes, message.msgh_bits);
    appendWord(packet.bytes, sendSize);
    appendWord(packet.bytes, 0); // remote and local names stay in this process
    appendWord(packet.bytes, 0);
    appendWord(packet.bytes, 0);
    appendWord(packet.bytes, static_cast<std::uint32_t>(message.msgh_id));
    size_t inlineFromMemory = kMemoryBodyOffset;
    size_t inlineSize = sendSize - kWireHeaderSize;
    if (message.msgh_bits & MACH_MSGH_BITS_COMPLEX) {
        appendWord(packet.bytes, count);
        if (mach_msg_return_t problem = encodeDescriptors(memory, count, packet))
            return problem;
        inlineFromMemory = kMemoryDescriptorsOffset + count * kMemoryDescriptorSize;
        inlineSize = sendSize - kWireDescriptorsOffset - count * kWireDescriptorSize;
    }
    appendBytes(packet.bytes, memory + inlineFromMemory, inlineSize);
    return MACH_MSG_SUCCESS;
}

namespace {

// Reads the prefix: the reply right and where the message starts.
bool decodePrefix(const std::vector<std::byte> &bytes, IncomingMessage &message, size_t &start,
                  std::string_view &problem)
{
    if (bytes.size() < kPrefixSize + kWireHeaderSize || readWord(bytes.data()) != kPacketMagic) {
        problem = "not a message packet";
        return false;
    }
    std::uint32_t reply = readWord(bytes.data() + 4);
    std::uint32_t addressLength = readWord(bytes.data() + 8);
    if (reply > static_cast<std::uint32_t>(ReplyRight::SendOnce) ||
        addressLength > kMaxPortAddressLength || (reply == 0) != (addressLength == 0) ||
        bytes.size() < kPrefixSize + addressLength + kWireHeaderSize) {
        problem = "bad reply right";
        return false;
    }
    message.reply = static_cast<ReplyRight>(reply);
    message.replyAddress.assign(reinterpret_cast<const char *>(bytes.data()) + kPrefixSize,
                                addressLength);
    if (addressLength && !isValidPortAddress(message.replyAddress)) {
        problem = "bad reply address";
        return false;
    }
    start = kPrefixSize + addressLength;
    return true;
}

// Checks the descriptors against the packet's memory files and maps each file.
bool decodeDescriptors(const std::byte *wire, mach_msg_size_t count, const Packet &packet,
                       IncomingMessage &message, std::string_view &problem)
{
    size_t nextFile = 0;
    for (mach_msg_size_t index = 0; index < count; ++index) {
        const std::byte *at = wire + kWireDescriptorsOffset + index * kWireDescriptorSize;
        std::uint32_t size = readWord(at + 4);
        std::uint32_t flags = readWord(at + 8);
        mach_msg_ool_descriptor_t descriptor{};
        descriptor.deallocate = static_cast<boolean_t>(flags & 0xff);
        descriptor.copy = (flags >> 8) & 0xff;
        descriptor.type = flags >> 24;
        descriptor.size = size;
        if (!isOutOfLineType(descriptor.type) || size > kMaxOutOfLineSize) {
            problem = "bad out-of-line descriptor";
            return false;
        }
        if (size > 0) {
            if (nextFile >= packet.descriptors.size()) {
                problem = "out-of-line memory missing";
                return false;
            }
            MappedRegion region =
                MappedRegion::mapSealed(packet.descriptors[nextFile++].get(), size);
            if (!region.valid()) {
                problem = "out-of-line memory not sealed or too short";
                return false;
            }
            descriptor.address = region.address();
            message.regions.push_back(std::move(region));
        }
        std::memcpy(message.memory.data() + kMemoryDescriptorsOffset +
                        index * kMemoryDescriptorSize,
                    &descriptor, sizeof(descriptor));
    }
    if (nextFile != packet.descriptors.size()) {
        problem = "unannounced descriptors";
        return false;
    }
    return true;
}

// Rebuilds the message; the packet's memory files stay open until the caller closes them.
bool rebuildMessage(const Packet &packet, IncomingMessage &message, std::string_view &problem)
{
    message = IncomingMessage{};
    size_t start;
    if (!decodePrefix(packet.bytes, message, start, problem))
        return false;
    const std::byte *wire = packet.bytes.data() + start;
    size_t wireSize = packet.bytes.size() - start;
    std::uint32_t bits = readWord(wire);
    std::uint32_t size = readWord(wire + 4);
    if (size != wireSize || size % 4 != 0 || size > kMaxMessageSize) {
        problem = "size does not match the packet";
        return false;
    }
    mach_msg_size_t count = 0;
    if (bits & MACH_MSGH_BITS_COMPLEX) {
        if (size < kWireDescriptorsOffset) {
            problem = "complex message without a descriptor count";
            return false;
        }
        count = readWord(wire + kWireHeaderSize);
        if (count > kMaxDescriptors ||
            kWireDescriptorsOffset + count * kWireDescriptorSize > size) {
            problem = "bad descriptor count";
            return false;
        }
    } else if (!packet.descriptors.empty()) {
        problem = "descriptors with a simple message";
        return false;
    }

    message.memory.assign(size + count * (kMemoryDescriptorSize - kWireDescriptorSize),
                          std::byte{0});
    std::memcpy(message.memory.data(), wire, kWireHeaderSize);
    size_t inlineFromWire = kWireHeaderSize;
    size_t inlineToMemory = kMemoryBodyOffset;
    if (bits & MACH_MSGH_BITS_COMPLEX) {
        std::memcpy(message.memory.data() + kMemoryBodyOffset, &count, sizeof(count));
        if (!decodeDescriptors(wire, count, packet, message, problem))
            return false;
        inlineFromWire = kWireDescriptorsOffset + count * kWireDescriptorSize;
        inlineToMemory = kMemoryDescriptorsOffset + count * kMemoryDescriptorSize;
    }
    std::memcpy(message.memory.data() + inlineToMemory, wire + inlineFromWire,
                size - inlineFromWire);
    return true;
}

} // namespace

bool decodeMessage(Packet &packet, IncomingMessage &message, std::string_view &problem)
{
    bool decoded = rebuildMessage(packet, message, problem);
    // The mappings keep what they need; the files themselves are closed either way.
    packet.descriptors.clear();
    if (!decoded)
        message = IncomingMessage{};
    return decoded;
}

} // namespace sim
