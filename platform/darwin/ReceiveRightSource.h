#pragma once
// Receiving Mach messages on a run loop (the main one unless the caller names another). A receive
// right is one readable descriptor for the run loop (see ReceiveRight.h); the source takes one
// message each time the loop finds it readable, and the loop comes back while more are pending, so
// every message is handled, one per callback, in arrival order. Removing the source inside
// the callback is safe and stops delivery at once.

#include "darwin/mach.h"
#include "foundation/RunLoop.h"

#include <cstddef>
#include <functional>
#include <string_view>

namespace sim {

// Called with the received message in this process's layout and its msgh_size; the
// message is valid only during the call. Out-of-line memory and the reply right belong to
// the handler (vm_deallocate and mach_port_deallocate or a reply give them back).
using MachMessageHandler = std::function<void(mach_msg_header_t *message, size_t size)>;

// Watches a receive right of this process on the main run loop in `mode`. Answers the
// source, which the caller removes with RunLoop::main().removeSource(), or 0 when the name
// does not hold a receive right.
RunLoop::SourceId watchReceiveRight(mach_port_t receiveRight, MachMessageHandler onMessage,
                                    std::string_view mode = kCommonModes);
// The same on `loop`, which the caller removes the source from.
RunLoop::SourceId watchReceiveRight(RunLoop &loop, mach_port_t receiveRight,
                                    MachMessageHandler onMessage, std::string_view mode);

} // namespace sim
