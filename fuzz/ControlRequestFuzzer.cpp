// The control channel of a running device, as `cvsim ctl` or any other local process
// reaches it: one packet of any bytes on a connection to SpringBoard's control socket.
// The channel answers every packet with a header that is JSON (status 0 for a command the
// device language accepts, 2 and a reason for anything else) and goes on serving; the
// device language refuses words it cannot run with a reason rather than failing.

#include "FuzzDevice.h"

#include "ControlChannel.h"
#include "DeviceCommand.h"

#include "darwin/Socket.h"
#include "foundation/RunLoop.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace {

// Answers as SpringBoard's executor does before it runs anything: a command it cannot
// parse is misuse. Parsed commands are not run; that is the device's work, not the
// channel's.
sim::ControlReply answer(const std::vector<std::string> &words)
{
    sim::ParsedCommand parsed = sim::parseDeviceCommand(words);
    if (!parsed.command) {
        if (parsed.error.empty())
            fuzz::fail("the device language refused a command without a reason");
        return {2, "", parsed.error};
    }
    return {0, "parsed", ""};
}

struct Channel {
    sim::ControlServer server{answer};

    Channel()
    {
        fuzz::deviceRoot();
        sim::RunLoop::setMainThread();
        std::filesystem::create_directories(
            std::filesystem::path(sim::controlSocketPath()).parent_path());
        if (!server.start(sim::controlSocketPath()))
            fuzz::fail("the control channel did not start");
    }
};

// Serves the main loop until the reply's header arrives.
std::string exchange(std::span<const std::uint8_t> request)
{
    sim::OwnedFd connection = sim::connectTo(sim::controlSocketPath());
    if (!connection.valid())
        fuzz::fail("the control channel refused a connection");
    if (sim::sendPacket(connection.get(), std::as_bytes(request), {}, 1000) !=
        sim::SendStatus::Sent)
        return {}; // larger than a packet may be: the socket itself refuses it
    for (int turn = 0; turn < 100 && !sim::waitReadable(connection.get(), 0); ++turn)
        sim::RunLoop::main().runInMode(sim::kDefaultMode, 0.05, true);
    sim::Packet header;
    if (sim::receivePacket(connection.get(), 64 * 1024, header) != sim::ReceiveStatus::Received)
        fuzz::fail("the control channel did not answer a request");
    return {reinterpret_cast<const char *>(header.bytes.data()), header.bytes.size()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static Channel channel;
    // An empty packet reads as the end of the connection on a sequenced-packet socket;
    // the channel closes it unanswered, as it must.
    if (size == 0)
        return 0;
    std::string header = exchange({data, size});
    if (header.empty())
        return 0;
    nlohmann::json reply = nlohmann::json::parse(header, nullptr, false);
    if (!reply.is_object() || !reply["status"].is_number_integer() || !reply["error"].is_string())
        fuzz::fail("the control channel answered with a header that is not its JSON");
    int status = reply["status"];
    if (status != 0 && (status != 2 || reply["error"].get<std::string>().empty()))
        fuzz::fail("a refused request got no reason");
    return 0;
}
