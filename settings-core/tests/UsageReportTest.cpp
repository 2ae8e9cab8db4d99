// The usage report end to end, against a real HTTP server on 127.0.0.1 that the test runs.
// Each launch is this binary run again under a main bundle of the test's choosing, because
// the reporter decides at library load whether to listen for SpringBoard's launch.

#include "ChildProcess.h"
#include "SettingsTestSupport.h"
#include "darwin/TemporaryDevice.h"
#include "darwin/notify.h"
#include "foundation/DeviceProfile.h"
#include "foundation/DeviceRoot.h"
#include "foundation/RunLoop.h"
#include "settings-core/CVUsageReporter.h"

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <string_view>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace cvtest;

constexpr const char *kSpringBoard = "com.apple.springboard";
constexpr const char *kErrorLine = "[Corvane][ERROR]: Error contacting server: ";

// The statistics server: answers every report with the current answer and keeps each
// request's raw query.
class StatsServer {
public:
    enum Answer { Ok, Refusal, ServerError, Silence };

    StatsServer()
    {
        m_server.Get("/stats/collect.php",
                     [this](const httplib::Request &request, httplib::Response &response) {
                         std::unique_lock lock(m_lock);
                         m_queries.push_back(request.target.substr(request.target.find('?') + 1));
                         if (m_answer == Silence)
                             m_released.wait(lock, [this] { return m_closing; });
                         response.status = m_answer == ServerError ? 500 : 200;
                         response.set_content(m_answer == Refusal ? "fail" : "ok", "text/plain");
                     });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!m_server.is_running() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    ~StatsServer()
    {
        {
            std::lock_guard guard(m_lock);
            m_closing = true;
        }
        m_released.notify_all();
        m_server.stop();
        m_thread.join();
    }

    bool running() const { return m_port > 0 && m_server.is_running(); }
    std::string endpoint() const
    {
        return "http://127.0.0.1:" + std::to_string(m_port) + "/stats/collect.php";
    }
    void answer(Answer answer)
    {
        std::lock_guard guard(m_lock);
        m_answer = answer;
    }
    std::vector<std::string> queries()
    {
        std::lock_guard guard(m_lock);
        return m_queries;
    }

private:
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
    std::mutex m_lock;
    std::condition_variable m_released;
    bool m_closing = false;
    Answer m_answer = Ok;
    std::vector<std::string> m_queries;
};

// The query's values in order, percent-decoded.
std::vector<std::pair<std::string, std::string>> decodedQuery(const std::string &query)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    std::size_t start = 0;
    while (start <= query.size()) {
        std::size_t end = std::min(query.find('&', start), query.size());
        std::string pair = query.substr(start, end - start);
        std::size_t equals = pair.find('=');
        pairs.emplace_back(httplib::detail::decode_url(pair.substr(0, equals), false),
                           httplib::detail::decode_url(pair.substr(equals + 1), false));
        start = end + 1;
    }
    return pairs;
}

bool contains(const std::string &text, std::string_view part)
{
    return text.find(part) != std::string::npos;
}

class UsageReport : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_device.ready());
        ASSERT_TRUE(m_server.running());
        ASSERT_TRUE(sim::makeDirectories(sim::hostPath("/var/mobile/Library/Preferences")));
        sim::DeviceProfile phone;
        phone.productVersion = "9.3 beta&x=1#";
        phone.urlRequestTimeout = 1;
        phone.urlRoutes[kCVUsageReportEndpoint] = m_server.endpoint();
        sim::DeviceProfile::setCurrent(phone);
        ASSERT_TRUE(phone.save());
    }

    // Runs one launch of a process with the main bundle `bundle`; answers its log.
    std::string launch(const char *bundle = kSpringBoard, const char *mode = "post")
    {
        std::string logPath = m_device.root() + "/launch.log";
        // The server's threads may hold locks that a forked child must never wait for:
        // the child only redirects and execs.
        int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const std::pair<int, int> descriptors[] = {{log, STDERR_FILENO}};
        pid_t child = startAsApplication(mode, descriptors, bundle);
        close(log);
        EXPECT_EQ(test::waitForChild(child, 20000), 0) << bundle << " " << mode;
        return readFile(logPath);
    }

    static NSDictionary *record()
    {
        return NSDictionary::dictionaryWithContentsOfFile(text(kCVUsageRecordPath));
    }

    static void writeRecord(NSDictionary *entries)
    {
        ASSERT_TRUE(entries->writeToFile(text(kCVUsageRecordPath), true));
    }

    static id ourEntry()
    {
        NSDictionary *file = record();
        return file ? file->objectForKey(text(kCVUsagePackageIdentifier)) : nil;
    }

    sim::TemporaryDevice m_device;
    StatsServer m_server;
    AutoreleasePool m_pool;
};

