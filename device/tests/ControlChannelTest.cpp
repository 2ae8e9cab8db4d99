// The control channel between cvsim ctl and SpringBoard.

#include "ControlChannel.h"

#include "Watchdog.h"
#include "darwin/Socket.h"
#include "foundation/DeviceRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <nlohmann/json.hpp>

namespace {

class ControlChannel : public testing::Test {
protected:
    void SetUp() override
    {
        m_root = testing::TempDir() + "control-" + std::to_string(getpid());
        std::filesystem::remove_all(m_root);
        sim::setDeviceRoot(m_root);
        ASSERT_TRUE(sim::makeDirectories(sim::hostPath("/var/run/corvane")));
    }
    void TearDown() override
    {
        m_server.stop();
        std::filesystem::remove_all(m_root);
    }

    // Runs the main run loop (the server's) until `work`, on another thread, is done.
    template <class Work> auto whileServing(Work work)
    {
        Watchdog watchdog("a control exchange", std::chrono::seconds(20));
        auto result = std::async(std::launch::async, work);
        while (result.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
            sim::RunLoop::main().runInMode(sim::kDefaultMode, 0.01, false);
        return result.get();
    }

    sim::ControlExchange send(const std::vector<std::string> &words)
    {
        return whileServing([words] { return sim::sendControlRequest(words, 10000); });
    }

    // Sends raw bytes as a request and answers the reply header's JSON.
    nlohmann::json sendRaw(const std::string &bytes)
    {
        return whileServing([bytes] {
            sim::OwnedFd connection = sim::connectTo(sim::controlSocketPath());
            auto span = std::as_bytes(std::span(bytes.data(), bytes.size()));
            if (sim::sendPacket(connection.get(), span, {}, 5000) != sim::SendStatus::Sent ||
                !sim::waitReadable(connection.get(), 5000))
                return nlohmann::json();
            sim::Packet packet;
            if (sim::receivePacket(connection.get(), 65536, packet) != sim::ReceiveStatus::Received)
                return nlohmann::json();
            return nlohmann::json::parse(
                std::string(reinterpret_cast<const char *>(packet.bytes.data()),
                            packet.bytes.size()),
                nullptr, false);
        });
    }

    std::string m_root;
    std::vector<std::vector<std::string>> m_requests;
    sim::ControlServer m_server{[this](const std::vector<std::string> &words) {
        m_requests.push_back(words);
        if (words.at(0) == "big")
            return sim::ControlReply{0, std::string(200000, 'x') + "end", ""};
        if (words.at(0) == "fail")
            return sim::ControlReply{1, "", "it failed"};
        return sim::ControlReply{0, "echo:" + words.back(), ""};
    }};
};

TEST_F(ControlChannel, ACommandIsAnsweredAndWhatIsNoCommandRefused)
{
    ASSERT_TRUE(m_server.start(sim::controlSocketPath()));
    sim::ControlExchange exchange = send({"screenshot", "/tmp/with space/é.png"});
    ASSERT_TRUE(exchange.reply) << exchange.failure;
    EXPECT_EQ(exchange.reply->output, "echo:/tmp/with space/é.png");
    EXPECT_EQ(m_requests,
              (std::vector<std::vector<std::string>>{{"screenshot", "/tmp/with space/é.png"}}));

    sim::ControlExchange failure = send({"fail"});
    ASSERT_TRUE(failure.reply);
    EXPECT_EQ(failure.reply->status, 1);
    EXPECT_EQ(failure.reply->error, "it failed");

    sim::ControlExchange big = send({"big"});
    ASSERT_TRUE(big.reply) << big.failure;
    EXPECT_EQ(big.reply->output, std::string(200000, 'x') + "end") << "long output arrives whole";

    // Requests that are not commands are refused, and serving goes on.
    std::size_t served = m_requests.size();
    for (const std::string &bytes : {std::string("dump"), std::string("{\"argv\": []}"),
                                     std::string("[\"rotate\", 3]"), std::string("[\"x\"")}) {
        nlohmann::json header = sendRaw(bytes);
        EXPECT_EQ(header["status"], 2) << bytes;
        EXPECT_EQ(header["error"], "a request is a JSON array of strings") << bytes;
    }
    EXPECT_EQ(sendRaw(std::string(100000, '[')).value("error", ""), "the request is too long");
    EXPECT_EQ(m_requests.size(), served);
    sim::ControlExchange still = send({"still", "here"});
    ASSERT_TRUE(still.reply);
    EXPECT_EQ(still.reply->output, "echo:here");
}

TEST_F(ControlChannel, NoDeviceIsToldApartFromAFailedExchange)
{
    sim::ControlExchange exchange = sim::sendControlRequest({"dump"}, 1000);
    EXPECT_FALSE(exchange.reply);
    EXPECT_FALSE(exchange.deviceRunning);

    // A socket left behind by a SpringBoard that died is replaced by the next one.
    {
        sim::OwnedFd dead = sim::listenAt(sim::controlSocketPath());
    }
    ASSERT_TRUE(std::filesystem::exists(sim::controlSocketPath()));
    EXPECT_FALSE(sim::sendControlRequest({"dump"}, 1000).deviceRunning);
    ASSERT_TRUE(m_server.start(sim::controlSocketPath()));
    EXPECT_TRUE(sim::deviceIsRunning());
    sim::ControlExchange again = send({"x"});
    ASSERT_TRUE(again.reply);
    EXPECT_EQ(again.reply->output, "echo:x");
    m_server.stop();
    EXPECT_FALSE(std::filesystem::exists(sim::controlSocketPath()));
}

} // namespace
