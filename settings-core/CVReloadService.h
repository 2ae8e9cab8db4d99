#pragma once
// The reload service: how a changed section gets from the settings panel into the running
// SpringBoard without a restart. Inside SpringBoard, CVLoadSettings registers a receive
// right under a bootstrap name and watches it on the main run loop; the panel looks the
// name up and sends one Mach message per change, carrying the section identifier and the
// section dictionary (usually just the changed keys) as a binary property list. The
// service loads the dictionary into the section's shared instance and calls the section's
// changeCallback, all on SpringBoard's main thread, so a hook never sees half an update.
//
// The message, in the Mach layout a 32-bit process uses on the wire:
//
//     0  msgh_bits        COPY_SEND to the service (| COMPLEX when out of line)
//     4  msgh_size        data length + 40 rounded up to 4 inline, 40 out of line
//     8  msgh_remote_port the service;  12 msgh_local_port none;  16 voucher 0
//    20  msgh_id          the CVSectionID
//    24  descriptor count 0 inline, 1 out of line
//    28  inline: data length, then the data from offset 32 (at most 4096 bytes)
//        out of line: one descriptor (address, size, flags) for longer data
//
// In memory the out-of-line descriptor has this process's layout (mach.h); the platform
// converts. Nothing is answered: the sender learns nothing of what the service did.

#include "darwin/CFMachPort.h"
#include "darwin/bootstrap.h"
#include "settings-core/CVSettings.h"

#include <cstddef>
#include <cstdint>

inline constexpr name_t CVReloadServiceName = "com.kestrelworks.corvane3.reload";

// Data up to this length travels inline.
inline constexpr std::size_t CVSectionMessageInlineLimit = 4096;
// The inline buffer: the receiver reads at most this many bytes after the length field.
inline constexpr std::size_t CVSectionMessageInlineCapacity = 4104;
// A message shorter than this is not a section message (see the service's handler).
inline constexpr mach_msg_size_t CVSectionMessageMinimumSize = 40;

struct CVSectionMessage {
    mach_msg_header_t header;
    mach_msg_body_t body;
    union {
        struct {
            mach_msg_size_t length;
            std::uint8_t bytes[CVSectionMessageInlineCapacity];
        } inlineData;
        mach_msg_ool_descriptor_t outOfLine;
    };
};
static_assert(sizeof(CVSectionMessage) == 4136, "the inline form holds 4096 bytes in 4136");

// Builds the message for `length` bytes of serialised section data addressed to
// `service`. Out of line, the descriptor points at `bytes`, which stay the caller's and
// must outlive the send.
void CVMakeSectionMessage(CVSectionMessage &message, mach_port_t service, std::uint32_t sectionID,
                          const void *bytes, std::size_t length);

// Registers the service under CVReloadServiceName and watches it on the current (main)
// run loop. The receive right is made once per process; later calls register it again.
void CVStartReloadService();

// The service's port callback: handles one received message of `size` bytes in this
// process's layout, exactly as when the port delivers it. For tools that feed the service
// messages without a port (the fuzz target of the wire).
void CVHandleSectionMessage(CFMachPortRef port, void *message, CFIndex size, void *info);

// Told of every update the service has applied, after the section's changeCallback: the
// section identifier and the dictionary received. For tools that watch live changes (the
// device tool's listener); SpringBoard sets none.
using CVReloadObserver = void (*)(std::uint32_t sectionID, CFDictionaryRef changes);
void CVSetReloadObserver(CVReloadObserver observer);
