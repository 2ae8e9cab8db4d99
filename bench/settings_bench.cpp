// The settings core's costs as the user meets them:
//
// - reading and writing the whole settings file (CVLoadSettings then CVSaveSettings), what
//   SpringBoard pays at every start and the panel at every change;
// - the panel's edit cycle for one change (load of a one-entry dictionary, CVSaveSettings,
//   CVSendSectionUpdate), with its 95th percentile, since the user feels the slow ones;
// - the latency of a live update from CVSendSectionUpdate in this process to the
//   changeCallback in a SpringBoard process, next to a raw Unix-socket one-way trip
//   between two processes measured in the same run: the floor any message between
//   processes stands on.
//
// Latencies are taken on CLOCK_MONOTONIC, which every process of the machine shares: the
// sender notes the time before sending, the receiver the time its callback (or its read)
// ran, and hands it back through a pipe.

#include "darwin/TemporaryDevice.h"
#include "foundation/DeviceRoot.h"
#include "foundation/NSBundle.h"
#include "foundation/RunLoop.h"
#include "settings-core/CVSettings.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

double monotonicSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double percentile95(std::vector<double> samples)
{
    if (samples.empty())
        return 0;
    auto rank = samples.begin() + static_cast<std::ptrdiff_t>(samples.size() * 95 / 100);
    std::nth_element(samples.begin(), rank, samples.end());
    return *rank;
}

void reportPercentile(benchmark::State &state, const std::vector<double> &samples)
{
    state.counters["p95_us"] = percentile95(samples) * 1e6;
}

// The stamps that the other processes send back: one double per event, written to a pipe.
struct StampPipe {
    int read = -1;
    int write = -1;

    bool open()
    {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            return false;
        read = fds[0];
        write = fds[1];
        return fcntl(write, F_SETFL, O_NONBLOCK) == 0; // never block a receiver on a full pipe
    }

    // Forgets stamps of events nobody waited for.
    void drain() const
    {
        pollfd entry{read, POLLIN, 0};
        double stale;
        while (poll(&entry, 1, 0) == 1 && ::read(read, &stale, sizeof(stale)) == sizeof(stale))
            entry.revents = 0;
    }

    // The next stamp, or a negative value when none came within a second.
    double next() const
    {
        pollfd entry{read, POLLIN, 0};
        double stamp = -1;
        if (poll(&entry, 1, 1000) == 1 && ::read(read, &stamp, sizeof(stamp)) != sizeof(stamp))
            stamp = -1;
        return stamp;
    }
};

StampPipe g_springBoardStamps;
StampPipe g_socketStamps;
int g_socketToReader = -1;

// The two ends of the pipe whose closing by this process ends the other processes.
int g_lifeline[2] = {-1, -1};

// Where the SpringBoard process finds its pipe ends, and how it is told what it is.
constexpr int kStampDescriptor = 100;
constexpr int kLifelineDescriptor = 101;
constexpr const char *kSpringBoardArgument = "--as-springboard";

void stampIconsUpdate()
{
    double now = monotonicSeconds();
    (void)!write(kStampDescriptor, &now, sizeof(now));
}

// The SpringBoard process: stamps every live update of the icons section until this
// process goes away.
int runAsSpringBoard()
{
    AutoreleasePool pool;
    sim::setMainBundleIdentifier("com.apple.springboard");
    CVLoadSettings();
    gCVIcons.changeCallback = stampIconsUpdate;
    sim::RunLoop::main().addFileDescriptor(kLifelineDescriptor, [] { _exit(0); });
    sim::RunLoop::main().run();
    return 0;
}

// Runs this binary afresh as SpringBoard: the device services run on a thread of this
// process, and a child that went on from the fork could find one of that thread's locks
// held forever. Between fork and exec only async-signal-safe calls.
pid_t startSpringBoard()
{
    pid_t child = fork();
    if (child != 0)
        return child;
    dup2(g_springBoardStamps.write, kStampDescriptor);
    dup2(g_lifeline[0], kLifelineDescriptor);
    execl("/proc/self/exe", "settings_bench", kSpringBoardArgument, nullptr);
    _exit(127);
}