TEST_F(UsageReport, TheFirstLaunchReportsOnceAndTheRecordEndsReporting)
{
    // "twice": SpringBoard launching again in a process that keeps the library loaded.
    std::string log = launch(kSpringBoard, "twice");
    std::vector<std::string> queries = m_server.queries();
    ASSERT_EQ(queries.size(), 1u) << log;

    std::vector<std::pair<std::string, std::string>> expected;
    for (const auto &[key, value] : *CVUsageReporter::reportPayload())
        expected.emplace_back(sim::describe(key.get()), sim::describe(value.get()));
    std::vector<std::pair<std::string, std::string>> received = decodedQuery(queries[0]);
    EXPECT_EQ(received, expected) << queries[0];
    EXPECT_TRUE(contains(queries[0], "&m=iPhone8,1&")) << "an ordinary value travels as it is";
    EXPECT_FALSE(contains(log, kErrorLine)) << log;

    id entry = ourEntry();
    ASSERT_NE(entry, nil);
    double when = static_cast<NSNumber *>(entry)->doubleValue();
    EXPECT_NEAR(when, NSDate::date()->timeIntervalSince1970(), 60);

    log = launch();
    EXPECT_EQ(m_server.queries().size(), 1u) << "a reported device never reports again";
    EXPECT_FALSE(contains(log, "=> ")) << log;
}

// Each failure is logged with its reason and leaves no record; the next launch tries again.
TEST_F(UsageReport, FailedReportsLeaveNoRecordAndAreTriedAgain)
{
    const std::pair<StatsServer::Answer, const char *> failures[] = {
        {StatsServer::Refusal, "(null)"},
        {StatsServer::ServerError, "Code=-1011"},
        {StatsServer::Silence, "Code=-1001"},
    };
    for (const auto &[answer, why] : failures) {
        m_server.answer(answer);
        std::string log = launch();
        EXPECT_TRUE(contains(log, std::string(kErrorLine) + why) ||
                    contains(log, std::string(kErrorLine) + "Error Domain=NSURLErrorDomain " + why))
            << log;
        EXPECT_EQ(ourEntry(), nil) << why;
    }
    EXPECT_EQ(m_server.queries().size(), 3u);
    m_server.answer(StatsServer::Ok);
    launch();
    EXPECT_EQ(m_server.queries().size(), 4u);
    EXPECT_NE(ourEntry(), nil) << "the next launch tried again";
}

// Neither another application nor a recorded device reports; a report keeps the other
// packages' entries. "forget" removes the record after the library has loaded: a reporter
// that had registered for the launch would then report.
TEST_F(UsageReport, OnlySpringBoardOfAnUnrecordedDeviceReportsAndOtherEntriesStay)
{
    writeRecord(
        dict({{"com.example.other", real(1234.5)}, {"org.example.text", text("kept as it is")}}));
    std::string log = launch("com.apple.Preferences");
    EXPECT_TRUE(m_server.queries().empty()) << log;
    EXPECT_EQ(ourEntry(), nil);

    launch();
    EXPECT_EQ(m_server.queries().size(), 1u);
    NSDictionary *after = record();
    ASSERT_NE(after, nil);
    EXPECT_EQ(after->count(), 3u);
    EXPECT_EQ(sim::describe(after->objectForKey("com.example.other"_ns)), "1234.5");
    EXPECT_EQ(sim::describe(after->objectForKey("org.example.text"_ns)), "kept as it is");

    log = launch(kSpringBoard, "forget");
    EXPECT_EQ(m_server.queries().size(), 1u) << log;
    EXPECT_FALSE(contains(log, "=> ")) << log;
}

// The launched process. A report is over when it has been recorded or has failed; when
// nothing has started a second after the notification, none will.
int launchedChild(const std::string &mode)
{
    AutoreleasePool pool;
    sim::LogCapture log;
    if (mode == "forget")
        std::remove(sim::hostPath(kCVUsageRecordPath).c_str());
    notify_post("SBSpringBoardDidLaunchNotification");
    if (mode == "twice") {
        test::runMainLoopUntil([] { return false; }, 50);
        notify_post("SBSpringBoardDidLaunchNotification");
    }
    auto started = std::chrono::steady_clock::now();
    test::runMainLoopUntil(
        [&] {
            bool reporting = false;
            for (const std::string &line : log.lines()) {
                if (line.starts_with(kErrorLine))
                    return true;
                reporting = reporting || line.starts_with("=> ");
            }
            if (reporting)
                return CVUsageReporter::hasReported() == YES;
            return std::chrono::steady_clock::now() - started > std::chrono::seconds(1);
        },
        15000);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (std::string mode = springBoardRole(argc, argv); !mode.empty())
        return launchedChild(mode);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
