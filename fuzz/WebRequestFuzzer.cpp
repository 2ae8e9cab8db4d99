// The settings application's web server as a local client reaches it: any bytes on a
// connection to 127.0.0.1 (request line, headers, bodies, several requests kept alive).
// The server is the application's own, given a panel that answers at once. Every
// connection gets HTTP answers or is closed, and nothing is answered with success unless
// the request carried the session token: the input names it as @TOKEN@ (and the port as
// @PORT@), so the fuzzer can reach past the guard only where it says so.

#include "WebServer.h"

#include <nlohmann/json.hpp>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz: %s\n", what);
    std::abort();
}

struct Server {
    sim::WebServer server{
        sim::PanelEndpoints{[](int) {
                                return nlohmann::json{{"page", "root"}};
                            },
                            [](const sim::PanelAction &) { return std::optional<std::string>(); }},
        [](std::function<void()> job) {
            job();
            return true;
        }};

    Server()
    {
        if (!server.start(0))
            fail("the web server did not start");
    }

    std::string token() const
    {
        std::string url = server.url();
        return url.substr(url.find("token=") + 6);
    }
};

void replaceAll(std::string &text, const std::string &marker, const std::string &value)
{
    for (std::size_t at = text.find(marker); at != std::string::npos;
         at = text.find(marker, at + value.size()))
        text.replace(at, marker.size(), value);
}

// Sends the bytes, ends the sending side and reads what comes back until the server
// closes or falls silent.
std::string exchange(int port, const std::string &request)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int fd = -1;
    // The fuzzer's own timer signal may interrupt a connect; a new socket tries again.
    for (int attempt = 0; fd < 0 && attempt < 5; ++attempt) {
        fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
            int error = errno;
            close(fd);
            fd = -1;
            if (error != EINTR) {
                std::fprintf(stderr, "fuzz: connect: %s\n", std::strerror(error));
                break;
            }
        }
    }
    if (fd < 0)
        fail("the web server refused a connection");
    // Closed without a wait: hundreds of thousands of connections would otherwise leave
    // this side's ports waiting out their close and use the loopback's ports up.
    linger abortive{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    for (std::size_t sent = 0; sent < request.size();) {
        ssize_t written = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (written <= 0)
            break; // the server closed early, as it may for a refused request
        sent += static_cast<std::size_t>(written);
    }
    shutdown(fd, SHUT_WR);
    std::string answer;
    char buffer[16384];
    pollfd readable{fd, POLLIN, 0};
    while (poll(&readable, 1, 2000) > 0) {
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        answer.append(buffer, static_cast<std::size_t>(got));
    }
    close(fd);
    return answer;
}

// Whether any answer on the connection has a 2xx status.
bool anySuccess(const std::string &answers)
{
    for (std::size_t at = answers.find("HTTP/1.1 "); at != std::string::npos;
         at = answers.find("HTTP/1.1 ", at + 1))
        if (answers.compare(at + 9, 1, "2") == 0)
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static Server server;
    std::string request(reinterpret_cast<const char *>(data), size);
    bool carriesToken = request.find("@TOKEN@") != std::string::npos;
    replaceAll(request, "@TOKEN@", server.token());
    replaceAll(request, "@PORT@", std::to_string(server.server.port()));
    std::string answers = exchange(server.server.port(), request);
    if (!answers.empty() && answers.rfind("HTTP/1.1 ", 0) != 0)
        fail("the web server answered something that is not HTTP");
    if (!carriesToken && anySuccess(answers))
        fail("a request without the session token was answered with success");
    return 0;
}
