#pragma once
// The device page: what `cvsim run` prints and a user opens first. The phone's screen,
// live, on the left; the settings application (its own page, served by CorvaneApp) in a
// frame on the right; buttons, previews and a status line. A web server of cvsim on
// 127.0.0.1 answers
//
//   GET  /               the page (web/index.html, with the session token filled in)
//   GET  /device.css, /device.js
//   GET  /api/status     {"generation", "cf", "launches", "pid", "settings", "log"}
//   GET  /api/frames     Server-Sent Events: one "frame" event per new frame of the
//                        screen, {"number", "width", "height", "scale", "jpeg"} (base64)
//   POST /api/command    {"words": [...]}: one device command, as `cvsim ctl` sends it
//
// The same guard as the settings application's (GuardedHttp.h, AccessGuard.h): the
// session token, this server's own Host and origin. The page drives the phone only
// through the device commands of the control channel, and only those a finger or a
// button could give (no file paths, no settings written behind the panel's back); it
// adds no second way of driving the phone. Frames come from SpringBoard through the
// frame channel (FrameRelay.h); the status from cvsim's supervision of SpringBoard and
// its console (ConsoleTail.h).

#include "AccessGuard.h"
#include "ConsoleTail.h"
#include "FrameRelay.h"
#include "GuardedHttp.h"

#include <nlohmann/json_fwd.hpp>

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace sim {

// Whether the page may send these words, and why not: nothing when it may.
std::optional<std::string> refusePageCommand(const std::vector<std::string> &words);

class DevicePage {
public:
    // The phone the device runs, for the status line.
    DevicePage(double coreFoundationVersion, const ConsoleTail &console);
    ~DevicePage();
    DevicePage(const DevicePage &) = delete;
    DevicePage &operator=(const DevicePage &) = delete;

    // Listens for frames at `frameSocket` and binds 127.0.0.1:port (0: a free port).
    // False, after a message on standard error, when either cannot be had.
    [[nodiscard]] bool start(int port, const std::string &frameSocket);
    // Answers requests from now on; what the page frames is settled by then.
    void serve();
    void stop();

    int port() const { return m_port; }
    // "http://127.0.0.1:PORT/?token=TOKEN"
    std::string url() const;
    // "http://127.0.0.1:PORT", the origin the settings application lets frame it.
    std::string origin() const;

    // The settings application's page, which the device page frames; before serve().
    void setSettingsUrl(const std::string &url);
    // What the status line shows; any thread.
    void springBoardLaunched(int launches, pid_t pid);
    void springBoardEnded();

    const FrameRelay &frames() const { return m_frames; }

private:
    void route();
    nlohmann::json status() const;

    double m_coreFoundationVersion;
    const ConsoleTail &m_console;
    FrameRelay m_frames;
    std::unique_ptr<httplib::Server> m_server;
    std::optional<AccessGuard> m_guard;
    FramePolicy m_framePolicy;
    std::thread m_thread;
    int m_port = 0;

    mutable std::mutex m_mutex;
    std::optional<std::string> m_settingsUrl;
    int m_launches = 0;
    pid_t m_pid = -1;
};

} // namespace sim
