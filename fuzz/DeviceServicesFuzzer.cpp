// The device services as another process of the device reaches them: any packet on a
// connection to the services socket, and any Darwin notification name through the
// public calls. The services drop what is malformed, refuse names that do not fit, and
// keep serving: after every input a notification posted by this process still reaches
// its own registration.
//
// Input: the packet; its bytes up to the first NUL (at most the services' name limit
// and then some) are also posted, registered, checked and cancelled as a name.

#include "FuzzDevice.h"

#include "darwin/DeviceServices.h"
#include "darwin/ServicesProtocol.h"
#include "darwin/Socket.h"
#include "darwin/notify.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

namespace {

constexpr const char *kProbeName = "com.kestrelworks.fuzz.probe";

struct Services {
    sim::DeviceServices services;
    int probeToken = -1;

    Services()
    {
        fuzz::deviceRoot();
        if (!services.start())
            fuzz::fail("the device services did not start");
        int check = 0;
        if (notify_register_check(kProbeName, &probeToken) != NOTIFY_STATUS_OK ||
            notify_check(probeToken, &check) != NOTIFY_STATUS_OK)
            fuzz::fail("cannot register the probe");
    }
};

void sendRawPacket(std::span<const std::uint8_t> bytes)
{
    sim::OwnedFd connection = sim::connectTo(sim::servicesSocketPath());
    if (!connection.valid())
        fuzz::fail("the services socket refused a connection");
    auto packet = std::as_bytes(bytes);
    (void)sim::sendPacket(connection.get(), packet, {}, 1000);
    // Whatever the packet did, the request after it on the same connection is answered or
    // the connection is closed; closing ends what it registered.
}

void useAsName(const std::uint8_t *data, std::size_t size)
{
    std::size_t length = strnlen(reinterpret_cast<const char *>(data), size);
    std::string name(reinterpret_cast<const char *>(data), std::min<std::size_t>(length, 700));
    int token = -1;
    int check = 0;
    notify_post(name.c_str());
    if (notify_register_check(name.c_str(), &token) == NOTIFY_STATUS_OK) {
        notify_post(name.c_str());
        if (notify_check(token, &check) != NOTIFY_STATUS_OK || check != 1)
            fuzz::fail("a registered name did not hear its own post");
        notify_cancel(token);
    }
}

void expectServing(const Services &services)
{
    int check = 0;
    if (notify_post(kProbeName) != NOTIFY_STATUS_OK ||
        notify_check(services.probeToken, &check) != NOTIFY_STATUS_OK || check != 1)
        fuzz::fail("the device services stopped serving");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static Services services;
    sendRawPacket({data, size});
    useAsName(data, size);
    expectServing(services);
    return 0;
}
