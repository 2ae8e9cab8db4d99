#pragma once
// How a Mach message crosses from one process to another.
//
// A message leaves its sender as one packet on the connection to the receive right's
// socket:
//
//   offset 0   magic "CVMG" (4 bytes), the reply right's kind (4), its address length (4)
//   offset 12  the reply right's address (the receive right's socket name), no terminator
//   then       the message in the 32-bit layout, exactly msgh_size bytes:
//              header (24: bits, size, remote 0, local 0, voucher 0, id);
//              complex messages: descriptor count (4), then per out-of-line descriptor
//              address 0 (4), size (4), flag word (4: deallocate, copy, pad, type, one
//              byte each from the low end); then the inline bytes.
//
// Port names mean nothing outside their process, so the header's ports travel as 0 and
// only the reply right travels, by address; the receiver gives it a name of its own. Each
// out-of-line descriptor with a non-zero size sends one sealed memory file in the packet's
// SCM_RIGHTS, in descriptor order. The receiver checks every length and count against the
// packet it got, maps each memory file and rebuilds the message in its own layout, where a
// descriptor holds a pointer to the mapping. Anything that does not add up drops the whole
// packet, with its descriptors, and the receiver moves on to the next one.

#include "darwin/OutOfLineMemory.h"
#include "darwin/Socket.h"
#include "darwin/mach.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

inline constexpr size_t kWireHeaderSize = 24;
inline constexpr size_t kWireBodySize = 4;
inline constexpr size_t kWireDescriptorSize = 12;
inline constexpr size_t kMemoryDescriptorSize = sizeof(mach_msg_ool_descriptor_t);
// The largest msgh_size a message may have; larger data goes out of line.
inline constexpr size_t kMaxMessageSize = 64 * 1024;
inline constexpr size_t kMaxDescriptors = kMaxPacketDescriptors;
// The longest socket name of a receive right.
inline constexpr size_t kMaxPortAddressLength = 63;

// The right that a message hands its receiver for replying (the header's local port).
enum class ReplyRight : std::uint32_t {
    None = 0,
    Send = 1,
    SendOnce = 2,
};

// True for names that a receive right may give its socket: letters, digits and '-',
// at most kMaxPortAddressLength of them.
bool isValidPortAddress(std::string_view address);

// The packet of one message on its way out.
struct OutgoingMessage {
    std::vector<std::byte> bytes;
    std::vector<OwnedFd> memoryFiles;
};

// A message received and rebuilt in this process's layout.
struct IncomingMessage {
    std::vector<std::byte> memory;
    std::vector<MappedRegion> regions;
    ReplyRight reply = ReplyRight::None;
    std::string replyAddress;

    mach_msg_header_t &header() { return *reinterpret_cast<mach_msg_header_t *>(memory.data()); }
};

// The largest packet a well-formed message can make.
size_t maxPacketSize();

// Builds the packet for `message`; sendSize counts descriptors at their wire size.
// Answers MACH_MSG_SUCCESS or the mach_msg error that the send must report.
[[nodiscard]] mach_msg_return_t encodeMessage(const mach_msg_header_t &message,
                                              mach_msg_size_t sendSize, ReplyRight reply,
                                              std::string_view replyAddress,
                                              OutgoingMessage &packet);

// Checks a received packet and rebuilds its message; false (with the reason in `problem`)
// when the packet must be dropped. Takes the packet's descriptors in either case.
[[nodiscard]] bool decodeMessage(Packet &packet, IncomingMessage &message,
                                 std::string_view &problem);

} // namespace sim
