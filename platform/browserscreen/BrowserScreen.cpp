#include "browserscreen/BrowserScreen.h"

#include "PanelDriver.h"
#include "PanelState.h"
#include "WebServer.h"

#include "foundation/DeviceRoot.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace sim {

namespace {

// How long a request waits for the main thread before it is answered 503.
constexpr double kUIThreadTimeoutSeconds = 10;

std::unique_ptr<WebServer> g_server;

// The port of "--port N" (0 to 65535; 0 lets the system choose), 0 without the option,
// nothing for anything else.
std::optional<int> portFromArguments(int argc, char **argv)
{
    if (argc <= 1)
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

std::string programName(int argc, char **argv)
{
    if (argc < 1 || !argv[0])
        return "application";
    std::string_view path = argv[0];
    return std::string(path.substr(path.rfind('/') + 1));
}

} // namespace

std::optional<int> attachBrowserScreen(int argc, char **argv)
{
    std::string name = programName(argc, argv);
    std::optional<int> port = portFromArguments(argc, argv);
    if (!port) {
        std::fprintf(stderr, "usage: %s [--port N]\n", name.c_str());
        return 2;
    }
    if (deviceRoot().empty()) {
        std::fprintf(stderr,
                     "%s: no device to run on: `cvsim run` starts the application, or set "
                     "CORVANE_DEVICE_ROOT\n",
                     name.c_str());
        return 1;
    }
    auto server = std::make_unique<WebServer>(PanelEndpoints{panelState, applyPanelAction},
                                              mainQueueRunner(kUIThreadTimeoutSeconds));
    if (!server->start(*port)) {
        std::fprintf(stderr, "%s: cannot listen on 127.0.0.1:%d\n", name.c_str(), *port);
        return 1;
    }
    std::printf("%s\n", server->url().c_str());
    std::fflush(stdout);
    g_server = std::move(server);
    return std::nullopt;
}

void detachBrowserScreen()
{
    if (g_server)
        g_server->stop();
    g_server.reset();
}

} // namespace sim
