#pragma once
// The control channel of a running device: how `cvsim ctl` drives the SpringBoard
// process. SpringBoard listens on a sequenced-packet socket at
// "/var/run/corvane/springboard.control" under the device root, watched by its main run
// loop, so a command runs on SpringBoard's main thread between two turns of the loop,
// as a touch or a button press would.
//
// One connection carries one exchange. The request is one packet: the command's words
// as a JSON array of strings. The reply is a header packet, {"status": 0|1|2, "error":
// text, "length": bytes of output}, then the output (a dump's JSON) in packets of at
// most 32 KiB. A request that is too long, not JSON, or not an array of strings gets
// status 2 and an error, and the channel goes on serving.

#include "foundation/RunLoop.h"

#include "darwin/Socket.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sim {

inline constexpr const char *kControlSocketPhonePath = "/var/run/corvane/springboard.control";

// The host path of the control socket under the current device root.
std::string controlSocketPath();

struct ControlReply {
    int status = 0; // 0 done, 1 failed, 2 misused (as the tool's exit status)
    std::string output;
    std::string error;
};

struct ControlExchange {
    std::optional<ControlReply> reply;
    std::string failure;       // when there is no reply: why
    bool deviceRunning = true; // false when nothing listens on the socket
};

// Sends one command to the device of the current root and waits (at most `timeoutMs`)
// for its reply.
ControlExchange sendControlRequest(const std::vector<std::string> &words, int timeoutMs);

// Whether a SpringBoard listens on the control channel of the current root.
bool deviceIsRunning();

// SpringBoard's side: serves requests on the main run loop until stopped.
class ControlServer {
public:
    using Handler = std::function<ControlReply(const std::vector<std::string> &words)>;

    explicit ControlServer(Handler handler) : m_handler(std::move(handler)) {}
    ~ControlServer();
    ControlServer(const ControlServer &) = delete;
    ControlServer &operator=(const ControlServer &) = delete;

    // Binds the socket at `path` (replacing a stale one a previous process left behind)
    // and watches it on the main run loop; false (errno set) when it cannot be bound.
    [[nodiscard]] bool start(const std::string &path);
    // Stops watching, closes every connection and removes the socket.
    void stop();

private:
    struct Connection {
        OwnedFd fd;
        RunLoop::SourceId source = 0;
    };

    void acceptConnections();
    void serveConnection(int fd);
    void closeConnection(int fd);

    Handler m_handler;
    std::string m_path;
    OwnedFd m_listener;
    RunLoop::SourceId m_listenerSource = 0;
    std::map<int, Connection> m_connections;
};

// The words of a request packet; nullopt when it is not a JSON array of strings.
std::optional<std::vector<std::string>> decodeRequest(const std::string &packet);
std::string encodeRequest(const std::vector<std::string> &words);

} // namespace sim
