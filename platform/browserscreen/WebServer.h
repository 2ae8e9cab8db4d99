#pragma once
// The settings application's web server: it shows the panel to a browser on the same
// machine. It listens on 127.0.0.1 only and answers
//
//   GET  /              the page (web/index.html, with the session token filled in)
//   GET  /app.css, /app.js
//   GET  /api/state     what the panel shows now, as JSON (PanelState.h)
//   POST /api/action    one gesture (PanelAction.h, "Content-Type: application/json");
//                       answers the state after it
//
// Both API requests may carry "X-Corvane-Image-Scale: N" (1 to 4), the pixels a point of
// the browser's display, for the image of a drawn page; anything else there is 400.
//
// Every request passes the AccessGuard first (GuardedHttp.h); anything else is 404. Errors are
// JSON,
// {"error": "why"}, with a 4xx status (5xx only when the panel did not answer). The
// panel's objects live on the main thread: each request hands its work to the interface's
// thread and waits for it there, never touching an object itself.

#include "AccessGuard.h"
#include "GuardedHttp.h"
#include "PanelAction.h"

#include <nlohmann/json_fwd.hpp>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace sim {

// What the server shows and drives; both are called on the interface's thread.
struct PanelEndpoints {
    // `imageScale`: the pixels a point the page asked for, 0 when it did not.
    std::function<nlohmann::json(int imageScale)> state;
    // Nothing when the action was done, else why it could not be (what it points at is
    // not on screen).
    std::function<std::optional<std::string>(const PanelAction &)> apply;
};

// Runs a job on the interface's thread and answers whether it ran in time; a job that
// did not may still run later, so it must own everything it touches.
using UIThreadRunner = std::function<bool(std::function<void()> job)>;

class WebServer {
public:
    // `framedBy`: the origin of the device page that shows the panel in a frame, if any
    // (GuardedHttp.h); no other page may.
    WebServer(PanelEndpoints panel, UIThreadRunner runOnUIThread,
              std::optional<std::string> framedBy = std::nullopt);
    ~WebServer();
    WebServer(const WebServer &) = delete;
    WebServer &operator=(const WebServer &) = delete;

    // Binds 127.0.0.1:port (0: a free port the system chooses), makes the session token
    // and serves on a thread of its own. False when the port cannot be had.
    [[nodiscard]] bool start(int port);
    void stop();

    int port() const { return m_port; }
    // "http://127.0.0.1:PORT/?token=TOKEN", what the user opens.
    std::string url() const;

private:
    void route();

    PanelEndpoints m_panel;
    UIThreadRunner m_runOnUIThread;
    std::unique_ptr<httplib::Server> m_server;
    std::optional<AccessGuard> m_guard;
    FramePolicy m_framePolicy;
    std::thread m_thread;
    int m_port = 0;
};

// The runner of the application: the main queue, waiting at most `timeoutSeconds`.
UIThreadRunner mainQueueRunner(double timeoutSeconds);

} // namespace sim