// A process that stamps every packet it reads from its end of a Unix socket pair.
pid_t startSocketReader(const int (&sockets)[2])
{
    pid_t child = fork();
    if (child != 0)
        return child;
    close(g_lifeline[1]);
    close(sockets[0]);
    int socket = sockets[1];
    char packet[64];
    pollfd entries[2] = {{socket, POLLIN, 0}, {g_lifeline[0], POLLIN, 0}};
    while (poll(entries, 2, -1) > 0 && !(entries[1].revents & (POLLIN | POLLHUP))) {
        if (read(socket, packet, sizeof(packet)) <= 0)
            break;
        double now = monotonicSeconds();
        (void)!write(g_socketStamps.write, &now, sizeof(now));
    }
    _exit(0);
}

void BM_LoadAndSaveFullFile(benchmark::State &state)
{
    for (auto _ : state) {
        CVLoadSettings();
        CVSaveSettings();
    }
}
BENCHMARK(BM_LoadAndSaveFullFile)->Unit(benchmark::kMillisecond);

void BM_PanelEditCycle(benchmark::State &state)
{
    AutoreleasePool pool;
    std::vector<double> samples;
    long long columns = 0;
    for (auto _ : state) {
        AutoreleasePool iteration;
        NSDictionary *change = NSDictionary::dictionaryWithObjectsForKeys(
            {{"iconColumns"_ns, NSNumber::numberWithLongLong(3 + columns++ % 4)}});
        double start = monotonicSeconds();
        gCVIcons.pages.load(change);
        CVSaveSettings();
        CVSendSectionUpdate(CVSectionIDIcons,
                            NSDictionary::dictionaryWithObjectsForKeys({{"pages"_ns, change}}));
        samples.push_back(monotonicSeconds() - start);
    }
    reportPercentile(state, samples);
    g_springBoardStamps.drain();
}
BENCHMARK(BM_PanelEditCycle)->Unit(benchmark::kMillisecond);

void BM_LiveUpdateToChangeCallback(benchmark::State &state)
{
    AutoreleasePool pool;
    NSDictionary *change = NSDictionary::dictionaryWithObjectsForKeys(
        {{"hideBadges"_ns, NSNumber::numberWithBool(true)}});
    std::vector<double> samples;
    g_springBoardStamps.drain();
    for (auto _ : state) {
        double sent = monotonicSeconds();
        CVSendSectionUpdate(CVSectionIDIcons, change);
        double received = g_springBoardStamps.next();
        if (received < 0) {
            state.SkipWithError("the SpringBoard process did not answer");
            break;
        }
        state.SetIterationTime(received - sent);
        samples.push_back(received - sent);
    }
    reportPercentile(state, samples);
}
BENCHMARK(BM_LiveUpdateToChangeCallback)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_UnixSocketOneWayTrip(benchmark::State &state)
{
    const char packet[40] = {};
    std::vector<double> samples;
    g_socketStamps.drain();
    for (auto _ : state) {
        double sent = monotonicSeconds();
        if (write(g_socketToReader, packet, sizeof(packet)) != sizeof(packet)) {
            state.SkipWithError("the socket did not take the packet");
            break;
        }
        double received = g_socketStamps.next();
        if (received < 0) {
            state.SkipWithError("the reading process did not answer");
            break;
        }
        state.SetIterationTime(received - sent);
        samples.push_back(received - sent);
    }
    reportPercentile(state, samples);
}
BENCHMARK(BM_UnixSocketOneWayTrip)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], kSpringBoardArgument) == 0)
        return runAsSpringBoard();
    benchmark::Initialize(&argc, argv);
    sim::TemporaryDevice device;
    if (!device.ready() || !sim::makeDirectories(sim::hostPath("/var/mobile/Library/Preferences")))
        return 1;
    AutoreleasePool pool;
    CVLoadSettings();
    CVSaveSettings(); // a full settings file, every key of every section

    int sockets[2];
    if (!g_springBoardStamps.open() || !g_socketStamps.open() ||
        pipe2(g_lifeline, O_CLOEXEC) != 0 ||
        socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, sockets) != 0)
        return 1;
    pid_t children[] = {startSpringBoard(), startSocketReader(sockets)};
    g_socketToReader = sockets[0];
    // Let SpringBoard register its service before the first update is sent.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        CVSendSectionUpdate(CVSectionIDIcons, NSDictionary::dictionary());
        if (g_springBoardStamps.next() >= 0)
            break;
    }

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    close(g_lifeline[1]); // both children end when this closes
    for (pid_t child : children)
        waitpid(child, nullptr, 0);
    return 0;
}
