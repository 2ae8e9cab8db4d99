#include "browserscreen/BrowserScreen.h"

#include "PanelDriver.h"
#include "PanelState.h"
#include "WebServer.h"

#include "foundation/DeviceRoot.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace sim {

namespace {

// How long a request waits for the main thread before it is answered 503.
constexpr double kUIThreadTimeoutSeconds = 10;

std::unique_ptr<WebServer> g_server;

// A port number of an option: 0 to 65535.
std::optional<int> portNumber(std::string_view text)
{
    int port = -1;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || end != text.data() + text.size() || port < 0 || port > 65535)
        return std::nullopt;
    return port;
}

struct ScreenOptions {
    int port = 0; // 0 lets the system choose
    // The device page on 127.0.0.1 that shows the application in a frame.
    std::optional<int> framedByPort;
};

// "--port N" and "--framed-by PORT", each at most once; nothing for anything else.
std::optional<ScreenOptions> optionsFromArguments(int argc, char **argv)
{
    ScreenOptions options;
    bool portSeen = false;
    for (int index = 1; index < argc; index += 2) {
        std::string_view option = argv[index];
        std::optional<int> value = index + 1 < argc ? portNumber(argv[index + 1]) : std::nullopt;
        if (!value)
            return std::nullopt;
        if (option == "--port" && !portSeen) {
            options.port = *value;
            portSeen = true;
        } else if (option == "--framed-by" && !options.framedByPort && *value != 0) {
            options.framedByPort = *value;
        } else {
            return std::nullopt;
        }
    }
    return options;
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
    std::optional<ScreenOptions> options = optionsFromArguments(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: %s [--port N] [--framed-by PORT]\n", name.c_str());
        return 2;
    }
    if (deviceRoot().empty()) {
        std::fprintf(stderr,
                     "%s: no device to run on: `cvsim run` starts the application, or set "
                     "CORVANE_DEVICE_ROOT\n",
                     name.c_str());
        return 1;
    }
    std::optional<std::string> framedBy;
    if (options->framedByPort)
        framedBy = "http://127.0.0.1:" + std::to_string(*options->framedByPort);
    auto server = std::make_unique<WebServer>(PanelEndpoints{panelState, applyPanelAction},
                                              mainQueueRunner(kUIThreadTimeoutSeconds), framedBy);
    if (!server->start(options->port)) {
        std::fprintf(stderr, "%s: cannot listen on 127.0.0.1:%d\n", name.c_str(), options->port);
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
