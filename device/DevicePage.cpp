#include "DevicePage.h"

#include "ControlChannel.h"
#include "DeviceCommand.h"
#include "DevicePageResources.h"

#include "foundation/DeviceProfile.h"

#include <httplib.h>
#include <nlohmann/json.hpp>
#include <openssl/evp.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

using nlohmann::json;

namespace sim {

namespace {

constexpr std::size_t kMaxCommandBodyBytes = 4 * 1024;
constexpr std::size_t kMaxWords = 8;
// How long a command may take on the phone (a swipe that decelerates, a wait).
constexpr int kCommandTimeoutMs = 30000;
// A stream with nothing new says so this often, so a dead connection is noticed and the
// server's stop is never held up for long.
constexpr int kStreamPollMs = 500;
constexpr std::size_t kStatusLogLines = 8;
// The longest wait the page's previews ask for.
constexpr double kMaxPageWaitSeconds = 5;

// What a finger or a button of the phone can do, and the restart the panel offers.
constexpr const char *kPageCommands[] = {
    "press-home",  "lock",         "unlock",    "rotate",   "swipe-pages",    "edit",
    "open-folder", "close-folder", "launch",    "switcher", "control-center", "notification-center",
    "finger",      "tap",          "spotlight", "wait",     "post",
};
constexpr const char *kApplySettingsNotification = "com.kestrelworks.corvane3.applySettings";

std::string generationOf(double coreFoundationVersion)
{
    if (coreFoundationVersion < 1140.1)
        return "iOS 7";
    if (coreFoundationVersion < 1240.1)
        return "iOS 8";
    return "iOS 9";
}

std::string base64(const std::string &bytes)
{
    std::string text((bytes.size() + 2) / 3 * 4 + 1, '\0');
    int written = EVP_EncodeBlock(reinterpret_cast<unsigned char *>(text.data()),
                                  reinterpret_cast<const unsigned char *>(bytes.data()),
                                  static_cast<int>(bytes.size()));
    text.resize(static_cast<std::size_t>(written));
    return text;
}

std::string frameEvent(const FrameRelay::Numbered &numbered)
{
    const EncodedFrame &frame = *numbered.frame;
    json data = {{"number", numbered.number},
                 {"width", frame.width},
                 {"height", frame.height},
                 {"scale", frame.scale},
                 {"jpeg", base64(frame.jpeg)}};
    return "event: frame\ndata: " + data.dump() + "\n\n";
}

// The words of {"words": [...]}, or why the body is not that.
std::optional<std::vector<std::string>> wordsOf(const std::string &body, std::string &error)
{
    json parsed = json::parse(body, nullptr, false);
    if (!parsed.is_object() || parsed.size() != 1 || !parsed.contains("words") ||
        !parsed["words"].is_array() || parsed["words"].empty() ||
        parsed["words"].size() > kMaxWords) {
        error = "a command is {\"words\": [...]} with 1 to 8 words";
        return std::nullopt;
    }
    std::vector<std::string> words;
    for (const json &word : parsed["words"]) {
        if (!word.is_string() || word.get_ref<const std::string &>().size() > 256) {
            error = "each word is a text of at most 256 bytes";
            return std::nullopt;
        }
        words.push_back(word.get<std::string>());
    }
    return words;
}

void serveFrames(FrameRelay &frames, httplib::Response &response)
{
    response.set_header("X-Accel-Buffering", "no");
    response.set_chunked_content_provider(
        "text/event-stream",
        [&frames, sent = std::uint64_t(0)](std::size_t, httplib::DataSink &sink) mutable {
            if (!sink.is_writable())
                return false;
            FrameRelay::Numbered newest = frames.waitForFrameAfter(sent, kStreamPollMs);
            std::string event = newest.number ? frameEvent(newest) : ": still\n\n";
            if (newest.number)
                sent = newest.number;
            return sink.write(event.data(), event.size());
        });
}

} // namespace

std::optional<std::string> refusePageCommand(const std::vector<std::string> &words)
{
    if (words.empty())
        return "no command";
    const std::string &name = words.front();
    if (std::find_if(std::begin(kPageCommands), std::end(kPageCommands), [&](const char *allowed) {
            return name == allowed;
        }) == std::end(kPageCommands))
        return "the page does not send \"" + name + "\"";
    ParsedCommand parsed = parseDeviceCommand(words);
    if (!parsed.command)
        return parsed.error;
    if (name == "post" && words[1] != kApplySettingsNotification)
        return std::string("the page posts only ") + kApplySettingsNotification;
    if (name == "wait" && parsed.command->number > kMaxPageWaitSeconds)
        return "the page waits at most 5 seconds";
    return std::nullopt;
}

DevicePage::DevicePage(double coreFoundationVersion, const ConsoleTail &console)
    : m_coreFoundationVersion(coreFoundationVersion), m_console(console)
{
}

DevicePage::~DevicePage()
{
    stop();
}

bool DevicePage::start(int port, const std::string &frameSocket)
{
    if (!m_frames.start(frameSocket)) {
        std::fprintf(stderr, "cvsim: cannot listen for frames at %s: %s\n", frameSocket.c_str(),
                     std::strerror(errno));
        return false;
    }
    m_server = std::make_unique<httplib::Server>();
    m_port = bindLoopback(*m_server, port);
    if (m_port <= 0) {
        std::fprintf(stderr, "cvsim: the device page cannot listen on 127.0.0.1:%d\n", port);
        m_frames.stop();
        return false;
    }
    m_guard.emplace(makeAccessToken(), m_port);
    route();
    return true;
}

void DevicePage::serve()
{
    if (m_server && !m_thread.joinable())
        m_thread = std::thread([this] { m_server->listen_after_bind(); });
}

void DevicePage::stop()
{
    if (m_server) {
        m_server->stop();
        if (m_thread.joinable())
            m_thread.join();
        m_server.reset();
    }
    m_frames.stop();
}

std::string DevicePage::url() const
{
    return m_guard->origin() + "/?token=" + m_guard->token();
}

std::string DevicePage::origin() const
{
    return m_guard->origin();
}

void DevicePage::setSettingsUrl(const std::string &url)
{
    std::lock_guard lock(m_mutex);
    m_settingsUrl = url;
    // The settings application is its own page, on a port of its own: the only page this
    // one frames. The policy is read by every request, so it is settled before serving.
    m_framePolicy.frames = url.substr(0, url.find('/', std::strlen("http://")));
}

void DevicePage::springBoardLaunched(int launches, pid_t pid)
{
    std::lock_guard lock(m_mutex);
    m_launches = launches;
    m_pid = pid;
}

void DevicePage::springBoardEnded()
{
    std::lock_guard lock(m_mutex);
    m_pid = -1;
}

json DevicePage::status() const
{
    std::lock_guard lock(m_mutex);
    return {{"generation", generationOf(m_coreFoundationVersion)},
            {"cf", m_coreFoundationVersion},
            {"launches", m_launches},
            {"pid", m_pid > 0 ? json(m_pid) : json(nullptr)},
            {"settings", m_settingsUrl ? json(*m_settingsUrl) : json(nullptr)},
            {"log", m_console.latestLines(kStatusLogLines)}};
}

void DevicePage::route()
{
    httplib::Server &server = *m_server;
    guardServer(server, *m_guard, m_framePolicy, {{"/api/command"}, kMaxCommandBodyBytes});

    server.Get("/", [this](const httplib::Request &, httplib::Response &response) {
        std::optional<WebResource> page = devicePageResource("index.html");
        response.set_content(fillPlaceholders(page->content, {{"token", m_guard->token()}}),
                             std::string(page->contentType));
    });
    server.Get(R"(/(device\.css|device\.js))", [](const httplib::Request &request,
                                                  httplib::Response &response) {
        std::optional<WebResource> resource = devicePageResource(request.matches[1].str());
        response.set_content(std::string(resource->content), std::string(resource->contentType));
    });
    server.Get("/api/status", [this](const httplib::Request &, httplib::Response &response) {
        answerJson(response, 200, status());
    });
    server.Get("/api/frames", [this](const httplib::Request &, httplib::Response &response) {
        serveFrames(m_frames, response);
    });
    server.Post("/api/command", [](const httplib::Request &request, httplib::Response &response,
                                   const httplib::ContentReader &reader) {
        if (request.get_header_value("Content-Type").rfind("application/json", 0) != 0)
            return answerError(response, 415, "commands are sent as application/json");
        int status = 0;
        std::optional<std::string> body =
            readLimitedBody(request, reader, kMaxCommandBodyBytes, status);
        if (!body)
            return answerError(response, status, refusalText(status, kMaxCommandBodyBytes));
        std::string error;
        std::optional<std::vector<std::string>> words = wordsOf(*body, error);
        if (!words)
            return answerError(response, 400, error);
        if (std::optional<std::string> refusal = refusePageCommand(*words))
            return answerError(response, 400, *refusal);
        ControlExchange exchange = sendControlRequest(*words, kCommandTimeoutMs);
        if (!exchange.reply)
            return answerError(response, 503,
                               exchange.deviceRunning ? exchange.failure
                                                      : "SpringBoard is not running");
        answerJson(response, exchange.reply->status == 0 ? 200 : 409,
                   {{"status", exchange.reply->status},
                    {"output", exchange.reply->output},
                    {"error", exchange.reply->error}});
    });
}

} // namespace sim
