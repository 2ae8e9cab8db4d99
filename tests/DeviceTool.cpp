#include "DeviceTool.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <poll.h>
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

pid_t spawn(const std::string &root, const std::vector<std::string> &arguments, int out, int err)
{
    std::vector<char *> line = commandLine(root, arguments);
    pid_t child = fork();
    if (child == 0) {
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        execv(line[0], line.data());
        _exit(127);
    }
    return child;
}

// Reads what is there within the deadline; false when the deadline passed first.
bool drain(int fd, std::string &into, std::chrono::steady_clock::time_point deadline)
{
    char buffer[4096];
    for (;;) {
        int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        deadline - std::chrono::steady_clock::now())
                                        .count());
        pollfd waiting{fd, POLLIN, 0};
        if (left <= 0 || poll(&waiting, 1, left) <= 0)
            return false;
        ssize_t count = read(fd, buffer, sizeof buffer);
        if (count <= 0)
            return true;
        into.append(buffer, static_cast<size_t>(count));
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

} // namespace

std::string temporaryRoot(const std::string &name)
{
    std::string root = testing::TempDir() + "cvsim-" + name + "-" + std::to_string(getpid());
    std::string command = "rm -rf '" + root + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return root;
}

Result cvsim(const std::string &root, const std::vector<std::string> &arguments)
{
    int out[2], err[2];
    Result result;
    if (pipe(out) != 0 || pipe(err) != 0)
        return result;
    pid_t child = spawn(root, arguments, out[1], err[1]);
    close(out[1]);
    close(err[1]);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    drain(out[0], result.out, deadline);
    drain(err[0], result.err, deadline);
    close(out[0]);
    close(err[0]);
    result.status = waitWithTimeout(child, 60000);
    return result;
}

Background::Background(const std::string &root, const std::vector<std::string> &arguments)
{
    int out[2];
    if (pipe(out) != 0)
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
        int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        deadline - std::chrono::steady_clock::now())
                                        .count());
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
