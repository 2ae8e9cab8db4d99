#include "ControlChannel.h"

#include "foundation/DeviceRoot.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <unistd.h>

namespace sim {

namespace {

constexpr std::size_t kMaxRequestBytes = 64 * 1024;
constexpr std::size_t kMaxHeaderBytes = 64 * 1024;
constexpr std::size_t kOutputChunkBytes = 32 * 1024;
// A client that stops reading for this long is given up, so SpringBoard never hangs on it.
constexpr int kReplySendTimeoutMs = 5000;

using Clock = std::chrono::steady_clock;

std::span<const std::byte> bytesOf(const std::string &text)
{
    return std::as_bytes(std::span(text.data(), text.size()));
}

std::string textOf(const Packet &packet)
{
    return std::string(reinterpret_cast<const char *>(packet.bytes.data()), packet.bytes.size());
}

bool sendText(int fd, const std::string &text)
{
    return sendPacket(fd, bytesOf(text), {}, kReplySendTimeoutMs) == SendStatus::Sent;
}

void sendReply(int fd, const ControlReply &reply)
{
    nlohmann::json header = {
        {"status", reply.status}, {"error", reply.error}, {"length", reply.output.size()}};
    if (!sendText(fd, header.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)))
        return;
    for (std::size_t at = 0; at < reply.output.size(); at += kOutputChunkBytes)
        if (!sendText(fd, reply.output.substr(at, kOutputChunkBytes)))
            return;
}

int remainingMs(Clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<long>(0, left.count()));
}

// Receives one packet before the deadline; nullopt when none came or the peer left.
std::optional<std::string> receiveText(int fd, std::size_t maxBytes, Clock::time_point deadline)
{
    for (;;) {
        if (!waitReadable(fd, remainingMs(deadline)))
            return std::nullopt;
        Packet packet;
        ReceiveStatus status = receivePacket(fd, maxBytes, packet);
        if (status == ReceiveStatus::Received)
            return textOf(packet);
        if (status != ReceiveStatus::Empty)
            return std::nullopt;
    }
}

struct ReplyHeader {
    ControlReply reply; // without its output yet
    std::size_t outputLength = 0;
};

std::optional<ReplyHeader> decodeHeader(const std::string &text)
{
    const nlohmann::json header = nlohmann::json::parse(text, nullptr, false);
    if (!header.is_object() || !header.contains("status") || !header.contains("error") ||
        !header.contains("length") || !header["status"].is_number_integer() ||
        !header["error"].is_string() || !header["length"].is_number_unsigned())
        return std::nullopt;
    ReplyHeader decoded;
    decoded.reply.status = header["status"].get<int>();
    decoded.reply.error = header["error"].get<std::string>();
    decoded.outputLength = header["length"].get<std::size_t>();
    return decoded;
}

ControlExchange failed(std::string why)
{
    return {std::nullopt, std::move(why), true};
}

} // namespace

std::string controlSocketPath()
{
    return hostPath(kControlSocketPhonePath);
}

std::string encodeRequest(const std::vector<std::string> &words)
{
    return nlohmann::json(words).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<std::vector<std::string>> decodeRequest(const std::string &packet)
{
    nlohmann::json request = nlohmann::json::parse(packet, nullptr, false);
    if (!request.is_array())
        return std::nullopt;
    std::vector<std::string> words;
    for (const nlohmann::json &word : request) {
        if (!word.is_string())
            return std::nullopt;
        words.push_back(word.get<std::string>());
    }
    return words;
}

bool deviceIsRunning()
{
    return connectTo(controlSocketPath()).valid();
}

ControlExchange sendControlRequest(const std::vector<std::string> &words, int timeoutMs)
{
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    OwnedFd connection = connectTo(controlSocketPath());
    if (!connection.valid()) {
        bool absent = errno == ENOENT || errno == ECONNREFUSED;
        return {std::nullopt, std::strerror(errno), !absent};
    }
    if (sendPacket(connection.get(), bytesOf(encodeRequest(words)), {}, timeoutMs) !=
        SendStatus::Sent)
        return failed("the device did not take the command");
    std::optional<std::string> headerText =
        receiveText(connection.get(), kMaxHeaderBytes, deadline);
    std::optional<ReplyHeader> header = headerText ? decodeHeader(*headerText) : std::nullopt;
    if (!header)
        return failed("the device did not answer");
    ControlReply &reply = header->reply;
    while (reply.output.size() < header->outputLength) {
        std::optional<std::string> chunk =
            receiveText(connection.get(), kOutputChunkBytes, deadline);
        if (!chunk)
            return failed("the device's answer was cut short");
        reply.output += *chunk;
    }
    return {std::move(reply), {}, true};
}

ControlServer::~ControlServer()
{
    stop();
}

bool ControlServer::start(const std::string &path)
{
    unlink(path.c_str());
    m_listener = listenAt(path);
    if (!m_listener.valid())
        return false;
    m_path = path;
    m_listenerSource =
        RunLoop::main().addFileDescriptor(m_listener.get(), [this] { acceptConnections(); });
    return true;
}

void ControlServer::stop()
{
    while (!m_connections.empty())
        closeConnection(m_connections.begin()->first);
    if (!m_listener.valid())
        return;
    RunLoop::main().removeSource(m_listenerSource);
    m_listener.reset();
    unlink(m_path.c_str());
}

void ControlServer::acceptConnections()
{
    for (;;) {
        OwnedFd accepted = acceptSameUser(m_listener.get());
        if (!accepted.valid())
            return;
        int fd = accepted.get();
        Connection &connection = m_connections[fd];
        connection.fd = std::move(accepted);
        connection.source =
            RunLoop::main().addFileDescriptor(fd, [this, fd] { serveConnection(fd); });
    }
}

void ControlServer::serveConnection(int fd)
{
    Packet packet;
    ReceiveStatus status = receivePacket(fd, kMaxRequestBytes, packet);
    if (status == ReceiveStatus::Empty)
        return;
    if (status == ReceiveStatus::Received) {
        std::optional<std::vector<std::string>> words = decodeRequest(textOf(packet));
        sendReply(fd, words ? m_handler(*words)
                            : ControlReply{2, "", "a request is a JSON array of strings"});
    } else if (status == ReceiveStatus::Malformed) {
        sendReply(fd, ControlReply{2, "", "the request is too long"});
    }
    closeConnection(fd);
}

void ControlServer::closeConnection(int fd)
{
    auto found = m_connections.find(fd);
    if (found == m_connections.end())
        return;
    RunLoop::main().removeSource(found->second.source);
    m_connections.erase(found);
}

} // namespace sim
