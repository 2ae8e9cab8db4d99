#include "Processes.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/signalfd.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char **environ;

namespace sim {

namespace {

constexpr int kPollIntervalMs = 5;

std::vector<std::string> childEnvironment(const EnvironmentChanges &changes)
{
    std::vector<std::string> environment;
    for (char **entry = environ; *entry; ++entry) {
        std::string variable = *entry;
        std::string name = variable.substr(0, variable.find('='));
        if (!changes.count(name))
            environment.push_back(std::move(variable));
    }
    for (const auto &[name, value] : changes)
        if (value)
            environment.push_back(name + "=" + *value);
    return environment;
}

std::vector<char *> pointersTo(std::vector<std::string> &words)
{
    std::vector<char *> pointers;
    for (std::string &word : words)
        pointers.push_back(word.data());
    pointers.push_back(nullptr);
    return pointers;
}

// The child starts with nothing blocked and the usual dispositions for the signals a
// parent of the device waits for or ignores.
void resetSignals(posix_spawnattr_t &attributes)
{
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (int signal : {SIGINT, SIGTERM, SIGCHLD, SIGPIPE, SIGHUP})
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
}

int millisecondsUntil(std::chrono::steady_clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<long>(0, left.count()));
}

void sleepMilliseconds(int milliseconds)
{
    timespec pause{0, milliseconds * 1000000L};
    nanosleep(&pause, nullptr);
}

} // namespace

int exitStatusOf(int waitStatus)
{
    if (WIFEXITED(waitStatus))
        return WEXITSTATUS(waitStatus);
    return 128 + WTERMSIG(waitStatus);
}

pid_t spawnChild(const std::string &program, const std::vector<std::string> &arguments,
                 const EnvironmentChanges &changes, int standardError, int standardOutput)
{
    std::vector<std::string> argumentWords = {program};
    argumentWords.insert(argumentWords.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environmentWords = childEnvironment(changes);
    std::vector<char *> argv = pointersTo(argumentWords);
    std::vector<char *> envp = pointersTo(environmentWords);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    resetSignals(attributes);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    if (standardError >= 0)
        posix_spawn_file_actions_adddup2(&files, standardError, STDERR_FILENO);
    if (standardOutput >= 0)
        posix_spawn_file_actions_adddup2(&files, standardOutput, STDOUT_FILENO);
    pid_t child = -1;
    int error = posix_spawn(&child, program.c_str(), &files, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        errno = error;
        return -1;
    }
    return child;
}

std::optional<int> waitForChild(pid_t child, int timeoutMs)
{
    for (int waited = 0;; waited += kPollIntervalMs) {
        int status = 0;
        pid_t ended = waitpid(child, &status, WNOHANG);
        if (ended == child)
            return exitStatusOf(status);
        if (ended < 0 && errno != EINTR)
            return -1;
        if (waited >= timeoutMs)
            return std::nullopt;
        sleepMilliseconds(kPollIntervalMs);
    }
}

ChildOutcome runChild(const std::string &program, const std::vector<std::string> &arguments,
                      const EnvironmentChanges &changes, int timeoutMs)
{
    ChildOutcome outcome;
    int errors[2];
    if (pipe2(errors, O_CLOEXEC) != 0)
        return outcome;
    pid_t child = spawnChild(program, arguments, changes, errors[1]);
    close(errors[1]);
    if (child < 0) {
        outcome.standardError = std::string("cannot start ") + program + ": " + strerror(errno);
        close(errors[0]);
        return outcome;
    }
    // Read while the child runs, so that it never waits on a full pipe.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    char buffer[4096];
    for (;;) {
        pollfd readable{errors[0], POLLIN, 0};
        if (poll(&readable, 1, millisecondsUntil(deadline)) <= 0)
            break;
        ssize_t count = read(errors[0], buffer, sizeof buffer);
        if (count <= 0)
            break;
        outcome.standardError.append(buffer, static_cast<std::size_t>(count));
    }
    close(errors[0]);
    std::optional<int> status = waitForChild(child, millisecondsUntil(deadline));
    outcome.status = status ? *status : endChild(child, 0);
    return outcome;
}

std::optional<std::string> readLineWithin(int fd, int timeoutMs)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string line;
    for (;;) {
        pollfd readable{fd, POLLIN, 0};
        int ready = poll(&readable, 1, millisecondsUntil(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        char byte = 0;
        if (ready <= 0 || read(fd, &byte, 1) != 1)
            return std::nullopt;
        if (byte == '\n')
            return line;
        line += byte;
    }
}

int terminationSignalDescriptor()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    return signalfd(-1, &signals, SFD_CLOEXEC);
}

int endChild(pid_t child, int graceMs)
{
    kill(child, SIGTERM);
    if (std::optional<int> status = waitForChild(child, graceMs))
        return *status;
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    return exitStatusOf(status);
}

} // namespace sim
