#include "WebServer.h"

#include "WebResources.h"

#include "foundation/dispatch.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstring>
#include <future>

using nlohmann::json;

namespace sim {

namespace {

constexpr const char *kTokenHeader = "X-Corvane-Token";
constexpr const char *kTokenPlaceholder = "{{token}}";

// The page loads nothing from elsewhere, runs no inline script and may not be framed;
// images are the panel's own, sent inline as data URLs.
void addSecurityHeaders(httplib::Response &response)
{
    response.set_header("Content-Security-Policy",
                        "default-src 'none'; script-src 'self'; style-src 'self'; "
                        "img-src 'self' data:; connect-src 'self'; base-uri 'none'; "
                        "form-action 'none'; frame-ancestors 'none'");
    response.set_header("X-Content-Type-Options", "nosniff");
    response.set_header("X-Frame-Options", "DENY");
    response.set_header("Referrer-Policy", "no-referrer");
    response.set_header("Cache-Control", "no-store");
}

// Texts from the interface (font names, typed text) may hold anything; invalid UTF-8 is
// replaced rather than failing the answer.
void answerJson(httplib::Response &response, int status, const json &body)
{
    response.status = status;
    response.set_content(body.dump(-1, ' ', false, json::error_handler_t::replace),
                         "application/json");
}

void answerError(httplib::Response &response, int status, const std::string &why)
{
    answerJson(response, status, {{"error", why}});
}

// Why httplib itself turned a request away.
std::string refusalText(int status)
{
    switch (status) {
    case 404:
        return "no such resource";
    case 405:
        return "the method is not allowed here";
    case 408:
        return "the request's body came too slowly";
    case 413:
        return "the request is larger than " + std::to_string(kMaxActionBodyBytes) + " bytes";
    case 414:
        return "the request's address is too long";
    default:
        return "the request cannot be served";
    }
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

std::string pageWithToken(std::string_view page, const std::string &token)
{
    std::string filled(page);
    for (std::size_t at = filled.find(kTokenPlaceholder); at != std::string::npos;
         at = filled.find(kTokenPlaceholder, at + token.size()))
        filled.replace(at, std::strlen(kTokenPlaceholder), token);
    return filled;
}

// A request may take this long to send its body, however it trickles; httplib's own
// read timeout bounds each wait for more bytes.
constexpr auto kBodyDeadline = std::chrono::seconds(10);
constexpr auto kReadTimeout = std::chrono::seconds(5);

// Whether a request announces a body: a length above zero, or chunks of unknown length.
bool carriesBody(const httplib::Request &request)
{
    return request.has_header("Transfer-Encoding") ||
           (request.has_header("Content-Length") &&
            request.get_header_value("Content-Length") != "0");
}

// The action's body, read as it arrives: an oversized body (chunked bodies announce no
// length) is refused once it passes the limit rather than after it was read whole, and
// a sender that trickles is cut off at the deadline. The status says why on failure.
std::optional<std::string> readActionBody(const httplib::Request &request,
                                          const httplib::ContentReader &reader, int &status)
{
    status = 413;
    if (request.get_header_value<std::uint64_t>("Content-Length") > kMaxActionBodyBytes)
        return std::nullopt;
    std::string body;
    auto deadline = std::chrono::steady_clock::now() + kBodyDeadline;
    status = 400;
    bool complete = reader([&](const char *data, std::size_t length) {
        if (body.size() + length > kMaxActionBodyBytes) {
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

// What one API request carries to the interface's thread and back; shared, because a
// job that missed its time may still run after the request has been answered.
struct Exchange {
    std::optional<PanelAction> action;
    std::optional<std::string> refusal;
    json state;
};

} // namespace

WebServer::WebServer(PanelEndpoints panel, UIThreadRunner runOnUIThread)
    : m_panel(std::move(panel)), m_runOnUIThread(std::move(runOnUIThread))
{
}

WebServer::~WebServer()
{
    stop();
}

bool WebServer::start(int port)
{
    m_server = std::make_unique<httplib::Server>();
    m_server->set_payload_max_length(kMaxActionBodyBytes);
    m_server->set_read_timeout(kReadTimeout);
    int bound = port == 0 ? m_server->bind_to_any_port("127.0.0.1")
                          : (m_server->bind_to_port("127.0.0.1", port) ? port : -1);
    if (bound <= 0)
        return false;
    m_port = bound;
    m_guard.emplace(makeAccessToken(), m_port);
    route();
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    return true;
}

void WebServer::stop()
{
    if (!m_server)
        return;
    m_server->stop();
    if (m_thread.joinable())
        m_thread.join();
    m_server.reset();
}

std::string WebServer::url() const
{
    return m_guard->origin() + "/?token=" + m_guard->token();
}

void WebServer::route()
{
    httplib::Server &server = *m_server;
    server.set_pre_routing_handler(
        [this](const httplib::Request &request, httplib::Response &response) {
            addSecurityHeaders(response);
            if (std::optional<AccessRefusal> refusal = m_guard->check(credentialsOf(request))) {
                answerError(response, refusal->status, refusal->reason);
                return httplib::Server::HandlerResponse::Handled;
            }
            // Only an action has a body worth reading; httplib would read any other whole.
            if (carriesBody(request) && request.path != "/api/action") {
                response.set_header("Connection", "close");
                answerError(response, 413, "only actions carry a body");
                return httplib::Server::HandlerResponse::Handled;
            }
            return httplib::Server::HandlerResponse::Unhandled;
        });
    // Whatever httplib refuses by itself (an unknown path, a body over the limit) still
    // answers JSON.
    server.set_error_handler([](const httplib::Request &, httplib::Response &response) {
        if (response.body.empty())
            answerError(response, response.status, refusalText(response.status));
    });

    server.Get("/", [this](const httplib::Request &, httplib::Response &response) {
        std::optional<WebResource> page = webResource("index.html");
        response.set_content(pageWithToken(page->content, m_guard->token()),
                             std::string(page->contentType));
    });
    server.Get(R"(/(app\.css|app\.js))", [](const httplib::Request &request,
                                            httplib::Response &response) {
        std::optional<WebResource> resource = webResource(request.matches[1].str());
        response.set_content(std::string(resource->content), std::string(resource->contentType));
    });
    server.Get("/api/state", [this](const httplib::Request &, httplib::Response &response) {
        auto exchange = std::make_shared<Exchange>();
        PanelEndpoints panel = m_panel;
        if (!m_runOnUIThread([exchange, panel] { exchange->state = panel.state(); }))
            return answerError(response, 503, "the panel did not answer in time");
        answerJson(response, 200, exchange->state);
    });
    server.Post("/api/action", [this](const httplib::Request &request, httplib::Response &response,
                                      const httplib::ContentReader &reader) {
        if (request.get_header_value("Content-Type").rfind("application/json", 0) != 0) {
            response.set_header("Connection", "close");
            return answerError(response, 415, "actions are sent as application/json");
        }
        int status = 0;
        std::optional<std::string> body = readActionBody(request, reader, status);
        if (!body) {
            response.set_header("Connection", "close");
            return answerError(response, status, refusalText(status));
        }
        ParsedAction parsed = parsePanelAction(*body);
        if (!parsed.action)
            return answerError(response, 400, parsed.error);
        auto exchange = std::make_shared<Exchange>();
        exchange->action = std::move(parsed.action);
        PanelEndpoints panel = m_panel;
        if (!m_runOnUIThread([exchange, panel] {
                exchange->refusal = panel.apply(*exchange->action);
                exchange->state = panel.state();
            }))
            return answerError(response, 503, "the panel did not answer in time");
        if (exchange->refusal)
            return answerJson(response, 409,
                              {{"error", *exchange->refusal}, {"state", exchange->state}});
        answerJson(response, 200, exchange->state);
    });
}

UIThreadRunner mainQueueRunner(double timeoutSeconds)
{
    return [timeoutSeconds](std::function<void()> job) {
        auto done = std::make_shared<std::promise<void>>();
        std::future<void> finished = done->get_future();
        dispatch_async(dispatch_get_main_queue(), [job = std::move(job), done] {
            job();
            done->set_value();
        });
        return finished.wait_for(std::chrono::duration<double>(timeoutSeconds)) ==
               std::future_status::ready;
    };
}

} // namespace sim
