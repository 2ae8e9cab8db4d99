#include "darwin/CFMachPort.h"

#include "darwin/ReceiveRightSource.h"

namespace {

Class g_machPortClass;

void machPortDealloc(CFMachPort *self, SEL)
{
    CFMachPortInvalidate(self);
    if (self->m_context.release && self->m_context.info)
        self->m_context.release(self->m_context.info);
    msgSuper<void>(g_machPortClass, self, "dealloc"_sel);
}

const Class kRegistered = g_machPortClass = ClassBuilder<CFMachPort>("__CFMachPort", "NSObject")
                                                .method("dealloc", machPortDealloc)
                                                .registerClass();

// Schedules the port's receive right on a run loop. The loop holds the port while it
// watches it, so a port released by its creator keeps receiving until it is removed or
// invalidated.
sim::RunLoop::SourceId schedule(CFMachPort *port, sim::RunLoop &loop, std::string_view mode)
{
    if (!port->m_valid)
        return 0;
    return sim::watchReceiveRight(
        loop, port->m_port,
        [held = StrongRef<CFMachPort>(port)](mach_msg_header_t *message, size_t size) {
            if (held->m_valid && held->m_callback)
                held->m_callback(held, message, static_cast<CFIndex>(size), held->m_context.info);
        },
        mode);
}

} // namespace

CFMachPortRef CFMachPortCreate(CFAllocatorRef, CFMachPortCallBack callback,
                               CFMachPortContext *context, Boolean *shouldFreeInfo)
{
    if (shouldFreeInfo)
        *shouldFreeInfo = false;
    mach_port_t right = MACH_PORT_NULL;
    if (mach_port_allocate(mach_task_self(), MACH_PORT_RIGHT_RECEIVE, &right) != KERN_SUCCESS)
        return nullptr;
    auto *port = sim::create<CFMachPort>(g_machPortClass);
    port->m_port = right;
    port->m_callback = callback;
    if (context) {
        port->m_context = *context;
        if (context->retain && context->info)
            port->m_context.info = const_cast<void *>(context->retain(context->info));
    }
    return port;
}

mach_port_t CFMachPortGetPort(CFMachPortRef port)
{
    return port ? port->m_port : MACH_PORT_NULL;
}

CFRunLoopSourceRef CFMachPortCreateRunLoopSource(CFAllocatorRef, CFMachPortRef port, CFIndex)
{
    if (!port)
        return nullptr;
    // Checked under the lock, so an invalidation either comes first and no source is made,
    // or finds the source made and invalidates it too.
    std::lock_guard lock(port->m_sourceLock);
    if (!port->m_valid)
        return nullptr;
    if (!port->m_source) {
        // The source refers to the port without owning it: the port owns its source.
        port->m_source = StrongRef<CFRunLoopSource>::adopt(
            sim::makeSource([port](sim::RunLoop &loop, std::string_view mode) {
                return schedule(port, loop, mode);
            }));
    }
    return retain(port->m_source.get());
}

void CFMachPortInvalidate(CFMachPortRef port)
{
    // Only the first of several threads invalidating at once lets go of the right.
    if (!port || !port->m_valid.exchange(false))
        return;
    StrongRef<CFRunLoopSource> source;
    {
        std::lock_guard lock(port->m_sourceLock);
        source = port->m_source;
    }
    if (source)
        CFRunLoopSourceInvalidate(source);
    mach_port_mod_refs(mach_task_self(), port->m_port, MACH_PORT_RIGHT_RECEIVE, -1);
}

Boolean CFMachPortIsValid(CFMachPortRef port)
{
    return port && port->m_valid;
}
