// The server on a real socket, with a stand-in panel: what reaches the panel, and what
// every kind of bad request gets instead.

#include "WebServer.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <arpa/inet.h>
#include <atomic>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using nlohmann::json;
using namespace sim;

namespace {

class WebServerTest : public testing::Test {
protected:
    void SetUp() override
    {
        PanelEndpoints panel{[this](int imageScale) {
                                 m_imageScale = imageScale;
                                 return json{{"actions", m_applied.load()}};
                             },
                             [this](const PanelAction &action) -> std::optional<std::string> {
                                 ++m_applied;
                                 if (std::holds_alternative<GoBack>(action))
                                     return "there is no page to go back to";
                                 return std::nullopt;
                             }};
        // The panel runs on the test's "interface thread": one job at a time, unless the
        // test makes it miss its time.
        UIThreadRunner runner = [this](std::function<void()> job) {
            if (m_uiThreadStuck)
                return false;
            std::lock_guard guard(m_uiThread);
            job();
            return true;
        };
        m_server = std::make_unique<WebServer>(panel, runner);
        ASSERT_TRUE(m_server->start(0));
        m_token = m_server->url().substr(m_server->url().find("token=") + 6);
        m_client = std::make_unique<httplib::Client>("127.0.0.1", m_server->port());
    }

    httplib::Headers withToken(httplib::Headers headers = {})
    {
        headers.emplace("X-Corvane-Token", m_token);
        return headers;
    }

    httplib::Result postAction(const std::string &body,
                               const std::string &type = "application/json")
    {
        return m_client->Post("/api/action", withToken(), body, type.c_str());
    }

    static std::string errorOf(const httplib::Result &result)
    {
        return json::parse(result->body).value("error", "");
    }

    std::atomic<int> m_applied = 0;
    std::atomic<int> m_imageScale = -1;
    std::atomic<bool> m_uiThreadStuck = false;
    std::mutex m_uiThread;
    std::unique_ptr<WebServer> m_server;
    std::unique_ptr<httplib::Client> m_client;
    std::string m_token;
};

} // namespace

TEST_F(WebServerTest, ServesThePageWithItsTokenAndStrictHeaders)
{
    httplib::Result page = m_client->Get("/?token=" + m_token);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_EQ(page->get_header_value("Content-Type"), "text/html; charset=utf-8");
    EXPECT_NE(page->body.find("app.js?token=" + m_token), std::string::npos);
    EXPECT_EQ(page->body.find("{{token}}"), std::string::npos);
    EXPECT_NE(page->get_header_value("Content-Security-Policy").find("frame-ancestors 'none'"),
              std::string::npos);
    EXPECT_EQ(page->get_header_value("X-Content-Type-Options"), "nosniff");

    httplib::Result script = m_client->Get("/app.js?token=" + m_token);
    ASSERT_TRUE(script);
    EXPECT_EQ(script->status, 200);
    EXPECT_EQ(script->get_header_value("Content-Type"), "text/javascript; charset=utf-8");
    EXPECT_NE(script->body.find("/api/action"), std::string::npos);
    EXPECT_EQ(m_client->Get("/app.css", withToken())->status, 200);
}

TEST_F(WebServerTest, RefusesRequestsWithoutTheRightToken)
{
    for (const char *path : {"/", "/app.js", "/api/state", "/nothing"}) {
        httplib::Result bare = m_client->Get(path);
        ASSERT_TRUE(bare);
        EXPECT_EQ(bare->status, 401) << path;
        EXPECT_EQ(errorOf(bare), "the session token is missing");
        EXPECT_EQ(m_client->Get(std::string(path) + "?token=0123")->status, 403) << path;
    }
    httplib::Result action =
        m_client->Post("/api/action", R"({"action":"back"})", "application/json");
    EXPECT_EQ(action->status, 401);
    EXPECT_EQ(m_applied, 0);
}

TEST_F(WebServerTest, RefusesOtherOriginsAndHosts)
{
    httplib::Result foreign =
        m_client->Post("/api/action", withToken({{"Origin", "http://evil.example"}}),
                       R"({"action":"banner"})", "application/json");
    EXPECT_EQ(foreign->status, 403);
    EXPECT_EQ(m_client->Get("/api/state", withToken({{"Referer", "http://evil.example/"}}))->status,
              403);
    EXPECT_EQ(m_client->Get("/api/state", withToken({{"Host", "evil.example"}}))->status, 403);
    std::string ownOrigin = "http://127.0.0.1:" + std::to_string(m_server->port());
    EXPECT_EQ(m_client->Get("/api/state", withToken({{"Origin", ownOrigin}}))->status, 200);
    EXPECT_EQ(m_applied, 0);
}

TEST_F(WebServerTest, AnswersUnknownPathsWithoutTouchingFiles)
{
    for (const char *path : {"/etc/passwd", "/../../../etc/passwd", "/%2e%2e/%2e%2e/etc/passwd",
                             "/index.html", "/web/app.js", "/app.js/", "/api/state/../../x"}) {
        httplib::Result result = m_client->Get(path, withToken());
        ASSERT_TRUE(result) << path;
        EXPECT_EQ(result->status, 404) << path;
        EXPECT_EQ(errorOf(result), "no such resource") << path;
        EXPECT_EQ(result->body.find("root:"), std::string::npos);
    }
}

TEST_F(WebServerTest, HandsValidActionsToThePanelAndAnswersTheState)
{
    httplib::Result result = postAction(R"({"action":"tap","section":0,"row":3})");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(json::parse(result->body), (json{{"actions", 1}}));
    EXPECT_EQ(json::parse(m_client->Get("/api/state", withToken())->body)["actions"], 1);
}

