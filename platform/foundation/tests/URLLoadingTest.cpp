// Fetching a URL's content over the simulated phone's network, against a real HTTP server
// on the loopback interface: content and its encoding, every kind of failure as an
// NSError, the request timeout, and routes of the device profile.

#include "foundation/DeviceProfile.h"
#include "foundation/NSURL.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <arpa/inet.h>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

struct Fetched {
    std::string content; // "(nil)" when nothing came
    NSStringEncoding encoding = 0;
    NSInteger code = 0; // of the error; 0 without one
    std::string error;  // its description
};

class URLLoading : public testing::Test {
protected:
    void SetUp() override
    {
        m_server.Get("/text", [](const httplib::Request &request, httplib::Response &response) {
            response.set_content("ok " + request.get_param_value("x"), "text/plain");
        });
        m_server.Get("/latin", [](const httplib::Request &, httplib::Response &response) {
            response.set_content("caf\xe9", "text/plain");
        });
        m_server.Get("/broken", [](const httplib::Request &, httplib::Response &response) {
            response.status = 500;
            response.set_content("ok", "text/plain");
        });
        m_server.Get("/huge", [](const httplib::Request &, httplib::Response &response) {
            response.set_content(std::string(2 << 20, 'x'), "text/plain");
        });
        m_server.Get("/silent", [this](const httplib::Request &, httplib::Response &response) {
            std::unique_lock lock(m_lock);
            m_released.wait_for(lock, std::chrono::seconds(10), [this] { return m_done; });
            response.set_content("too late", "text/plain");
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        ASSERT_GT(m_port, 0);
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        // Stopping a server whose loop has not started yet would not stop it.
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!m_server.is_running() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_TRUE(m_server.is_running());
        useProfile(sim::DeviceProfile{});
    }

    void TearDown() override
    {
        {
            std::lock_guard guard(m_lock);
            m_done = true;
        }
        m_released.notify_all();
        m_server.stop();
        m_thread.join();
        sim::DeviceProfile::setCurrent(sim::DeviceProfile{});
    }

    static void useProfile(sim::DeviceProfile profile) { sim::DeviceProfile::setCurrent(profile); }

    std::string local(const std::string &path) const
    {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }

    static Fetched fetch(const std::string &address)
    {
        AutoreleasePool pool;
        NSURL *url = NSURL::URLWithString(NSString::stringWithString(address));
        EXPECT_NE(url, nil) << address;
        Fetched fetched;
        NSError *error = nil;
        NSString *content =
            msg<NSString *>(NSString::class_(), "stringWithContentsOfURL:usedEncoding:error:"_sel,
                            url, &fetched.encoding, &error);
        fetched.content = content ? content->str() : "(nil)";
        if (error) {
            fetched.code = error->code();
            fetched.error = sim::describe(error);
            EXPECT_TRUE(error->domain()->isEqualToString(NSURLErrorDomain));
        }
        return fetched;
    }

    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
    std::mutex m_lock;
    std::condition_variable m_released;
    bool m_done = false;
    AutoreleasePool m_pool;
};

// A loopback port that nothing listens on.
int closedPort()
{
    int descriptor = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(descriptor, reinterpret_cast<sockaddr *>(&address), length);
    getsockname(descriptor, reinterpret_cast<sockaddr *>(&address), &length);
    close(descriptor);
    return ntohs(address.sin_port);
}

TEST_F(URLLoading, ContentComesAsTextWithTheEncodingItWasReadIn)
{
    Fetched text = fetch(local("/text?x=%26%3D"));
    EXPECT_EQ(text.content, "ok &=");
    EXPECT_EQ(text.encoding, NSUTF8StringEncoding);
    EXPECT_EQ(text.code, 0);
    Fetched latin = fetch(local("/latin"));
    EXPECT_EQ(latin.content, "caf\xc3\xa9");
    EXPECT_EQ(latin.encoding, NSISOLatin1StringEncoding);
}

TEST_F(URLLoading, FailuresAnswerNilWithAnError)
{
    Fetched status = fetch(local("/broken"));
    EXPECT_EQ(status.content, "(nil)") << "an error status is no content, whatever its body";
    EXPECT_EQ(status.code, NSURLErrorBadServerResponse);
    EXPECT_EQ(status.error, "Error Domain=NSURLErrorDomain Code=-1011 \"The server answered with "
                            "status 500.\" UserInfo={NSLocalizedDescription=The server answered "
                            "with status 500., NSErrorFailingURLStringKey=" +
                                local("/broken") + "}");
    EXPECT_EQ(fetch("http://127.0.0.1:" + std::to_string(closedPort()) + "/").code,
              NSURLErrorCannotConnectToHost);
    EXPECT_EQ(fetch(local("/huge")).code, NSURLErrorDataLengthExceedsMaximum);
    EXPECT_EQ(fetch("ftp://127.0.0.1/file").code, NSURLErrorUnsupportedURL);
}

TEST_F(URLLoading, AServerThatNeverAnswersTimesOut)
{
    sim::DeviceProfile impatient;
    impatient.urlRequestTimeout = 0.3;
    useProfile(impatient);
    auto start = std::chrono::steady_clock::now();
    Fetched silent = fetch(local("/silent"));
    EXPECT_EQ(silent.code, NSURLErrorTimedOut);
    EXPECT_EQ(silent.content, "(nil)");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(URLLoading, ThePhoneReachesLoopbackHostsAndItsRoutesOnly)
{
    EXPECT_EQ(fetch("http://stats.kestrelworks.invalid/collect?x=1").code,
              NSURLErrorCannotFindHost);
    EXPECT_EQ(fetch("http://10.0.0.1/").code, NSURLErrorCannotFindHost);
    sim::DeviceProfile routed;
    routed.urlRoutes["http://stats.kestrelworks.invalid/collect"] = local("/text");
    useProfile(routed);
    Fetched through = fetch("http://stats.kestrelworks.invalid/collect?x=routed");
    EXPECT_EQ(through.content, "ok routed");
    EXPECT_EQ(fetch("http://stats.kestrelworks.invalid/collected").code, NSURLErrorCannotFindHost)
        << "a route covers its own path, not every path that begins like it";
}

TEST_F(URLLoading, URLsAreAbsoluteAndWellFormed)
{
    AutoreleasePool pool;
    EXPECT_EQ(NSURL::URLWithString(NSString::stringWithString("not a url")), nil);
    EXPECT_EQ(NSURL::URLWithString(NSString::stringWithString("/stats/collect.php")), nil);
    EXPECT_EQ(NSURL::URLWithString(nil), nil);
    NSURL *url = NSURL::URLWithString(NSString::stringWithString("http://h/p?a=1"));
    ASSERT_NE(url, nil);
    EXPECT_EQ(sim::describe(url), "http://h/p?a=1");
}

} // namespace
