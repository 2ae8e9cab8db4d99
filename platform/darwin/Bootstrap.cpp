// Bootstrap registration and look-up, answered by the device services, and the sandbox
// check that guards look-ups on the phone.

#include "darwin/bootstrap.h"
#include "darwin/PortTable.h"
#include "darwin/ServicesClient.h"
#include "darwin/sandbox.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>

namespace {

bool isValidServiceName(const char *name)
{
    return name && name[0] != '\0' && std::strlen(name) < sizeof(name_t);
}

// Asks the services; a services that cannot be reached is a bootstrap port nobody
// receives on.
kern_return_t askServices(const sim::ServiceMessage &request, sim::ServiceMessage &reply)
{
    if (!sim::ServicesClient::shared().request(request, reply))
        return MACH_SEND_INVALID_DEST;
    return static_cast<kern_return_t>(reply.status);
}

} // namespace

extern "C" {

kern_return_t bootstrap_register(mach_port_t bp, const char *service_name, mach_port_t port)
{
    if (bp != sim::kBootstrapPortName)
        return MACH_SEND_INVALID_DEST;
    if (!isValidServiceName(service_name))
        return KERN_INVALID_ARGUMENT;
    std::optional<std::string> address = sim::PortTable::shared().addressOf(port);
    if (!address)
        return KERN_INVALID_RIGHT;
    sim::ServiceMessage request = sim::makeServiceMessage(sim::ServiceKind::BootstrapRegister);
    if (!sim::setServiceName(request, service_name) || !sim::setServiceAddress(request, *address))
        return KERN_INVALID_ARGUMENT;
    sim::ServiceMessage reply;
    return askServices(request, reply);
}

kern_return_t bootstrap_look_up(mach_port_t bp, const char *service_name, mach_port_t *port)
{
    if (bp != sim::kBootstrapPortName)
        return MACH_SEND_INVALID_DEST;
    if (!port || !isValidServiceName(service_name))
        return KERN_INVALID_ARGUMENT;
    sim::ServiceMessage request = sim::makeServiceMessage(sim::ServiceKind::BootstrapLookUp);
    if (!sim::setServiceName(request, service_name))
        return KERN_INVALID_ARGUMENT;
    sim::ServiceMessage reply;
    kern_return_t result = askServices(request, reply);
    if (result != BOOTSTRAP_SUCCESS)
        return result;
    if (reply.address[0] == '\0')
        return BOOTSTRAP_UNKNOWN_SERVICE;
    *port = sim::PortTable::shared().insertSendRight(reply.address);
    return BOOTSTRAP_SUCCESS;
}

int sandbox_check(pid_t pid, const char *operation, int type, ...)
{
    int filter = type & ~SANDBOX_CHECK_NO_REPORT;
    if (pid <= 0 || !operation || filter < SANDBOX_FILTER_NONE ||
        filter > SANDBOX_FILTER_LOCAL_NAME) {
        errno = EINVAL;
        return -1;
    }
    if (filter != SANDBOX_FILTER_NONE) {
        va_list arguments;
        va_start(arguments, type);
        const char *subject = va_arg(arguments, const char *);
        va_end(arguments);
        if (!subject) {
            errno = EINVAL;
            return -1;
        }
    }
    return 0; // no process of the simulated device runs in a sandbox
}

} // extern "C"
