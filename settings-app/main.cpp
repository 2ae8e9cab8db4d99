// CorvaneApp [--port N]: the settings panel as a stand-alone application, shown in a
// browser. The web server starts first, so that the URL is printed at once; the panel
// then runs on the main run loop inside UIApplicationMain until the process is ended.

#include "CorvaneAppApplication.h"
#include "PanelDriver.h"
#include "PanelState.h"
#include "WebServer.h"

#include "foundation/DeviceRoot.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

namespace {

// How long a request waits for the main thread before it is answered 503.
constexpr double kUIThreadTimeoutSeconds = 10;

// The port of "--port N" (0 to 65535; 0 lets the system choose), 0 without the option,
// nothing for anything else.
std::optional<int> portFromArguments(int argc, char **argv)
{
    if (argc == 1)
        return 0;
    if (argc != 3 || std::strcmp(argv[1], "--port") != 0)
        return std::nullopt;
    std::string_view text = argv[2];
    int port = -1;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || end != text.data() + text.size() || port < 0 || port > 65535)
        return std::nullopt;
    return port;
}

} // namespace

int main(int argc, char **argv)
{
    std::optional<int> port = portFromArguments(argc, argv);
    if (!port) {
        std::fprintf(stderr, "usage: CorvaneApp [--port N]\n");
        return 2;
    }
    if (sim::deviceRoot().empty()) {
        std::fprintf(stderr, "CorvaneApp: no device to run on: `cvsim run` starts the "
                             "application, or set CORVANE_DEVICE_ROOT\n");
        return 1;
    }
    CorvaneAppApplication::class_();
    sim::WebServer server({sim::panelState, sim::applyPanelAction},
                          sim::mainQueueRunner(kUIThreadTimeoutSeconds));
    if (!server.start(*port)) {
        std::fprintf(stderr, "CorvaneApp: cannot listen on 127.0.0.1:%d\n", *port);
        return 1;
    }
    std::printf("%s\n", server.url().c_str());
    std::fflush(stdout);
    int result = 0;
    {
        AutoreleasePool pool;
        result =
            UIApplicationMain(argc, argv, "CorvaneAppApplication"_ns, "CorvaneAppApplication"_ns);
    }
    server.stop();
    return result;
}
