#include "DeviceTool.h"

#include "foundation/NSData.h"
#include "uikit/UIImage.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace e2e {

namespace {

std::vector<char *> commandLine(const std::string &root, const std::vector<std::string> &arguments)
{
    static std::vector<std::string> storage;
    storage = {CV_CVSIM, "--root", root};
    storage.insert(storage.end(), arguments.begin(), arguments.end());
    std::vector<char *> line;
    for (std::string &word : storage)
        line.push_back(word.data());
    line.push_back(nullptr);
    return line;
}

pid_t spawn(const std::string &root, const std::vector<std::string> &arguments, int out, int err,
            int in = -1)
{
    std::vector<char *> line = commandLine(root, arguments);
    pid_t child = fork();
    if (child == 0) {
        if (in >= 0)
            dup2(in, STDIN_FILENO);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        execv(line[0], line.data());
        _exit(127);
    }
    return child;
}

int millisecondsUntil(std::chrono::steady_clock::time_point deadline)
{
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                deadline - std::chrono::steady_clock::now())
                                .count());
}

// Reads both streams until each has ended or the deadline passes, whichever comes first,
// so that a child writing much to one never waits for the other to be read.
void drainBoth(int out, std::string &outText, int err, std::string &errText,
               std::chrono::steady_clock::time_point deadline)
{
    pollfd streams[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
    std::string *texts[2] = {&outText, &errText};
    char buffer[4096];
    while (streams[0].fd >= 0 || streams[1].fd >= 0) {
        int left = millisecondsUntil(deadline);
        if (left <= 0 || poll(streams, 2, left) <= 0)
            return;
        for (int i = 0; i < 2; ++i) {
            if (streams[i].fd < 0 || !streams[i].revents)
                continue;
            ssize_t count = read(streams[i].fd, buffer, sizeof buffer);
            if (count <= 0)
                streams[i].fd = -1; // poll skips negative descriptors
            else
                texts[i]->append(buffer, static_cast<size_t>(count));
        }
    }
}

int waitWithTimeout(pid_t child, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        usleep(10000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return -1;
}

void collectViews(const nlohmann::json &view, const ViewMatch &matches,
                  std::vector<nlohmann::json> &found)
{
    if (matches(view))
        found.push_back(view);
    for (const nlohmann::json &child : view.value("children", nlohmann::json::array()))
        collectViews(child, matches, found);
}

} // namespace

std::string temporaryRoot(const std::string &name)
{
    std::string root = testing::TempDir() + "cvsim-" + name + "-" + std::to_string(getpid());
    std::string command = "rm -rf '" + root + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return root;
}

nlohmann::json deviceDump(const std::string &root)
{
    Result result = cvsim(root, {"ctl", "dump"});
    if (result.status != 0)
        return nullptr;
    return nlohmann::json::parse(result.out, nullptr, false);
}

Result cvsim(const std::string &root, const std::vector<std::string> &arguments,
             const std::string &input, int timeoutSeconds)
{
    int in[2], out[2], err[2];
    Result result;
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
        return result;
    pid_t child = spawn(root, arguments, out[1], err[1], in[0]);
    close(in[0]);
    close(out[1]);
    close(err[1]);
    // Scripts are short: the whole input fits the pipe, so writing it never blocks. A
    // command that ends without reading it must not take the test with it.
    signal(SIGPIPE, SIG_IGN);
    if (!input.empty() && write(in[1], input.data(), input.size()) < 0)
        ADD_FAILURE() << "cannot hand cvsim its input";
    close(in[1]);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    drainBoth(out[0], result.out, err[0], result.err, deadline);
    close(out[0]);
    close(err[0]);
    result.status = waitWithTimeout(child, timeoutSeconds * 1000);
    return result;
}

std::string writeTemporaryFile(const std::string &name, const std::string &text)
{
    std::string path = testing::TempDir() + std::to_string(getpid()) + "-" + name;
    std::ofstream(path) << text;
    return path;
}

std::string fileBytes(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> pixelsOfPNG(const std::string &path)
{
    AutoreleasePool pool;
    std::string bytes = fileBytes(path);
    UIImage *image = UIImage::imageWithData(NSData::dataWithBytes(bytes.data(), bytes.size()));
    return image ? sim::pixelsOf(image->CGImage()) : std::vector<std::uint8_t>();
}

std::vector<nlohmann::json> scriptDumps(const std::string &script,
                                        const std::vector<std::string> &arguments)
{
    std::vector<std::string> command = {"script", "-"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    Result result = cvsim(temporaryRoot("script"), command, script);
    EXPECT_EQ(result.status, 0) << result.err;
    return jsonLines(result.out);
}

std::vector<nlohmann::json> jsonLines(const std::string &text)
{
    std::vector<nlohmann::json> documents;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        nlohmann::json document = nlohmann::json::parse(line, nullptr, false);
        EXPECT_FALSE(document.is_discarded()) << "not JSON: " << line;
        documents.push_back(document);
    }
    return documents;
}

bool containsLine(const nlohmann::json &lines, const std::string &line)
{
    return lines.is_array() && std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::vector<nlohmann::json> viewsIn(const nlohmann::json &dump, const ViewMatch &matches)
{
    std::vector<nlohmann::json> found;
    for (const nlohmann::json &window : dump.value("windows", nlohmann::json::array()))
        collectViews(window, matches, found);
    return found;
}

nlohmann::json firstViewIn(const nlohmann::json &dump, const ViewMatch &matches)
{
    std::vector<nlohmann::json> found = viewsIn(dump, matches);
    return found.empty() ? nlohmann::json() : found.front();
}

ViewMatch ofClass(const std::string &name)
{
    return [name](const nlohmann::json &view) { return view.value("class", "") == name; };
}

Background::Background(const std::string &root, const std::vector<std::string> &arguments)
{
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return;
    m_pid = spawn(root, arguments, out[1], STDERR_FILENO);
    close(out[1]);
    m_out = out[0];
}

Background::~Background()
{
    stop();
}

std::string Background::readLine(int timeoutMs)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        size_t end = m_buffer.find('\n');
        if (end != std::string::npos) {
            std::string line = m_buffer.substr(0, end);
            m_buffer.erase(0, end + 1);
            return line;
        }
        char chunk[4096];
        int left = millisecondsUntil(deadline);
        pollfd waiting{m_out, POLLIN, 0};
        if (left <= 0 || poll(&waiting, 1, left) <= 0)
            return "";
        ssize_t count = read(m_out, chunk, sizeof chunk);
        if (count <= 0)
            return "";
        m_buffer.append(chunk, static_cast<size_t>(count));
    }
}

int Background::stop()
{
    if (m_pid <= 0)
        return -1;
    kill(m_pid, SIGTERM);
    int status = waitWithTimeout(m_pid, 10000);
    m_pid = -1;
    close(m_out);
    return status;
}

} // namespace e2e
