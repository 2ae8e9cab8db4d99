#pragma once
// What every web server of the device shares (the settings application's browser screen,
// the device page): it listens on 127.0.0.1 only, every request passes the AccessGuard
// before any route sees it, every answer carries the same strict security headers, and
// errors are JSON ({"error": "why"}). A server sets this up once with guardServer() and
// then adds its own routes; it never repeats the checks.
//
// Only the paths a server names may carry a body; any other request that announces one is
// refused with 413 before it is read. A body is read as it arrives, so an oversized or
// trickling one is cut off early (readLimitedBody).

#include "AccessGuard.h"

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace httplib {
class Server;
struct Request;
struct Response;
class ContentReader;
} // namespace httplib

namespace sim {

// Who else the page deals with, for its Content-Security-Policy: a page that may be
// shown inside another page names that page's origin, a page that frames another names
// the framed page's origin. Both are loopback origins of the device ("http://127.0.0.1:PORT").
struct FramePolicy {
    std::optional<std::string> framedBy;
    std::optional<std::string> frames;
};

struct GuardedRoutes {
    // Paths whose requests may carry a body (POSTs), each at most maxBodyBytes.
    std::vector<std::string> bodyPaths;
    std::size_t maxBodyBytes = 16 * 1024;
};

// Binds `server` to 127.0.0.1:port (0: a free port the system chooses) and answers the
// port, or -1 when it cannot be had.
[[nodiscard]] int bindLoopback(httplib::Server &server, int port);

// Sets the server's read timeout, the guard's check and the security headers in front of
// every route, and JSON answers for what the server refuses by itself. `guard` and
// `policy` are read at each request (the policy may name a framed page that starts later)
// and must outlive the server.
void guardServer(httplib::Server &server, const AccessGuard &guard, const FramePolicy &policy,
                 const GuardedRoutes &routes);

// Texts from the interface may hold anything; invalid UTF-8 is replaced rather than
// failing the answer.
void answerJson(httplib::Response &response, int status, const nlohmann::json &body);
void answerError(httplib::Response &response, int status, const std::string &why);

// The request's body, read as it arrives and refused as soon as it passes `limit` bytes
// (413) or keeps arriving past the body deadline (408); 400 when the connection fails.
// Nothing, with `status` set, on failure.
std::optional<std::string> readLimitedBody(const httplib::Request &request,
                                           const httplib::ContentReader &reader, std::size_t limit,
                                           int &status);

// Why the server turned a request away with this status.
std::string refusalText(int status, std::size_t maxBodyBytes);

// The page's text with each "{{name}}" placeholder replaced by its value.
std::string fillPlaceholders(std::string_view page,
                             const std::vector<std::pair<std::string, std::string>> &values);

} // namespace sim
