// `cvsim run` and `cvsim ctl` end to end: a device on the real clock driven by other processes.

#include "DeviceTool.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <filesystem>
#include <thread>

namespace {

using e2e::awaitDump;
using nlohmann::json;

TEST(DeviceControl, ARunningDeviceIsDrivenAndRestartsItsSpringBoardOnApply)
{
    std::string root = e2e::temporaryRoot("run");
    e2e::Background device(root, {"run", "--ios", "9"});
    json first = awaitDump(root, [](const json &) { return true; });
    ASSERT_FALSE(first.is_null()) << "the device never answered";

    // A second device on the same root is refused while this one runs.
    e2e::Result second = e2e::cvsim(root, {"run"});
    EXPECT_EQ(second.status, 1);

    // Settings written through the device land in the file; mistakes are refused.
    EXPECT_EQ(
        e2e::cvsim(root, {"ctl", "defaults", "write", "CVStatusBar", "carrierString", "Kestrel"})
            .status,
        0);
    EXPECT_EQ(e2e::cvsim(root, {"defaults", "read", "CVStatusBar", "carrierString"}).out,
              "\"Kestrel\"\n");
    e2e::Result wrong = e2e::cvsim(root, {"ctl", "defaults", "write", "CVNothing", "x", "1"});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.err.find("no section named \"CVNothing\""), std::string::npos) << wrong.err;

    EXPECT_EQ(e2e::cvsim(root, {"ctl", "rotate", "3"}).status, 0);
    EXPECT_EQ(e2e::cvsim(root, {"ctl", "screenshot", root + "/shot.png"}).status, 0);
    EXPECT_GT(std::filesystem::file_size(root + "/shot.png"), 100u);

    EXPECT_EQ(e2e::cvsim(root, {"ctl", "post", "com.kestrelworks.corvane3.applySettings"}).status,
              0);
    json relaunched =
        awaitDump(root, [](const json &dump) { return dump["springboard"]["launches"] == 2; });
    ASSERT_FALSE(relaunched.is_null()) << "SpringBoard was not started again";
    EXPECT_NE(relaunched["springboard"]["pid"], first["springboard"]["pid"]);
    // The log is the new process's own, from its start.
    EXPECT_TRUE(e2e::containsLine(relaunched["log"], "Welcome to Corvane 3")) << relaunched["log"];

    EXPECT_EQ(device.stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(root + "/var/run/corvane/springboard.control"));
    e2e::Result gone = e2e::cvsim(root, {"ctl", "dump"});
    EXPECT_EQ(gone.status, 1);
    EXPECT_NE(gone.err.find("no device is running"), std::string::npos) << gone.err;
}

TEST(DeviceControl, ADeviceReportsItsUseToTheStatsServerItIsGiven)
{
    std::atomic<int> reports{0};
    httplib::Server server;
    server.Get("/stats/collect.php",
               [&](const httplib::Request &request, httplib::Response &response) {
                   if (request.has_param("h"))
                       ++reports;
                   response.set_content("ok", "text/plain");
               });
    int port = server.bind_to_any_port("127.0.0.1");
    ASSERT_GT(port, 0);
    std::thread serving([&] { server.listen_after_bind(); });
    ASSERT_TRUE(e2e::awaitCondition([&] { return server.is_running(); }, 10));

    std::string root = e2e::temporaryRoot("stats");
    std::string record = root + "/var/mobile/Library/Preferences/.com.kestrelworks.stats.plist";
    e2e::Background device(
        root,
        {"run", "--stats-url", "http://127.0.0.1:" + std::to_string(port) + "/stats/collect.php"});
    EXPECT_TRUE(e2e::awaitCondition([&] { return std::filesystem::exists(record); }))
        << "the report was never accepted";
    EXPECT_EQ(device.stop(), 0);
    EXPECT_EQ(reports, 1);
    server.stop();
    serving.join();
}

} // namespace
