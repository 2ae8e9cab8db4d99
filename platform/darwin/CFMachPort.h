#pragma once
// Mach ports as run-loop sources, under the platform's names. CFMachPortCreate makes a new
// receive right; its run-loop source, once added to a run loop, hands every message that
// arrives to the port's callback, one message per call, on that loop's thread. A loop
// that has the source retains the port until the source is removed or invalidated.
// Invalidating the port removes its source and destroys the receive right, so senders
// holding a send right from then on get MACH_SEND_INVALID_DEST. Any thread may invalidate
// the port, also while another thread's loop receives on it.

#include "darwin/mach.h"
#include "foundation/CFRunLoop.h"

#include <atomic>
#include <mutex>

struct CFMachPort;
using CFMachPortRef = CFMachPort *;

struct CFMachPortContext {
    CFIndex version;
    void *info;
    const void *(*retain)(const void *info);
    void (*release)(const void *info);
    CFStringRef (*copyDescription)(const void *info);
};

using CFMachPortCallBack = void (*)(CFMachPortRef port, void *message, CFIndex size, void *info);

struct CFMachPort : NSObject {
    mach_port_t m_port = MACH_PORT_NULL;
    CFMachPortCallBack m_callback = nullptr;
    CFMachPortContext m_context{};
    // Made when first asked for, by whichever thread asks first.
    StrongRef<CFRunLoopSource> m_source;
    std::mutex m_sourceLock;
    // Read by every loop that receives on the port, cleared by whichever thread invalidates.
    std::atomic<bool> m_valid{true};
};

// A port with a new receive right; nil when no right could be made. The caller owns it.
CFMachPortRef CFMachPortCreate(CFAllocatorRef allocator, CFMachPortCallBack callback,
                               CFMachPortContext *context, Boolean *shouldFreeInfo);
mach_port_t CFMachPortGetPort(CFMachPortRef port);
// The port's source (one per port; the caller owns a reference).
CFRunLoopSourceRef CFMachPortCreateRunLoopSource(CFAllocatorRef allocator, CFMachPortRef port,
                                                 CFIndex order);
void CFMachPortInvalidate(CFMachPortRef port);
Boolean CFMachPortIsValid(CFMachPortRef port);
