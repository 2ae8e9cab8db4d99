#pragma once
// Running cvsim from a test, to completion or in the background with each wait bounded;
// and the files and documents that tests hand to cvsim or get from it.

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace e2e {

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

// A fresh device root under the test's temporary directory.
std::string temporaryRoot(const std::string &name);

// Runs `cvsim --root ROOT ARGUMENTS…` to its end (at most `timeoutSeconds`), with `input`
// on its standard input.
Result cvsim(const std::string &root, const std::vector<std::string> &arguments,
             const std::string &input = "", int timeoutSeconds = 60);

// Writes `text` to a new file under the test's temporary directory and answers its path;
// the bytes of a file ("" when it cannot be read).
std::string writeTemporaryFile(const std::string &name, const std::string &text);
std::string fileBytes(const std::string &path);
// The RGBA pixels of a PNG file; none when it is not one.
std::vector<std::uint8_t> pixelsOfPNG(const std::string &path);

// The JSON documents of a text with one document per line (a script's dumps); a line that
// is not JSON fails the test.
std::vector<nlohmann::json> jsonLines(const std::string &text);

// Runs `script` as `cvsim script - ARGUMENTS…` on a fresh device root and answers its
// dumps; the script must succeed.
std::vector<nlohmann::json> scriptDumps(const std::string &script,
                                        const std::vector<std::string> &arguments = {});

// Whether any of the strings of a JSON array equals `line`.
bool containsLine(const nlohmann::json &lines, const std::string &line);

// Whether a view of a dump is the one looked for.
using ViewMatch = std::function<bool(const nlohmann::json &view)>;

// Every view of the dump's windows that `matches` takes, in tree order; the first of them,
// or null; and the match of a view by its class.
std::vector<nlohmann::json> viewsIn(const nlohmann::json &dump, const ViewMatch &matches);
nlohmann::json firstViewIn(const nlohmann::json &dump, const ViewMatch &matches);
ViewMatch ofClass(const std::string &name);

// The next dump of the device running on `root` (`cvsim ctl dump`); null while no device
// answers.
nlohmann::json deviceDump(const std::string &root);

// Whether `done` holds within `seconds`, asked again every 50 ms.
template <class Done> bool awaitCondition(Done done, int seconds = 30)
{
    for (auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds); !done();
         std::this_thread::sleep_for(std::chrono::milliseconds(50)))
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
    return true;
}

// Dumps until `accept` takes one (at most `seconds`), and answers that dump, or null.
template <class Accept>
nlohmann::json awaitDump(const std::string &root, Accept accept, int seconds = 30)
{
    nlohmann::json dump;
    auto accepted = [&] { return !(dump = deviceDump(root)).is_null() && accept(dump); };
    return awaitCondition(accepted, seconds) ? dump : nlohmann::json();
}

// A cvsim command that keeps running; stopped with SIGTERM when it goes away.
class Background {
public:
    Background(const std::string &root, const std::vector<std::string> &arguments);
    ~Background();
    // The next line of standard output, or "" after `timeoutMs` without one.
    std::string readLine(int timeoutMs = 10000);
    // Sends SIGTERM and answers the exit status.
    int stop();
    pid_t pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    std::string m_buffer;
};

} // namespace e2e
