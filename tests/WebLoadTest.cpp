// The settings application's web server under a mixed load; figures for docs/reliability.md.

#include "DeviceTool.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRequests = 1000;
constexpr int kClients = 32;
constexpr int kSlowClients = 4;
// What a refused request would do if it got through: turn the first switch of the page.
constexpr const char *kSwitchAction = R"({"action":"switch","section":0,"row":0,"on":false})";

struct Server {
    int port = 0;
    std::string token;
};

Server serverOf(const std::string &url)
{
    Server server;
    std::size_t colon = url.rfind(':');
    std::size_t slash = url.find('/', colon);
    std::size_t token = url.find("token=");
    if (colon == std::string::npos || slash == std::string::npos || token == std::string::npos)
        return server;
    server.port = std::stoi(url.substr(colon + 1, slash - colon - 1));
    server.token = url.substr(token + 6);
    return server;
}

// A new connection to the server on the loopback interface; -1 on failure.
int connectToServer(int port)
{
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0)
        return fd;
    if (fd >= 0)
        close(fd);
    return -1;
}

// The answer on `fd`, read until the server closes or `timeoutMs` passes without a byte;
// with `statusOnly`, only up to the end of the status line.
std::string readAnswer(int fd, int timeoutMs, bool statusOnly)
{
    std::string answer;
    char buffer[4096];
    pollfd readable{fd, POLLIN, 0};
    while (!(statusOnly && answer.find("\r\n") != std::string::npos) &&
           poll(&readable, 1, timeoutMs) > 0) {
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        answer.append(buffer, static_cast<std::size_t>(got));
    }
    return answer;
}

// The request's answer; nothing when the server cannot be reached.
std::optional<std::string> exchange(const Server &server, const std::string &request,
                                    bool statusOnly)
{
    int fd = connectToServer(server.port);
    if (fd < 0)
        return std::nullopt;
    std::size_t sent = 0;
    while (sent < request.size()) {
        ssize_t written = ::send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (written <= 0)
            break; // refused before the body was read: the status says why
        sent += static_cast<std::size_t>(written);
    }
    std::string answer = readAnswer(fd, 20000, statusOnly);
    close(fd);
    return answer;
}

// The status of an answer; 0 when the server closed without one.
int statusOf(const std::string &answer)
{
    if (answer.rfind("HTTP/1.1 ", 0) != 0 || answer.size() < 12)
        return 0;
    return std::stoi(answer.substr(9, 3));
}

// The answer's status: 0 when the server closed without one, -1 when it cannot be reached.
int send(const Server &server, const std::string &request)
{
    std::optional<std::string> answer = exchange(server, request, true);
    return answer ? statusOf(*answer) : -1;
}

// A kind of request: "METHOD PATH", headers and body, where {token} and {port} stand for
// the server's; and the statuses it may get.
struct Kind {
    const char *name;
    std::set<int> expected;
    bool refused;
    std::string line;
    std::vector<std::string> headers;
    std::string body;
};

constexpr const char *kAction = "POST /api/action";
constexpr const char *kJson = "Content-Type: application/json";
constexpr const char *kToken = "X-Corvane-Token: {token}";
constexpr const char *kOwnOrigin = "Origin: http://127.0.0.1:{port}";
constexpr const char *kForeignOrigin = "Origin: http://kestrel.example";
constexpr const char *kPlain = "Content-Type: text/plain";
constexpr const char *kMalformed = R"({"action":"switch","section":0,"row":0,"on":fal)";

std::string request(const Kind &kind, const Server &server)
{
    auto fill = [&server](std::string text) {
        for (auto [mark, value] : {std::pair<std::string, std::string>{"{token}", server.token},
                                   {"{wrong}", std::string(64, 'f')},
                                   {"{port}", std::to_string(server.port)}})
            if (std::size_t at = text.find(mark); at != std::string::npos)
                text.replace(at, mark.size(), value);
        return text;
    };
    std::string text = fill(kind.line) +
                       " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server.port) +
                       "\r\nConnection: close\r\n";
    for (const std::string &header : kind.headers)
        text += fill(header) + "\r\n";
    if (kind.line.starts_with("POST"))
        text += "Content-Length: " + std::to_string(kind.body.size()) + "\r\n";
    return text + "\r\n" + kind.body;
}

const std::vector<Kind> &kinds()
{
    const std::string oversized = kSwitchAction + std::string(20000, ' ');
    static const std::vector<Kind> all = {
        {"state", {200}, false, "GET /api/state", {kToken}, ""},
        {"page", {200}, false, "GET /?token={token}", {}, ""},
        // The root page has nothing to go back to; being told so (409) is an answer.
        {"back", {200, 409}, false, kAction, {kJson, kToken, kOwnOrigin}, R"({"action":"back"})"},
        {"missing token", {401}, true, kAction, {kJson}, kSwitchAction},
        {"wrong token", {403}, true, kAction, {kJson, "X-Corvane-Token: {wrong}"}, kSwitchAction},
        {"foreign origin", {403}, true, kAction, {kJson, kToken, kForeignOrigin}, kSwitchAction},
        {"oversized body", {413}, true, kAction, {kJson, kToken}, oversized},
        {"malformed JSON", {400}, true, kAction, {kJson, kToken}, kMalformed},
        {"wrong content type", {415}, true, kAction, {kPlain, kToken}, kSwitchAction},
    };
    return all;
}

