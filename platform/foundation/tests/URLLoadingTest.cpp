// Fetching a URL's content over the simulated phone's network, against a real HTTP server
// on the loopback interface: content and its encoding, failures as NSErrors, and routes of
// the device profile (a refused connection and the timeout: the usage report test).

#include "foundation/DeviceProfile.h"
#include "foundation/NSURL.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <thread>

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
    AutoreleasePool m_pool;
};

TEST_F(URLLoading, ContentComesAsTextInItsEncodingAndFailuresAnswerNilWithAnError)
{
    Fetched text = fetch(local("/text?x=%26%3D"));
    EXPECT_EQ(text.content, "ok &=");
    EXPECT_EQ(text.encoding, NSUTF8StringEncoding);
    EXPECT_EQ(text.code, 0);
    Fetched latin = fetch(local("/latin"));
    EXPECT_EQ(latin.content, "caf\xc3\xa9");
    EXPECT_EQ(latin.encoding, NSISOLatin1StringEncoding);

    Fetched status = fetch(local("/broken"));
    EXPECT_EQ(status.content, "(nil)") << "an error status is no content, whatever its body";
    EXPECT_EQ(status.code, NSURLErrorBadServerResponse);
    EXPECT_NE(status.error.find("The server answered with status 500."), std::string::npos);
    EXPECT_NE(status.error.find("NSErrorFailingURLStringKey=" + local("/broken")),
              std::string::npos)
        << status.error;
    EXPECT_EQ(fetch(local("/huge")).code, NSURLErrorDataLengthExceedsMaximum);
    EXPECT_EQ(fetch("ftp://127.0.0.1/file").code, NSURLErrorUnsupportedURL);
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

TEST(URLs, AreAbsoluteAndWellFormed)
{
    AutoreleasePool pool;
    EXPECT_EQ(NSURL::URLWithString("not a url"_ns), nil);
    EXPECT_EQ(NSURL::URLWithString("/stats/collect.php"_ns), nil);
    EXPECT_EQ(NSURL::URLWithString(nil), nil);
    EXPECT_EQ(sim::describe(NSURL::URLWithString("http://h/p?a=1"_ns)), "http://h/p?a=1");
}

} // namespace
