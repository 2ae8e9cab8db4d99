#include "darwin/ReceiveRightSource.h"

#include "darwin/MachMessages.h"
#include "darwin/PortTable.h"

#include <memory>
#include <vector>

namespace sim {

namespace {

// The largest message in this process's layout.
constexpr size_t kLargestMessage =
    kMaxMessageSize + kMaxDescriptors * (kMemoryDescriptorSize - kWireDescriptorSize);

struct Watch {
    // Held so that the readiness descriptor stays open as long as the run loop watches it,
    // even after the right itself was destroyed.
    std::shared_ptr<ReceiveRight> right;
    mach_port_t name;
    MachMessageHandler handler;
    std::vector<std::byte> buffer;
};

void receiveOne(Watch &watch)
{
    auto *message = reinterpret_cast<mach_msg_header_t *>(watch.buffer.data());
    if (receiveMessage(*watch.right, watch.name, message,
                       static_cast<mach_msg_size_t>(watch.buffer.size()), 0,
                       false) == MACH_MSG_SUCCESS)
        watch.handler(message, message->msgh_size);
}

} // namespace

RunLoop::SourceId watchReceiveRight(mach_port_t receiveRight, MachMessageHandler onMessage,
                                    std::string_view mode)
{
    return watchReceiveRight(RunLoop::main(), receiveRight, std::move(onMessage), mode);
}

RunLoop::SourceId watchReceiveRight(RunLoop &loop, mach_port_t receiveRight,
                                    MachMessageHandler onMessage, std::string_view mode)
{
    std::shared_ptr<ReceiveRight> right = PortTable::shared().receiveRight(receiveRight);
    if (!right || !onMessage)
        return 0;
    int descriptor = right->readinessDescriptor();
    auto watch = std::make_shared<Watch>(
        Watch{std::move(right), receiveRight, std::move(onMessage), std::vector<std::byte>()});
    watch->buffer.resize(kLargestMessage);
    return loop.addFileDescriptor(
        descriptor, [watch] { receiveOne(*watch); }, mode);
}

} // namespace sim