TEST_F(WebServerTest, PassesTheImageScaleThePageAsksForAndRefusesOthers)
{
    EXPECT_EQ(m_client->Get("/api/state", withToken())->status, 200);
    EXPECT_EQ(m_imageScale, 0);
    EXPECT_EQ(m_client->Get("/api/state", withToken({{"X-Corvane-Image-Scale", "1"}}))->status,
              200);
    EXPECT_EQ(m_imageScale, 1);
    for (const char *bad : {"0", "5", "1.5", "12", "x"}) {
        httplib::Result refused =
            m_client->Get("/api/state", withToken({{"X-Corvane-Image-Scale", bad}}));
        EXPECT_EQ(refused->status, 400) << bad;
        EXPECT_EQ(errorOf(refused), "X-Corvane-Image-Scale is a whole number from 1 to 4");
    }
    httplib::Result action =
        m_client->Post("/api/action", withToken({{"X-Corvane-Image-Scale", "2"}}),
                       R"({"action":"banner"})", "application/json");
    EXPECT_EQ(action->status, 200);
    EXPECT_EQ(m_imageScale, 2);
    EXPECT_EQ(m_client
                  ->Post("/api/action", withToken({{"X-Corvane-Image-Scale", "9"}}),
                         R"({"action":"banner"})", "application/json")
                  ->status,
              400);
    EXPECT_EQ(m_applied, 1);
}

// Compressing a drawn page's answer took four times as long as drawing it.
TEST_F(WebServerTest, AnswersUncompressedWhateverTheBrowserAccepts)
{
    m_client->set_decompress(false);
    httplib::Result state =
        m_client->Get("/api/state", withToken({{"Accept-Encoding", "gzip, deflate, br"}}));
    ASSERT_TRUE(state);
    EXPECT_EQ(state->get_header_value("Content-Encoding"), "");
    EXPECT_EQ(json::parse(state->body)["actions"], 0);
}

TEST_F(WebServerTest, RefusesMalformedActionsBeforeThePanelSeesThem)
{
    httplib::Result bad = postAction(R"({"action":"tap","section":0,"row":-1})");
    EXPECT_EQ(bad->status, 400);
    EXPECT_EQ(errorOf(bad), "\"row\" must be a whole number from 0 to 100000");
    EXPECT_EQ(postAction(R"({"action":"slider","section":0,"row":0,"value":1e400})")->status, 400);
    EXPECT_EQ(postAction("not json")->status, 400);
    EXPECT_EQ(postAction(R"({"action":"back"})", "text/plain")->status, 415);
    httplib::Result huge = postAction(std::string(kMaxActionBodyBytes + 1, ' '));
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->status, 413);
    EXPECT_NE(errorOf(huge), "");
    EXPECT_EQ(m_applied, 0);
}

// Sends a request whose body is an endless stream of chunks, and answers what the server
// said and how many body bytes went out before it did. Sending stops at `cap` bytes, which
// is far more than the server may read.
std::pair<std::string, std::size_t> sendEndlessChunkedBody(int port, const std::string &token,
                                                           const std::string &path, std::size_t cap)
{
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0) {
        close(fd);
        return {"", 0};
    }
    std::string head = "POST " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                       "\r\nX-Corvane-Token: " + token +
                       "\r\nContent-Type: application/json\r\nTransfer-Encoding: chunked\r\n\r\n";
    send(fd, head.data(), head.size(), MSG_NOSIGNAL);
    const std::string chunk = "1000\r\n" + std::string(0x1000, ' ') + "\r\n";
    std::size_t sent = 0;
    std::string answer;
    while (sent < cap) {
        pollfd entry{fd, POLLIN, 0};
        if (poll(&entry, 1, 0) == 1)
            break;
        if (send(fd, chunk.data(), chunk.size(), MSG_NOSIGNAL) < 0)
            break;
        sent += 0x1000;
    }
    char buffer[4096];
    pollfd entry{fd, POLLIN, 0};
    if (poll(&entry, 1, 10000) == 1) {
        ssize_t count = recv(fd, buffer, sizeof(buffer), 0);
        if (count > 0)
            answer.assign(buffer, static_cast<std::size_t>(count));
    }
    close(fd);
    return {answer, sent};
}

TEST_F(WebServerTest, RefusesAnOversizedChunkedBodyWhileItArrives)
{
    constexpr std::size_t kCap = 256u * 1024 * 1024;
    for (const char *path : {"/api/action", "/api/state"}) {
        auto [answer, sent] = sendEndlessChunkedBody(m_server->port(), m_token, path, kCap);
        EXPECT_EQ(answer.rfind("HTTP/1.1 413", 0), 0u) << path << ": " << answer.substr(0, 80);
        EXPECT_LT(sent, kCap) << path;
    }
    EXPECT_EQ(m_applied, 0);
}

TEST_F(WebServerTest, ReportsWhatThePanelRefusedWithItsState)
{
    httplib::Result refused = postAction(R"({"action":"back"})");
    EXPECT_EQ(refused->status, 409);
    json answer = json::parse(refused->body);
    EXPECT_EQ(answer["error"], "there is no page to go back to");
    EXPECT_EQ(answer["state"]["actions"], 1);
}

TEST_F(WebServerTest, AnswersUnavailableWhenTheInterfaceDoesNotRespond)
{
    m_uiThreadStuck = true;
    EXPECT_EQ(m_client->Get("/api/state", withToken())->status, 503);
    EXPECT_EQ(postAction(R"({"action":"banner"})")->status, 503);
}
