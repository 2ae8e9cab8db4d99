#include "GuardedHttp.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>

using nlohmann::json;

namespace sim {

namespace {

constexpr const char *kTokenHeader = "X-Corvane-Token";

// A request may take this long to send its body, however it trickles; httplib's own
// read timeout bounds each wait for more bytes.
constexpr auto kBodyDeadline = std::chrono::seconds(10);
constexpr auto kReadTimeout = std::chrono::seconds(5);

// The page loads nothing from elsewhere and runs no inline script; images are the
// interface's own, sent inline as data URLs. Only the device's own pages may frame it or
// be framed by it.
void addSecurityHeaders(httplib::Response &response, const FramePolicy &policy)
{
    std::string frames = policy.frames ? "frame-src " + *policy.frames + "; " : "";
    std::string ancestors = policy.framedBy ? *policy.framedBy : "'none'";
    response.set_header("Content-Security-Policy",
                        "default-src 'none'; script-src 'self'; style-src 'self'; "
                        "img-src 'self' data:; connect-src 'self'; " +
                            frames + "base-uri 'none'; form-action 'none'; frame-ancestors " +
                            ancestors);
    if (!policy.framedBy)
        response.set_header("X-Frame-Options", "DENY");
    response.set_header("X-Content-Type-Options", "nosniff");
    response.set_header("Referrer-Policy", "no-referrer");
    response.set_header("Cache-Control", "no-store");
}

std::optional<std::string> header(const httplib::Request &request, const char *name)
{
    if (!request.has_header(name))
        return std::nullopt;
    return request.get_header_value(name);
}

RequestCredentials credentialsOf(const httplib::Request &request)
{
    RequestCredentials credentials;
    if (request.has_param("token"))
        credentials.tokenParameter = request.get_param_value("token");
    credentials.tokenHeader = header(request, kTokenHeader);
    credentials.host = header(request, "Host");
    credentials.origin = header(request, "Origin");
    credentials.referer = header(request, "Referer");
    return credentials;
}

// Whether a request announces a body: a length above zero, or chunks of unknown length.
bool carriesBody(const httplib::Request &request)
{
    return request.has_header("Transfer-Encoding") ||
           (request.has_header("Content-Length") &&
            request.get_header_value("Content-Length") != "0");
}

} // namespace

int bindLoopback(httplib::Server &server, int port)
{
    if (port == 0)
        return server.bind_to_any_port("127.0.0.1");
    return server.bind_to_port("127.0.0.1", port) ? port : -1;
}

void guardServer(httplib::Server &server, const AccessGuard &guard, const FramePolicy &policy,
                 const GuardedRoutes &routes)
{
    server.set_payload_max_length(routes.maxBodyBytes);
    server.set_read_timeout(kReadTimeout);
    server.set_pre_routing_handler(
        [&guard, &policy, routes](const httplib::Request &request, httplib::Response &response) {
            addSecurityHeaders(response, policy);
            if (std::optional<AccessRefusal> refusal = guard.check(credentialsOf(request))) {
                answerError(response, refusal->status, refusal->reason);
                return httplib::Server::HandlerResponse::Handled;
            }
            // Only the named paths have a body worth reading; httplib would read any other whole.
            bool mayCarryBody = std::find(routes.bodyPaths.begin(), routes.bodyPaths.end(),
                                          request.path) != routes.bodyPaths.end();
            if (carriesBody(request) && !mayCarryBody) {
                response.set_header("Connection", "close");
                answerError(response, 413, "only actions carry a body");
                return httplib::Server::HandlerResponse::Handled;
            }
            return httplib::Server::HandlerResponse::Unhandled;
        });
    // Whatever httplib refuses by itself (an unknown path, a body over the limit) still
    // answers JSON.
    std::size_t limit = routes.maxBodyBytes;
    server.set_error_handler([limit](const httplib::Request &, httplib::Response &response) {
        if (response.body.empty())
            answerError(response, response.status, refusalText(response.status, limit));
    });
}

void answerJson(httplib::Response &response, int status, const json &body)
{
    response.status = status;
    // Sent as is: on loopback compression saves no time, and the images inside (base64 of
    // PNG) hardly shrink, while the server library's Brotli, at the highest quality it
    // uses, took four times as long as the rest of a drag step on a drawn page. The
    // library compresses only a bare "application/json"; naming the charset, which JSON
    // answers always are, keeps it from doing so.
    response.set_content(body.dump(-1, ' ', false, json::error_handler_t::replace),
                         "application/json; charset=utf-8");
}

void answerError(httplib::Response &response, int status, const std::string &why)
{
    answerJson(response, status, {{"error", why}});
}

std::string refusalText(int status, std::size_t maxBodyBytes)
{
    switch (status) {
    case 404:
        return "no such resource";
    case 405:
        return "the method is not allowed here";
    case 408:
        return "the request's body came too slowly";
    case 413:
        return "the request is larger than " + std::to_string(maxBodyBytes) + " bytes";
    case 414:
        return "the request's address is too long";
    default:
        return "the request cannot be served";
    }
}

std::optional<std::string> readLimitedBody(const httplib::Request &request,
                                           const httplib::ContentReader &reader, std::size_t limit,
                                           int &status)
{
    status = 413;
    if (request.get_header_value<std::uint64_t>("Content-Length") > limit)
        return std::nullopt;
    std::string body;
    auto deadline = std::chrono::steady_clock::now() + kBodyDeadline;
    status = 400;
    bool complete = reader([&](const char *data, std::size_t length) {
        if (body.size() + length > limit) {
            status = 413;
            return false;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            status = 408;
            return false;
        }
        body.append(data, length);
        return true;
    });
    if (!complete)
        return std::nullopt;
    return body;
}

std::string fillPlaceholders(std::string_view page,
                             const std::vector<std::pair<std::string, std::string>> &values)
{
    std::string filled(page);
    for (const auto &[name, value] : values) {
        std::string placeholder = "{{" + name + "}}";
        for (std::size_t at = filled.find(placeholder); at != std::string::npos;
             at = filled.find(placeholder, at + value.size()))
            filled.replace(at, placeholder.size(), value);
    }
    return filled;
}

} // namespace sim
