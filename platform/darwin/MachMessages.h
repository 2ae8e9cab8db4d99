#pragma once
// The two halves of mach_msg, for the run-loop glue, which receives from a right it
// holds rather than by name.

#include "darwin/ReceiveRight.h"
#include "darwin/mach.h"

namespace sim {

// The wait in milliseconds that mach_msg's options and timeout ask for; -1 without limit.
int timeoutMs(mach_msg_option_t option, mach_msg_option_t timeoutOption,
              mach_msg_timeout_t timeout);

// Sends one message; timeoutMs < 0 waits while the receiver's queue is full.
[[nodiscard]] mach_msg_return_t sendMessage(const mach_msg_header_t &message,
                                            mach_msg_size_t sendSize, int timeoutMs);

// Receives the next message of `right` (named `name` in this process) into `buffer`,
// giving its reply right a name of this process and its out-of-line memory to the
// process. A message larger than bufferSize is dropped, or with keepLarge left queued
// and its size reported in buffer->msgh_size; either way MACH_RCV_TOO_LARGE.
[[nodiscard]] mach_msg_return_t receiveMessage(ReceiveRight &right, mach_port_t name,
                                               mach_msg_header_t *buffer,
                                               mach_msg_size_t bufferSize, int timeoutMs,
                                               bool keepLarge);

} // namespace sim
