// A running device (`cvsim run`) under faults.

#include "DeviceTool.h"

#include "darwin/ServicesProtocol.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using e2e::awaitDump;
using nlohmann::json;

constexpr const char *kApply = "com.kestrelworks.corvane3.applySettings";

int launchesOf(const json &dump)
{
    return dump["springboard"]["launches"].get<int>();
}

pid_t springBoardOf(const json &dump)
{
    return dump["springboard"]["pid"].get<pid_t>();
}

std::string carrierInFile(const std::string &root)
{
    e2e::Result read = e2e::cvsim(root, {"defaults", "read", "CVStatusBar", "carrierString"});
    return read.status == 0 ? json::parse(read.out, nullptr, false).get<std::string>() : "";
}

// SpringBoard started again after `launches` and showing the carrier text the file holds.
json awaitRestartWithFileSettings(const std::string &root, int launches)
{
    return awaitDump(root, [&](const json &dump) {
        return launchesOf(dump) > launches && dump["statusBar"]["carrier"] == carrierInFile(root);
    });
}

TEST(DeviceFault, SpringBoardKilledMidUpdateOrMidFarewellStartsAgainWithTheSettingsOnDisk)
{
    std::string root = e2e::temporaryRoot("killed");
    e2e::Background device(root, {"run", "--ios", "9"});
    json first = awaitDump(root, [](const json &) { return true; });
    ASSERT_FALSE(first.is_null()) << "the device never answered";
    ASSERT_EQ(
        e2e::cvsim(root, {"defaults", "write", "CVStatusBar", "customCarrier", "true"}).status, 0);

    // The panel's edit cycle, over and over, while SpringBoard is killed under it.
    std::atomic<bool> writing{true};
    std::thread panel([&] {
        for (int update = 1; writing; ++update)
            e2e::cvsim(root, {"defaults", "write", "CVStatusBar", "carrierString",
                              "\"Update " + std::to_string(update) + "\""});
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    ASSERT_EQ(kill(springBoardOf(first), SIGKILL), 0);
    writing = false;
    panel.join();
    json afterUpdate = awaitRestartWithFileSettings(root, 1);
    ASSERT_FALSE(afterUpdate.is_null()) << "SpringBoard killed mid-update did not come back "
                                           "with the file's settings";
    EXPECT_EQ(carrierInFile(root).rfind("Update ", 0), 0u);

    // The farewell lasts 2.3 seconds after the home button's press; kill inside it.
    ASSERT_EQ(e2e::cvsim(root, {"defaults", "write", "CVStatusBar", "carrierString",
                                "\"Before the farewell\""})
                  .status,
              0);
    ASSERT_EQ(e2e::cvsim(root, {"ctl", "post", kApply}).status, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    ASSERT_EQ(kill(springBoardOf(afterUpdate), SIGKILL), 0);
    json afterFarewell = awaitRestartWithFileSettings(root, launchesOf(afterUpdate));
    ASSERT_FALSE(afterFarewell.is_null()) << "SpringBoard killed mid-farewell did not come back";
    EXPECT_EQ(afterFarewell["statusBar"]["carrier"], "Before the farewell");
    EXPECT_EQ(device.stop(), 0);
}

// The port socket files in the device root whose process (the name's "<pid>-") is gone.
std::vector<std::string> portFilesOfEndedProcesses(const std::string &root)
{
    std::vector<std::string> stale;
    for (const auto &entry : std::filesystem::directory_iterator(root + "/var/run/ports")) {
        std::string name = entry.path().filename();
        if (::kill(std::atoi(name.c_str()), 0) != 0 && errno == ESRCH)
            stale.push_back(name);
    }
    return stale;
}

// A SpringBoard that dies again and again right after its launch is not started forever,
// and no killed process's socket file stays behind.
TEST(DeviceFault, ASpringBoardKilledAgainAndAgainAtLaunchStopsTheDevice)
{
    std::string root = e2e::temporaryRoot("crashloop");
    e2e::Background device(root, {"run", "--ios", "9"});
    int launches = 0;
    for (int kill = 0; kill < 5; ++kill) {
        json dump = awaitDump(root, [&](const json &next) { return launchesOf(next) > launches; });
        ASSERT_FALSE(dump.is_null()) << "SpringBoard did not come back after kill " << kill;
        EXPECT_EQ(portFilesOfEndedProcesses(root), std::vector<std::string>{})
            << "after kill " << kill;
        launches = launchesOf(dump);
        ASSERT_EQ(::kill(springBoardOf(dump), SIGKILL), 0);
    }
    EXPECT_TRUE(awaitDump(
                    root, [](const json &) { return true; }, 3)
                    .is_null())
        << "the device still runs a SpringBoard";
    EXPECT_EQ(device.stop(), 1);
    EXPECT_TRUE(std::filesystem::is_empty(root + "/var/run/ports"));
}

struct Usage {
    int descriptors = 0;
    int threads = 0;
    long residentKiB = 0;
};

Usage usageOf(pid_t pid)
{
    Usage usage;
    std::error_code error;
    for (auto it =
             std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error))
        ++usage.descriptors;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Threads:", 0) == 0)
            usage.threads = std::atoi(line.c_str() + 8);
        else if (line.rfind("VmRSS:", 0) == 0)
            usage.residentKiB = std::atol(line.c_str() + 6);
    }
    return usage;
}

// The settings application: the child of cvsim that is not SpringBoard.
pid_t settingsAppOf(pid_t device, pid_t springBoard)
{
    for (const auto &entry : std::filesystem::directory_iterator("/proc")) {
        std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream stat(entry.path() / "stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        std::size_t close = text.rfind(')');
        if (close == std::string::npos)
            continue;
        pid_t parent = std::atoi(text.c_str() + close + 4); // ") S PPID"
        pid_t pid = std::atoi(name.c_str());
        if (parent == device && pid != springBoard)
            return pid;
    }
    return -1;
}

// Checks the bounds of a process's use and prints its figures.
void expectWithinBound(const Usage &start, const Usage &end, const char *process)
{
    std::printf("soak: %s fds %d->%d threads %d->%d RSS %ld->%ld KiB\n", process, start.descriptors,
                end.descriptors, start.threads, end.threads, start.residentKiB, end.residentKiB);
    EXPECT_LE(end.descriptors, start.descriptors + 4) << process << " descriptors";
    EXPECT_LE(end.threads, start.threads + 2) << process << " threads";
    EXPECT_LE(end.residentKiB, start.residentKiB + 16 * 1024) << process << " resident memory";
}

// 200 cycles take about 15 minutes; CI runs fewer (CV_RESPRING_CYCLES sets the count).
int respringCycles()
{
    const char *count = std::getenv("CV_RESPRING_CYCLES");
    return count ? std::atoi(count) : 20;
}

TEST(DeviceFault, RespringSoakKeepsTheDeviceWithinBoundsAndEveryChangeInTheFile)
{
    std::string root = e2e::temporaryRoot("soak");
    e2e::Background device(root, {"run", "--ios", "9"});
    json dump = awaitDump(root, [](const json &) { return true; });
    ASSERT_FALSE(dump.is_null()) << "the device never answered";
    pid_t app = settingsAppOf(device.pid(), springBoardOf(dump));
    ASSERT_GT(app, 0) << "no settings application beside SpringBoard";

    Usage deviceStart, appStart, springBoardStart;
    const int cycles = respringCycles();
    const int warmUp = 2; // the first resprings fill the caches that stay
    auto began = std::chrono::steady_clock::now();
    for (int cycle = 1; cycle <= cycles + warmUp; ++cycle) {
        if (cycle == warmUp + 1) {
            deviceStart = usageOf(device.pid());
            appStart = usageOf(app);
            springBoardStart = usageOf(springBoardOf(dump));
            began = std::chrono::steady_clock::now();
        }
        std::string carrier = "\"Cycle " + std::to_string(cycle) + "\"";
        ASSERT_EQ(
            e2e::cvsim(root, {"ctl", "defaults", "write", "CVStatusBar", "carrierString", carrier})
                .status,
            0);
        ASSERT_EQ(e2e::cvsim(root, {"ctl", "post", kApply}).status, 0);
        int launches = launchesOf(dump);
        dump = awaitDump(root, [&](const json &next) { return launchesOf(next) > launches; });
        ASSERT_FALSE(dump.is_null()) << "cycle " << cycle << ": SpringBoard did not come back";
        ASSERT_EQ(carrierInFile(root), "Cycle " + std::to_string(cycle)) << "a change was lost";
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    Usage deviceEnd = usageOf(device.pid()), appEnd = usageOf(app),
          springBoardEnd = usageOf(springBoardOf(dump));
    expectWithinBound(deviceStart, deviceEnd, "cvsim (with the device services)");
    expectWithinBound(appStart, appEnd, "the settings application");
    expectWithinBound(springBoardStart, springBoardEnd, "SpringBoard (a new process each cycle)");
    std::printf("soak: %d resprings in %.0f s\n", cycles, seconds);
    EXPECT_EQ(device.stop(), 0);
}

// Whether a process of another user (nobody) that connects to the socket at `path` and
// sends `request` gets any answer: 1 yes, 0 no (refused or closed), 77 when this process
// cannot become another user.
int anotherUserIsAnswered(const std::string &path, const std::string &request)
{
    pid_t child = fork();
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            _exit(77);
        int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
        if (connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
            send(fd, request.data(), request.size(), MSG_NOSIGNAL) < 0)
            _exit(0);
        pollfd readable{fd, POLLIN, 0};
        char answer[65536];
        bool answered = poll(&readable, 1, 5000) > 0 && recv(fd, answer, sizeof answer, 0) > 0;
        _exit(answered ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

unsigned modeOf(const std::string &path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 07777;
}

TEST(DeviceFault, TheDevicesRootAndSocketsAreTheOwnersAlone)
{
    std::string root = e2e::temporaryRoot("modes");
    e2e::Background device(root, {"run", "--ios", "9"});
    ASSERT_FALSE(awaitDump(root, [](const json &) { return true; }).is_null());
    std::string servicesPath = root + "/var/run/services";
    std::string control = root + "/var/run/corvane/springboard.control";
    // Nobody else may even reach the sockets: their folder is closed to group and others.
    EXPECT_EQ(modeOf(root) & 077, 0u) << "the device root is open to others";
    EXPECT_EQ(modeOf(root + "/var/run") & 077, 0u) << "the run folder is open to others";
    for (const std::string &socketPath : {servicesPath, control})
        EXPECT_EQ(modeOf(socketPath) & 022, 0u) << socketPath << " is writable by others";

    if (geteuid() != 0) {
        EXPECT_EQ(device.stop(), 0);
        GTEST_SKIP() << "only root can run a process as another user here";
    }
    // Root passes any folder mode; open them so that only the services' own check of the
    // peer's user stands between another user and an answer.
    for (const std::string &path :
         {root, root + "/var", root + "/var/run", root + "/var/run/corvane", servicesPath, control})
        ASSERT_EQ(chmod(path.c_str(), 0777), 0);
    sim::ServiceMessage lookUp = sim::makeServiceMessage(sim::ServiceKind::BootstrapLookUp);
    ASSERT_TRUE(sim::setServiceName(lookUp, "com.kestrelworks.corvane3.reload"));
    std::string lookUpBytes(reinterpret_cast<const char *>(&lookUp), sizeof lookUp);
    int services = anotherUserIsAnswered(servicesPath, lookUpBytes);
    if (services == 77)
        GTEST_SKIP() << "cannot change to another user";
    EXPECT_EQ(services, 0) << "the device services answered another user";
    EXPECT_EQ(anotherUserIsAnswered(control, R"(["dump"])"), 0)
        << "the control channel answered another user";
    EXPECT_EQ(e2e::cvsim(root, {"ctl", "dump"}).status, 0) << "the owner is no longer served";
    EXPECT_EQ(device.stop(), 0);
}

} // namespace