// A client that sends the start of a request one byte a second and then falls silent:
// the server must let it go (closing, or answering 408) without help from the client.
bool slowClientIsLetGo(const Server &server)
{
    int fd = connectToServer(server.port);
    if (fd < 0)
        return false;
    std::string start = "POST /api/action HTTP/1.1\r\n";
    for (std::size_t at = 0; at < 4; ++at) {
        (void)::send(fd, &start[at], 1, MSG_NOSIGNAL);
        std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    int status = statusOf(readAnswer(fd, 30000, true));
    close(fd);
    return status == 0 || status == 408;
}

// The settings application's address, as the device page tells whoever holds its token,
// once the application has started (within a minute).
Server settingsServerOf(const Server &page)
{
    for (auto deadline = Clock::now() + std::chrono::minutes(1); Clock::now() < deadline;
         std::this_thread::sleep_for(std::chrono::milliseconds(100))) {
        std::string answer =
            exchange(page, request({"status", {200}, false, "GET /api/status", {kToken}, ""}, page),
                     false)
                .value_or("");
        std::size_t body = answer.find("\r\n\r\n");
        if (body == std::string::npos)
            continue;
        auto status = nlohmann::json::parse(answer.substr(body + 4), nullptr, false);
        if (status.is_object() && status.value("settings", nlohmann::json()).is_string())
            return serverOf(status["settings"].get<std::string>());
    }
    return {};
}

TEST(WebServerLoad, MixedRequestsFromManyClientsAreRefusedOrAnsweredAndChangeNothing)
{
    std::string root = e2e::temporaryRoot("load");
    e2e::Background device(root, {"run", "--ios", "9"});
    Server server = settingsServerOf(serverOf(device.readLine(60000)));
    ASSERT_GT(server.port, 0) << "the device page names no settings application";
    std::string settingsFile =
        root + "/var/mobile/Library/Preferences/com.kestrelworks.corvane3.plist";
    ASSERT_EQ(send(server, request(kinds()[0], server)), 200) << "the server does not answer";
    std::string settingsBefore = e2e::fileBytes(settingsFile);

    std::atomic<int> next{0};
    std::mutex lock;
    std::vector<double> latencies;
    std::vector<std::string> wrong;
    int refused = 0;
    int answered = 0;
    auto client = [&] {
        for (int index; (index = next.fetch_add(1)) < kRequests;) {
            const Kind &kind = kinds()[static_cast<std::size_t>(index) % kinds().size()];
            auto began = Clock::now();
            int status = send(server, request(kind, server));
            double seconds = std::chrono::duration<double>(Clock::now() - began).count();
            std::lock_guard<std::mutex> guard(lock);
            latencies.push_back(seconds);
            if (!kind.expected.count(status))
                wrong.push_back(std::string(kind.name) + " got " + std::to_string(status));
            (kind.refused ? refused : answered)++;
        }
    };
    std::atomic<int> slowLetGo{0};
    auto began = Clock::now();
    std::vector<std::thread> clients;
    for (int slow = 0; slow < kSlowClients; ++slow)
        clients.emplace_back([&] { slowLetGo += slowClientIsLetGo(server); });
    for (int index = 0; index < kClients; ++index)
        clients.emplace_back(client);
    for (std::thread &thread : clients)
        thread.join();
    double total = std::chrono::duration<double>(Clock::now() - began).count();

    EXPECT_TRUE(wrong.empty()) << wrong.size() << " wrong answers, first: " << wrong.front();
    EXPECT_EQ(slowLetGo.load(), kSlowClients) << "a slow client was held without end";
    EXPECT_EQ(send(server, request(kinds()[0], server)), 200) << "the server stopped answering";
    EXPECT_EQ(e2e::fileBytes(settingsFile), settingsBefore)
        << "a refused request changed a setting";

    std::sort(latencies.begin(), latencies.end());
    double p95 = latencies[latencies.size() * 95 / 100];
    std::printf("load: %d requests from %d clients (+%d slow) in %.1f s: %d refused, %d answered, "
                "p95 %.1f ms\n",
                kRequests, kClients, kSlowClients, total, refused, answered, p95 * 1000);
    EXPECT_LT(total, 120) << "the load took too long";
    EXPECT_EQ(device.stop(), 0);
    std::filesystem::remove_all(root);
}

} // namespace
