// The reload service's messages as they arrive on the wire: a packet on the receive
// right's socket (MessageWire.h) with up to two sealed memory files for out-of-line data.
// Whatever the packet says (inline or out-of-line sizes, a lying out-of-line size, a wrong
// message id, a truncated message, a reply right), the platform rebuilds the message or
// drops it, and the service handles what is rebuilt as SpringBoard's port would: in a
// buffer of exactly the received size, so a read past what arrived is caught. An update
// the service applies must leave every section savable as a property list.
//
// Input: one byte giving the number of memory files (low two bits), each file as a
// 16-bit little-endian length and its bytes, then the packet.

#include "FuzzDevice.h"

#include "darwin/MessageWire.h"
#include "darwin/OutOfLineMemory.h"
#include "darwin/PortTable.h"
#include "foundation/NSDictionary.h"
#include "settings-core/CVReloadService.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace {

const std::string kSettingsFile = "/var/mobile/Library/Preferences/com.kestrelworks.corvane3.plist";

bool g_applied = false;

void noteApplied(std::uint32_t, CFDictionaryRef)
{
    g_applied = true;
}

bool prepare()
{
    fuzz::deviceRoot();
    CVLoadSettings();
    CVSetReloadObserver(noteApplied);
    return true;
}

// Splits the input into the packet and its memory files; false when it runs short.
bool readPacket(std::span<const std::uint8_t> input, sim::Packet &packet)
{
    if (input.empty())
        return false;
    unsigned files = input[0] & 0x3;
    input = input.subspan(1);
    for (unsigned index = 0; index < files; ++index) {
        if (input.size() < 2)
            return false;
        std::size_t length = input[0] | (std::size_t(input[1]) << 8);
        input = input.subspan(2);
        if (input.size() < length)
            return false;
        sim::OwnedFd memory = sim::makeSealedMemory(input.data(), length);
        if (!memory.valid())
            return false;
        packet.descriptors.push_back(std::move(memory));
        input = input.subspan(length);
    }
    const auto *bytes = reinterpret_cast<const std::byte *>(input.data());
    packet.bytes.assign(bytes, bytes + input.size());
    return true;
}

// The header as the receive gives it to the service: the reply right named in this
// process as the remote port.
void adoptReplyRight(sim::IncomingMessage &message)
{
    mach_msg_header_t &header = message.header();
    mach_port_t reply = MACH_PORT_NULL;
    mach_msg_type_name_t type = 0;
    if (message.reply == sim::ReplyRight::SendOnce) {
        reply = sim::PortTable::shared().insertSendOnceRight(message.replyAddress);
        type = MACH_MSG_TYPE_PORT_SEND_ONCE;
    } else if (message.reply == sim::ReplyRight::Send) {
        reply = sim::PortTable::shared().insertSendRight(message.replyAddress);
        type = MACH_MSG_TYPE_PORT_SEND;
    }
    header.msgh_bits = (header.msgh_bits & MACH_MSGH_BITS_COMPLEX) | MACH_MSGH_BITS(type, 0);
    header.msgh_remote_port = reply;
    header.msgh_local_port = MACH_PORT_NULL;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const bool ready = prepare();
    (void)ready;
    sim::Packet packet;
    if (!readPacket({data, size}, packet))
        return 0;
    sim::IncomingMessage message;
    std::string_view problem;
    if (!sim::decodeMessage(packet, message, problem))
        return 0;
    adoptReplyRight(message);
    std::size_t received = message.memory.size();
    auto exact = std::make_unique<std::byte[]>(received);
    std::memcpy(exact.get(), message.memory.data(), received);
    for (sim::MappedRegion &region : message.regions)
        region.adopt();

    g_applied = false;
    CVHandleSectionMessage(nullptr, exact.get(), static_cast<CFIndex>(received), nullptr);
    if (g_applied) {
        AutoreleasePool pool;
        CVSaveSettings();
        if (!NSDictionary::dictionaryWithContentsOfFile(
                NSString::stringWithUTF8String(kSettingsFile.c_str())))
            fuzz::fail("settings changed by an update no longer save as a property list");
    }
    return 0;
}
