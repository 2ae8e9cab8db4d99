// The sending half of the reload service, used by the settings panel: serialise a section
// dictionary, find SpringBoard's service and send it one message. The send right is kept
// between calls. When SpringBoard has restarted, the kept right answers
// MACH_SEND_INVALID_DEST; the sender then looks the name up again, which finds the new
// instance. Every failure is silent: SpringBoard simply keeps its values until the next
// update or restart.

#include "darwin/sandbox.h"
#include "foundation/NSPropertyList.h"
#include "settings-core/CVReloadService.h"
#include "settings-core/CVRocketBootstrap.h"

#include <cstring>
#include <unistd.h>

namespace {

// A look-up that finds a right which is already dead again (SpringBoard restarting at that
// very moment) is retried once; after that the update is dropped like any other failure.
constexpr int kMaxLookUpsPerUpdate = 2;

// The send right to the service, kept from one update to the next.
mach_port_t g_serviceRight = MACH_PORT_NULL;

mach_msg_size_t inlineMessageSize(std::size_t length)
{
    return static_cast<mach_msg_size_t>((length + CVSectionMessageMinimumSize + 3) &
                                        ~std::size_t(3));
}

// Systems of the 675–800 Core Foundation range ask their sandbox before a look-up, so
// that a refused one is not logged as a violation.
bool sandboxAllowsLookUp()
{
    if (kCFCoreFoundationVersionNumber < 675.0 || kCFCoreFoundationVersionNumber >= 800.0)
        return true;
    return sandbox_check(getpid(), "mach-lookup",
                         SANDBOX_FILTER_GLOBAL_NAME | SANDBOX_CHECK_NO_REPORT,
                         CVReloadServiceName) == 0;
}

mach_port_t lookUpService()
{
    if (!sandboxAllowsLookUp())
        return MACH_PORT_NULL;
    mach_port_t bootstrapPort = MACH_PORT_NULL;
    if (task_get_special_port(mach_task_self(), TASK_BOOTSTRAP_PORT, &bootstrapPort) !=
        KERN_SUCCESS)
        return MACH_PORT_NULL;
    mach_port_t service = MACH_PORT_NULL;
    if (CVBootstrapLookUp()(bootstrapPort, CVReloadServiceName, &service) != KERN_SUCCESS)
        return MACH_PORT_NULL;
    return service;
}

// Sends to the kept right. False only when the right is dead, which also forgets it.
bool sendToKeptRight(CVSectionMessage &message)
{
    message.header.msgh_remote_port = g_serviceRight;
    mach_msg_return_t result = mach_msg(&message.header, MACH_SEND_MSG, message.header.msgh_size, 0,
                                        MACH_PORT_NULL, MACH_MSG_TIMEOUT_NONE, MACH_PORT_NULL);
    if (result != MACH_SEND_INVALID_DEST)
        return true;
    mach_port_deallocate(mach_task_self(), g_serviceRight);
    g_serviceRight = MACH_PORT_NULL;
    return false;
}

} // namespace

void CVMakeSectionMessage(CVSectionMessage &message, mach_port_t service, std::uint32_t sectionID,
                          const void *bytes, std::size_t length)
{
    std::memset(&message, 0, sizeof(message));
    message.header.msgh_bits = MACH_MSGH_BITS(MACH_MSG_TYPE_COPY_SEND, 0);
    message.header.msgh_remote_port = service;
    message.header.msgh_local_port = MACH_PORT_NULL;
    message.header.msgh_id = static_cast<mach_msg_id_t>(sectionID);
    if (length <= CVSectionMessageInlineLimit) {
        message.header.msgh_size = inlineMessageSize(length);
        message.inlineData.length = static_cast<mach_msg_size_t>(length);
        if (length)
            std::memcpy(message.inlineData.bytes, bytes, length);
        return;
    }
    message.header.msgh_bits |= MACH_MSGH_BITS_COMPLEX;
    message.header.msgh_size = CVSectionMessageMinimumSize;
    message.body.msgh_descriptor_count = 1;
    message.outOfLine.address = const_cast<void *>(bytes);
    message.outOfLine.size = static_cast<mach_msg_size_t>(length);
    message.outOfLine.deallocate = 0;
    message.outOfLine.copy = MACH_MSG_VIRTUAL_COPY;
    message.outOfLine.type = MACH_MSG_OOL_DESCRIPTOR;
}

void CVSendSectionUpdate(CVSectionID sectionID, CFDictionaryRef dictionary)
{
    AutoreleasePool pool;
    // Data that cannot be serialised is sent as no data, which the service ignores.
    NSData *data = NSPropertyListSerialization::dataFromPropertyList(
        dictionary, NSPropertyListBinaryFormat_v1_0, nullptr);
    CVSectionMessage message;
    CVMakeSectionMessage(message, MACH_PORT_NULL, sectionID, data ? data->bytes() : nullptr,
                         data ? data->length() : 0);
    if (MACH_PORT_VALID(g_serviceRight) && sendToKeptRight(message))
        return;
    for (int lookUp = 0; lookUp < kMaxLookUpsPerUpdate; ++lookUp) {
        g_serviceRight = lookUpService();
        if (!MACH_PORT_VALID(g_serviceRight))
            return;
        if (sendToKeptRight(message))
            return;
    }
}
