#include "darwin/MachMessages.h"

#include "darwin/PortTable.h"

#include <climits>
#include <cstring>

namespace sim {

namespace {

// Hands the sender's out-of-line memory back when its descriptor asked for that. Only
// memory this process received can be given back; other memory stays with its owner.
void deallocateSentMemory(const mach_msg_header_t &message)
{
    if (!(message.msgh_bits & MACH_MSGH_BITS_COMPLEX))
        return;
    const auto *memory = reinterpret_cast<const std::byte *>(&message);
    mach_msg_size_t count;
    std::memcpy(&count, memory + sizeof(mach_msg_header_t), sizeof(count));
    for (mach_msg_size_t index = 0; index < count && index < kMaxDescriptors; ++index) {
        mach_msg_ool_descriptor_t descriptor;
        std::memcpy(&descriptor,
                    memory + sizeof(mach_msg_header_t) + sizeof(mach_msg_body_t) +
                        index * sizeof(descriptor),
                    sizeof(descriptor));
        if (descriptor.deallocate && descriptor.address)
            (void)unmapAdopted(descriptor.address);
    }
}

// The disposition the receiver sees for the right it received the message through.
mach_msg_type_name_t receivedLocalType(mach_msg_bits_t sentBits)
{
    mach_msg_type_name_t sent = MACH_MSGH_BITS_REMOTE(sentBits);
    bool once = sent == MACH_MSG_TYPE_MOVE_SEND_ONCE || sent == MACH_MSG_TYPE_MAKE_SEND_ONCE;
    return once ? MACH_MSG_TYPE_PORT_SEND_ONCE : MACH_MSG_TYPE_PORT_SEND;
}

// Rewrites the received header in the receiver's terms: the reply right gets a name of
// this process and becomes the remote port; the receive right is the local port.
void adoptHeader(IncomingMessage &message, mach_port_t receiveName)
{
    mach_msg_header_t &header = message.header();
    mach_port_t replyName = MACH_PORT_NULL;
    mach_msg_type_name_t replyType = 0;
    if (message.reply == ReplyRight::SendOnce) {
        replyName = PortTable::shared().insertSendOnceRight(message.replyAddress);
        replyType = MACH_MSG_TYPE_PORT_SEND_ONCE;
    } else if (message.reply == ReplyRight::Send) {
        replyName = PortTable::shared().insertSendRight(message.replyAddress);
        replyType = MACH_MSG_TYPE_PORT_SEND;
    }
    header.msgh_bits = (header.msgh_bits & MACH_MSGH_BITS_COMPLEX) |
                       MACH_MSGH_BITS(replyType, receivedLocalType(header.msgh_bits));
    header.msgh_remote_port = replyName;
    header.msgh_local_port = receiveName;
    header.msgh_voucher_port = MACH_PORT_NULL;
}

} // namespace

int timeoutMs(mach_msg_option_t option, mach_msg_option_t timeoutOption, mach_msg_timeout_t timeout)
{
    if (!(option & timeoutOption))
        return -1;
    return timeout > static_cast<mach_msg_timeout_t>(INT_MAX) ? INT_MAX : static_cast<int>(timeout);
}

mach_msg_return_t sendMessage(const mach_msg_header_t &message, mach_msg_size_t sendSize,
                              int timeoutMs)
{
    mach_msg_type_name_t remoteType = MACH_MSGH_BITS_REMOTE(message.msgh_bits);
    mach_msg_type_name_t localType = MACH_MSGH_BITS_LOCAL(message.msgh_bits);
    PortTable &table = PortTable::shared();
    std::shared_ptr<SendChannel> channel;
    if (mach_msg_return_t problem = table.channelFor(message.msgh_remote_port, remoteType, channel))
        return problem;
    ReplyRight reply;
    std::string replyAddress;
    if (mach_msg_return_t problem =
            table.replyRightFor(message.msgh_local_port, localType, reply, replyAddress))
        return problem;
    OutgoingMessage packet;
    if (mach_msg_return_t problem = encodeMessage(message, sendSize, reply, replyAddress, packet))
        return problem;
    if (mach_msg_return_t problem = channel->send(packet, timeoutMs))
        return problem;
    table.consumeMoved(message.msgh_remote_port, remoteType);
    if (message.msgh_local_port != MACH_PORT_NULL)
        table.consumeMoved(message.msgh_local_port, localType);
    deallocateSentMemory(message);
    return MACH_MSG_SUCCESS;
}

mach_msg_return_t receiveMessage(ReceiveRight &right, mach_port_t name, mach_msg_header_t *buffer,
                                 mach_msg_size_t bufferSize, int timeoutMs, bool keepLarge)
{
    IncomingMessage message;
    if (mach_msg_return_t problem = right.receive(timeoutMs, message))
        return problem;
    if (message.memory.size() > bufferSize) {
        if (keepLarge && bufferSize >= sizeof(mach_msg_header_t)) {
            buffer->msgh_size = static_cast<mach_msg_size_t>(message.memory.size());
            right.putBack(std::move(message));
        }
        return MACH_RCV_TOO_LARGE;
    }
    adoptHeader(message, name);
    std::memcpy(buffer, message.memory.data(), message.memory.size());
    for (MappedRegion &region : message.regions)
        region.adopt();
    return MACH_MSG_SUCCESS;
}

} // namespace sim

extern "C" mach_msg_return_t mach_msg(mach_msg_header_t *message, mach_msg_option_t option,
                                      mach_msg_size_t send_size, mach_msg_size_t rcv_size,
                                      mach_port_name_t rcv_name, mach_msg_timeout_t timeout,
                                      mach_port_name_t /*notify: no notification ports here*/)
{
    if (!message)
        return (option & MACH_SEND_MSG) ? MACH_SEND_INVALID_DATA : MACH_RCV_INVALID_NAME;
    if (option & MACH_SEND_MSG) {
        if (mach_msg_return_t problem = sim::sendMessage(
                *message, send_size, sim::timeoutMs(option, MACH_SEND_TIMEOUT, timeout)))
            return problem;
    }
    if (option & MACH_RCV_MSG) {
        std::shared_ptr<sim::ReceiveRight> right = sim::PortTable::shared().receiveRight(rcv_name);
        if (!right)
            return MACH_RCV_INVALID_NAME;
        return sim::receiveMessage(*right, rcv_name, message, rcv_size,
                                   sim::timeoutMs(option, MACH_RCV_TIMEOUT, timeout),
                                   option & MACH_RCV_LARGE);
    }
    return MACH_MSG_SUCCESS;
}
