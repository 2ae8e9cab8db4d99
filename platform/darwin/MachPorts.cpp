// The task-level port calls: the task's special ports, creating receive rights, and
// giving rights and received memory back.

#include "darwin/OutOfLineMemory.h"
#include "darwin/PortTable.h"
#include "darwin/mach.h"

extern "C" {

mach_port_t mach_task_self(void)
{
    return sim::kTaskSelfName;
}

kern_return_t task_get_special_port(task_t task, int which, mach_port_t *port)
{
    if (task != sim::kTaskSelfName)
        return KERN_INVALID_TASK;
    if (!port || which != TASK_BOOTSTRAP_PORT)
        return KERN_INVALID_ARGUMENT;
    *port = sim::kBootstrapPortName;
    return KERN_SUCCESS;
}

kern_return_t mach_port_allocate(ipc_space_t task, mach_port_right_t right, mach_port_name_t *name)
{
    if (task != sim::kTaskSelfName)
        return KERN_INVALID_TASK;
    if (!name)
        return KERN_INVALID_ARGUMENT;
    if (right != MACH_PORT_RIGHT_RECEIVE)
        return KERN_INVALID_VALUE;
    std::shared_ptr<sim::ReceiveRight> receiveRight = sim::ReceiveRight::create();
    if (!receiveRight)
        return KERN_RESOURCE_SHORTAGE;
    *name = sim::PortTable::shared().insertReceiveRight(std::move(receiveRight));
    return KERN_SUCCESS;
}

kern_return_t mach_port_deallocate(ipc_space_t task, mach_port_name_t name)
{
    if (task != sim::kTaskSelfName)
        return KERN_INVALID_TASK;
    return sim::PortTable::shared().deallocate(name);
}

kern_return_t mach_port_mod_refs(ipc_space_t task, mach_port_name_t name, mach_port_right_t right,
                                 mach_port_delta_t delta)
{
    if (task != sim::kTaskSelfName)
        return KERN_INVALID_TASK;
    return sim::PortTable::shared().modifyReferences(name, right, delta);
}

kern_return_t vm_deallocate(vm_map_t task, vm_address_t address, vm_size_t size)
{
    if (task != sim::kTaskSelfName)
        return KERN_INVALID_TASK;
    if (size == 0)
        return KERN_SUCCESS;
    return sim::unmapAdopted(reinterpret_cast<const void *>(address)) ? KERN_SUCCESS
                                                                      : KERN_INVALID_ADDRESS;
}

} // extern "C"
