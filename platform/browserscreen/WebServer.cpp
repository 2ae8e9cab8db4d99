#include "WebServer.h"

#include "GuardedHttp.h"
#include "WebResources.h"

#include "foundation/dispatch.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <future>

using nlohmann::json;

namespace sim {

namespace {

// What one API request carries to the interface's thread and back; shared, because a
// job that missed its time may still run after the request has been answered.
struct Exchange {
    std::optional<PanelAction> action;
    std::optional<std::string> refusal;
    json state;
};

constexpr int kMaxImageScale = 4;

// The image scale a request asks for: 0 when it names none, nothing when what it names is
// not a whole number from 1 to kMaxImageScale.
std::optional<int> imageScaleOf(const httplib::Request &request)
{
    if (!request.has_header("X-Corvane-Image-Scale"))
        return 0;
    std::string text = request.get_header_value("X-Corvane-Image-Scale");
    if (text.size() != 1 || text[0] < '1' || text[0] > '0' + kMaxImageScale)
        return std::nullopt;
    return text[0] - '0';
}

const std::string kBadImageScale =
    "X-Corvane-Image-Scale is a whole number from 1 to " + std::to_string(kMaxImageScale);

} // namespace

WebServer::WebServer(PanelEndpoints panel, UIThreadRunner runOnUIThread,
                     std::optional<std::string> framedBy)
    : m_panel(std::move(panel)), m_runOnUIThread(std::move(runOnUIThread))
{
    m_framePolicy.framedBy = std::move(framedBy);
}

WebServer::~WebServer()
{
    stop();
}

bool WebServer::start(int port)
{
    m_server = std::make_unique<httplib::Server>();
    int bound = bindLoopback(*m_server, port);
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
    guardServer(server, *m_guard, m_framePolicy, {{"/api/action"}, kMaxActionBodyBytes});
    server.Get("/", [this](const httplib::Request &, httplib::Response &response) {
        std::optional<WebResource> page = webResource("index.html");
        response.set_content(fillPlaceholders(page->content, {{"token", m_guard->token()}}),
                             std::string(page->contentType));
    });
    server.Get(R"(/(app\.css|app\.js))", [](const httplib::Request &request,
                                            httplib::Response &response) {
        std::optional<WebResource> resource = webResource(request.matches[1].str());
        response.set_content(std::string(resource->content), std::string(resource->contentType));
    });
    server.Get("/api/state", [this](const httplib::Request &request, httplib::Response &response) {
        std::optional<int> imageScale = imageScaleOf(request);
        if (!imageScale)
            return answerError(response, 400, kBadImageScale);
        auto exchange = std::make_shared<Exchange>();
        PanelEndpoints panel = m_panel;
        if (!m_runOnUIThread(
                [exchange, panel, scale = *imageScale] { exchange->state = panel.state(scale); }))
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
        std::optional<std::string> body =
            readLimitedBody(request, reader, kMaxActionBodyBytes, status);
        if (!body) {
            response.set_header("Connection", "close");
            return answerError(response, status, refusalText(status, kMaxActionBodyBytes));
        }
        ParsedAction parsed = parsePanelAction(*body);
        if (!parsed.action)
            return answerError(response, 400, parsed.error);
        std::optional<int> imageScale = imageScaleOf(request);
        if (!imageScale)
            return answerError(response, 400, kBadImageScale);
        auto exchange = std::make_shared<Exchange>();
        exchange->action = std::move(parsed.action);
        PanelEndpoints panel = m_panel;
        if (!m_runOnUIThread([exchange, panel, scale = *imageScale] {
                exchange->refusal = panel.apply(*exchange->action);
                exchange->state = panel.state(scale);
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
