// The receiving half of the reload service, inside SpringBoard: a Mach port on the main
// run loop whose messages are section updates from the settings panel. Anything that is
// not a well-formed update (an unknown section, data that is not a property list, a
// property list that is not a dictionary, a descriptor the kernel did not vouch for)
// changes nothing and calls no callback.

#include "settings-core/CVReloadService.h"
#include "darwin/CFMachPort.h"
#include "foundation/CFRunLoop.h"
#include "foundation/NSPropertyList.h"
#include "settings-core/CVKeyTable.h"
#include "settings-core/CVRocketBootstrap.h"
#include "settings-core/CVSectionTable.h"

#include <algorithm>
#include <cstddef>

namespace {

// The bytes of the inline form start after the header, the descriptor count and the
// length field.
constexpr std::size_t kInlineDataOffset = offsetof(CVSectionMessage, inlineData.bytes);

// A message too short to be an update gets an empty answer, so that a sender waiting for
// a reply is not left waiting; when the answer cannot be sent, the reply right is given
// back. The right is answered with the disposition it arrived with.
void answerShortMessage(const mach_msg_header_t &received)
{
    mach_port_t replyPort = received.msgh_remote_port;
    if (!MACH_PORT_VALID(replyPort))
        return;
    mach_msg_type_name_t replyType = MACH_MSGH_BITS_REMOTE(received.msgh_bits);
    struct {
        mach_msg_header_t header;
        mach_msg_body_t body;
        std::uint8_t padding[12];
    } reply{};
    reply.header.msgh_bits = MACH_MSGH_BITS(replyType, 0);
    reply.header.msgh_size = CVSectionMessageMinimumSize;
    reply.header.msgh_remote_port = replyPort;
    if (mach_msg(&reply.header, MACH_SEND_MSG, reply.header.msgh_size, 0, MACH_PORT_NULL,
                 MACH_MSG_TIMEOUT_NONE, MACH_PORT_NULL) == MACH_MSG_SUCCESS)
        return;
    mach_port_right_t right = replyType == MACH_MSG_TYPE_MOVE_SEND_ONCE ? MACH_PORT_RIGHT_SEND_ONCE
                                                                        : MACH_PORT_RIGHT_SEND;
    mach_port_mod_refs(mach_task_self(), replyPort, right, -1);
}

// Out-of-line data is trusted only in a complex message, whose descriptors the kernel has
// checked and whose memory it mapped; in any other message those bytes are just data.
// An update carries exactly one plain out-of-line descriptor.
bool carriesOutOfLineData(const CVSectionMessage &message)
{
    return (message.header.msgh_bits & MACH_MSGH_BITS_COMPLEX) &&
           message.body.msgh_descriptor_count == 1 &&
           message.outOfLine.type == MACH_MSG_OOL_DESCRIPTOR;
}

// The kernel mapped the memory of every out-of-line descriptor of a complex message into
// this process; it stays mapped until given back, whether the message was an update or
// not. Only the descriptors that fit in what was received are read.
void releaseOutOfLineMemory(CVSectionMessage &message, CFIndex size)
{
    if (!(message.header.msgh_bits & MACH_MSGH_BITS_COMPLEX))
        return;
    constexpr std::size_t kDescriptorsOffset = offsetof(CVSectionMessage, outOfLine);
    std::size_t room =
        (static_cast<std::size_t>(size) - kDescriptorsOffset) / sizeof(mach_msg_ool_descriptor_t);
    std::size_t count = std::min<std::size_t>(message.body.msgh_descriptor_count, room);
    auto *descriptors = reinterpret_cast<mach_msg_ool_descriptor_t *>(
        reinterpret_cast<std::byte *>(&message) + kDescriptorsOffset);
    for (std::size_t index = 0; index < count; ++index) {
        mach_msg_ool_descriptor_t &descriptor = descriptors[index];
        bool outOfLine = descriptor.type == MACH_MSG_OOL_DESCRIPTOR ||
                         descriptor.type == MACH_MSG_OOL_VOLATILE_DESCRIPTOR;
        if (outOfLine && descriptor.address && descriptor.size > 0)
            vm_deallocate(mach_task_self(), reinterpret_cast<vm_address_t>(descriptor.address),
                          descriptor.size);
    }
    message.body.msgh_descriptor_count = 0;
}

CVReloadObserver g_observer = nullptr;

// Parses the update and applies it to its section, then tells the section's owner.
void applyUpdate(std::uint32_t messageID, const void *bytes, std::size_t length)
{
    CVLiveSection live = CVLiveSectionForID(messageID & 0xff);
    if (!live.section || !bytes || length == 0)
        return;
    AutoreleasePool pool;
    NSData *data = NSData::dataWithBytesNoCopy(bytes, length);
    id update = NSPropertyListSerialization::propertyListWithData(data, 0, nullptr, nullptr);
    if (!CVIsKindOf(update, NSDictionary::class_()))
        return;
    live.section->load(static_cast<NSDictionary *>(update));
    if (CVChangeCallback callback = *live.changeCallback)
        callback();
    if (g_observer)
        g_observer(messageID & 0xff, static_cast<NSDictionary *>(update));
}

} // namespace

void CVHandleSectionMessage(CFMachPortRef, void *received, CFIndex size, void *)
{
    if (size < static_cast<CFIndex>(sizeof(mach_msg_header_t)))
        return;
    auto *message = static_cast<CVSectionMessage *>(received);
    if (size < CVSectionMessageMinimumSize) {
        answerShortMessage(message->header);
        return;
    }
    if (message->body.msgh_descriptor_count != 0) {
        if (carriesOutOfLineData(*message))
            applyUpdate(message->header.msgh_id, message->outOfLine.address,
                        message->outOfLine.size);
        releaseOutOfLineMemory(*message, size);
        return;
    }
    std::size_t carried = static_cast<std::size_t>(size) - kInlineDataOffset;
    std::size_t length = std::min<std::size_t>(
        {message->inlineData.length, CVSectionMessageInlineCapacity, carried});
    applyUpdate(message->header.msgh_id, message->inlineData.bytes, length);
}

namespace {

// The service's receive right, watched on the current (main) run loop in every common
// mode, so that updates also arrive while SpringBoard tracks a touch.
CFMachPortRef makeServicePort()
{
    CFMachPortContext context{};
    Boolean shouldFreeInfo = false;
    CFMachPortRef port =
        CFMachPortCreate(kCFAllocatorDefault, CVHandleSectionMessage, &context, &shouldFreeInfo);
    if (!port)
        return nullptr;
    CFRunLoopSourceRef source = CFMachPortCreateRunLoopSource(kCFAllocatorDefault, port, 0);
    CFRunLoopAddSource(CFRunLoopGetCurrent(), source, kCFRunLoopCommonModes);
    CFRelease(source);
    return port;
}

} // namespace

void CVStartReloadService()
{
    static const CFMachPortRef service = makeServicePort();
    if (!service)
        return;
    mach_port_t bootstrapPort = MACH_PORT_NULL;
    task_get_special_port(mach_task_self(), TASK_BOOTSTRAP_PORT, &bootstrapPort);
    if (CVRocketBootstrapUnlockFunction unlock = CVRocketBootstrapUnlock())
        unlock(CVReloadServiceName);
    bootstrap_register(bootstrapPort, CVReloadServiceName, CFMachPortGetPort(service));
}

void CVSetReloadObserver(CVReloadObserver observer)
{
    g_observer = observer;
}
