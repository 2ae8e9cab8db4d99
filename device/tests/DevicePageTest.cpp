// The device page's server on a real socket, without a SpringBoard.

#include "DevicePage.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <unistd.h>

using nlohmann::json;
using namespace sim;

namespace {

class DevicePageTest : public testing::Test {
protected:
    void SetUp() override
    {
        char directory[] = "/tmp/cvpageXXXXXX";
        ASSERT_NE(mkdtemp(directory), nullptr);
        m_frameSocket = std::string(directory) + "/frames";
        m_page = std::make_unique<DevicePage>(847.2, m_console);
        ASSERT_TRUE(m_page->start(0, m_frameSocket));
        m_page->setSettingsUrl("http://127.0.0.1:4242/?token=abc");
        m_page->serve();
        m_token = m_page->url().substr(m_page->url().find("token=") + 6);
        m_client = std::make_unique<httplib::Client>("127.0.0.1", m_page->port());
    }

    httplib::Headers withToken() { return {{"X-Corvane-Token", m_token}}; }

    httplib::Result postCommand(const std::string &body)
    {
        return m_client->Post("/api/command", withToken(), body, "application/json");
    }

    ConsoleTail m_console;
    std::string m_frameSocket;
    std::unique_ptr<DevicePage> m_page;
    std::unique_ptr<httplib::Client> m_client;
    std::string m_token;
};

} // namespace

TEST(PageCommands, OnlyWhatAFingerOrAButtonCouldDo)
{
    for (std::vector<std::string> allowed : {std::vector<std::string>{"press-home"},
                                             {"finger", "down", "10", "20.5"},
                                             {"tap", "1", "2"},
                                             {"swipe-pages", "1"},
                                             {"switcher", "open"},
                                             {"post", "com.kestrelworks.corvane3.applySettings"}})
        EXPECT_FALSE(refusePageCommand(allowed)) << allowed.front();
    for (std::vector<std::string> refused : {std::vector<std::string>{"screenshot", "/tmp/x.png"},
                                             {"defaults", "write", "CVDock", "hideDock", "true"},
                                             {"post", "com.example.other"},
                                             {"wait", "60"},
                                             {"finger", "press", "1", "2"},
                                             {}})
        EXPECT_TRUE(refusePageCommand(refused)) << (refused.empty() ? "" : refused.front());
}

TEST_F(DevicePageTest, ServesOnlyWithItsTokenAndFramesOnlyTheSettingsApplication)
{
    EXPECT_EQ(m_client->Get("/")->status, 401);
    EXPECT_EQ(m_client->Get("/?token=" + std::string(64, '0'))->status, 403);
    httplib::Result page = m_client->Get("/?token=" + m_token);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("device.js?token=" + m_token), std::string::npos);
    EXPECT_EQ(m_client->Get("/app.js", withToken())->status, 404);
    httplib::Headers foreign = withToken();
    foreign.emplace("Origin", "http://example.com");
    EXPECT_EQ(m_client->Get("/api/status", foreign)->status, 403);

    // The status names the settings application, the only page it may frame.
    httplib::Result status = m_client->Get("/api/status", withToken());
    ASSERT_TRUE(status);
    json body = json::parse(status->body);
    EXPECT_EQ(body["generation"], "iOS 7");
    EXPECT_EQ(body["settings"], "http://127.0.0.1:4242/?token=abc");
    std::string policy = status->get_header_value("Content-Security-Policy");
    EXPECT_NE(policy.find("frame-src http://127.0.0.1:4242;"), std::string::npos) << policy;
    EXPECT_NE(policy.find("frame-ancestors 'none'"), std::string::npos) << policy;
}

TEST_F(DevicePageTest, RefusesCommandsBeforeTheyReachThePhoneAndStreamsFrames)
{
    EXPECT_EQ(m_client->Post("/api/command", withToken(), "{}", "text/plain")->status, 415);
    EXPECT_EQ(postCommand("not json")->status, 400);
    EXPECT_EQ(postCommand(R"({"words": ["lock", 3]})")->status, 400);
    EXPECT_EQ(postCommand(R"({"words": ["screenshot", "/tmp/x.png"]})")->status, 400);
    EXPECT_EQ(postCommand(std::string(5000, ' '))->status, 413);
    // Nothing listens on this root's control channel.
    EXPECT_EQ(postCommand(R"({"words": ["lock"]})")->status, 503);

    // A frame that SpringBoard sent reaches the page's event stream.
    OwnedFd springBoard = connectForFrames(m_frameSocket);
    ASSERT_TRUE(springBoard.valid());
    ASSERT_TRUE(writeFrame(springBoard.get(), {750, 1334, 2, "jpeg bytes"}));
    std::string stream;
    m_client->Get("/api/frames", withToken(), [&](const char *data, std::size_t length) {
        stream.append(data, length);
        return stream.find("\n\n", stream.find("event: frame")) == std::string::npos;
    });
    std::size_t data = stream.find("data: ");
    ASSERT_NE(data, std::string::npos) << stream;
    json frame = json::parse(stream.substr(data + 6, stream.find('\n', data) - data - 6));
    EXPECT_EQ(frame["number"], 1);
    EXPECT_EQ(frame["width"], 750);
    EXPECT_EQ(frame["jpeg"], "anBlZyBieXRlcw==");
}

TEST(ConsoleTail, KeepsTheLatestLinesOfEveryWriter)
{
    ConsoleTail console(3);
    ASSERT_TRUE(console.start());
    // Two SpringBoard processes, one after the other, write into the same pipe.
    int first = dup(console.writeEnd());
    ASSERT_EQ(write(first, "one\ntwo\n", 8), 8);
    close(first);
    int second = dup(console.writeEnd());
    std::string last = "three\nfour\nfive without its end";
    ASSERT_EQ(write(second, last.data(), last.size()), ssize_t(last.size()));
    close(second);
    console.stop();
    EXPECT_EQ(console.latestLines(10),
              (std::vector<std::string>{"three", "four", "five without its end"}));
}
