// The device page's speed, on the default phone (375 × 667 points at scale 2: 750 × 1334
// pixels).
//
// - SettingsChangeToFrame: a device that `cvsim run` boots, watched through the page's own
//   event stream. Each iteration changes a setting as the panel does, in this process (the
//   edit cycle of Defaults.h: the file, then the reload service; SpringBoard lays out
//   again) and waits for the changed frame (the home screen's labels hidden or shown) to
//   reach the page. Goal: under 100 ms at the 95th percentile. Reference in the same run,
//   ButtonToFrame: a badge set and cleared through the control channel, reaching the page
//   the same way without the settings' path.
// - HeldSwipeFrames: a finger holds the pages and moves back and forth, as the page sends
//   a drag; frames_per_second counts the frames the page receives. Goal: at least 30.
//   Reference: moves_per_second, the finger moves the phone took meanwhile.
// - EncodeFrame against RenderFrame: one frame of the home screen encoded as the page's
//   JPEG, against rendering it with the screenshots' renderer.

#include "BuiltDeliverables.h"
#include "ControlChannel.h"
#include "Defaults.h"
#include "FrameChannel.h"

#include "darwin/TemporaryDevice.h"
#include "foundation/Clock.h"
#include "foundation/DeviceProfile.h"
#include "foundation/DeviceRoot.h"
#include "springboard/SpringBoardHost.h"
#include "uikit/Snapshot.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// A device booted by `cvsim run` on a temporary root, and the page's frame stream, whose
// frames are counted as they arrive.
class RunningDevice {
public:
    RunningDevice()
    {
        char root[] = "/tmp/cvpagebenchXXXXXX";
        if (!mkdtemp(root))
            return;
        m_root = root;
        int output[2];
        if (pipe(output) != 0)
            return;
        m_process = fork();
        if (m_process == 0) {
            dup2(output[1], STDOUT_FILENO);
            int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, STDERR_FILENO);
            execl(sim::built::kDeviceTool, "cvsim", "--root", root, "run", nullptr);
            _exit(127);
        }
        close(output[1]);
        FILE *lines = fdopen(output[0], "r");
        char line[512];
        if (!lines || !std::fgets(line, sizeof line, lines))
            return;
        std::string url(line);
        url.erase(url.find_last_not_of("\r\n") + 1);
        m_port = std::atoi(url.c_str() + std::string("http://127.0.0.1:").size());
        m_token = url.substr(url.find("token=") + 6);
        sim::setDeviceRoot(m_root);
        m_stream = std::thread([this] { countFrames(); });
        m_ready = waitForFrames(1, std::chrono::seconds(20));
    }

    ~RunningDevice()
    {
        m_stopping = true;
        if (m_process > 0) {
            kill(m_process, SIGTERM);
            waitpid(m_process, nullptr, 0);
        }
        if (m_stream.joinable())
            m_stream.join();
        if (!m_root.empty())
            std::filesystem::remove_all(m_root);
    }

    bool ready() const { return m_ready; }
    std::uint64_t frames() const { return m_frames; }

    bool waitForFrames(std::uint64_t count, Clock::duration limit)
    {
        Clock::time_point deadline = Clock::now() + limit;
        while (m_frames < count) {
            if (Clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return true;
    }

    bool command(const std::vector<std::string> &words)
    {
        sim::ControlExchange exchange = sim::sendControlRequest(words, 10000);
        if (!exchange.reply || exchange.reply->status != 0)
            std::fprintf(stderr, "%s: %s\n", words.front().c_str(),
                         exchange.reply ? exchange.reply->error.c_str() : exchange.failure.c_str());
        return exchange.reply && exchange.reply->status == 0;
    }

private:
    void countFrames()
    {
        httplib::Client client("127.0.0.1", m_port);
        client.set_read_timeout(std::chrono::seconds(2));
        while (!m_stopping) {
            client.Get("/api/frames", {{"X-Corvane-Token", m_token}},
                       [this](const char *data, std::size_t length) {
                           std::string_view text(data, length);
                           for (std::size_t at = text.find("event: frame");
                                at != std::string_view::npos;
                                at = text.find("event: frame", at + 1))
                               ++m_frames;
                           return !m_stopping.load();
                       });
        }
    }

    std::string m_root;
    pid_t m_process = -1;
    int m_port = 0;
    std::string m_token;
    std::thread m_stream;
    std::atomic<std::uint64_t> m_frames = 0;
    std::atomic<bool> m_stopping = false;
    bool m_ready = false;
};

RunningDevice &runningDevice()
{
    static RunningDevice device;
    return device;
}

// Each iteration runs `change(iteration)` and times it until the next frame arrives; the
// counters give the median and the 95th percentile in milliseconds.
template <typename Change> void timeChangeToFrame(benchmark::State &state, Change change)
{
    RunningDevice &device = runningDevice();
    if (!device.ready() || !device.command({"unlock"})) {
        state.SkipWithError("the device did not start");
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    std::vector<double> latencies;
    std::size_t iteration = 0;
    for (auto _ : state) {
        std::uint64_t before = device.frames();
        Clock::time_point start = Clock::now();
        change(device, iteration++);
        if (!device.waitForFrames(before + 1, std::chrono::seconds(5))) {
            state.SkipWithError("no frame came");
            return;
        }
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        latencies.push_back(seconds * 1000);
        // Let the change's animation end, so each iteration starts from a still screen.
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    std::sort(latencies.begin(), latencies.end());
    state.counters["p50_ms"] = latencies[latencies.size() / 2];
    state.counters["p95_ms"] = latencies[latencies.size() * 95 / 100];
}

void BM_SettingsChangeToFrame(benchmark::State &state)
{
    timeChangeToFrame(state, [](RunningDevice &, std::size_t iteration) {
        sim::writeDefault("CVIcons", "pages.hideLabels", iteration % 2 ? "false" : "true");
    });
}
BENCHMARK(BM_SettingsChangeToFrame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(40);

void BM_ButtonToFrame(benchmark::State &state)
{
    timeChangeToFrame(state, [](RunningDevice &device, std::size_t iteration) {
        if (iteration % 2)
            device.command({"badge", "com.apple.mobilecal"});
        else
            device.command({"badge", "com.apple.mobilecal", "7"});
    });
}
BENCHMARK(BM_ButtonToFrame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(40);

void BM_HeldSwipeFrames(benchmark::State &state)
{
    RunningDevice &device = runningDevice();
    if (!device.ready() || !device.command({"unlock"})) {
        state.SkipWithError("the device did not start");
        return;
    }
    device.command({"finger", "down", "300", "300"});
    std::uint64_t frames = 0;
    std::uint64_t moves = 0;
    double seconds = 0;
    for (auto _ : state) {
        std::uint64_t before = device.frames();
        Clock::time_point start = Clock::now();
        // One second back and forth across the first two pages, a move every 8 ms as a
        // pointer reports them.
        for (int step = 0; step < 125; ++step, ++moves) {
            int phase = step % 50;
            int x = 300 - (phase < 25 ? phase : 50 - phase) * 10;
            device.command({"finger", "move", std::to_string(x), "300"});
            std::this_thread::sleep_until(start + std::chrono::milliseconds(8 * (step + 1)));
        }
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
        frames += device.frames() - before;
    }
    device.command({"finger", "up", "300", "300"});
    state.counters["frames_per_second"] = double(frames) / seconds;
    state.counters["moves_per_second"] = double(moves) / seconds;
}
BENCHMARK(BM_HeldSwipeFrames)->Unit(benchmark::kMillisecond)->Iterations(3);

// The home screen, in this process, for the encoder against the renderer.
struct HomeScreen {
    sim::TemporaryDevice device;
    HomeScreen()
    {
        sim::useVirtualClock();
        sim::DeviceProfile::setCurrent(sim::DeviceProfile{});
        sim::SpringBoardHost::launch();
        sim::SpringBoardHost::unlock();
    }
    ~HomeScreen() { sim::SpringBoardHost::terminate(); }
};

void BM_RenderFrame(benchmark::State &state)
{
    HomeScreen home;
    AutoreleasePool pool;
    for (auto _ : state) {
        auto image = StrongRef<CGImage>::adopt(sim::snapshotOfScreen());
        benchmark::DoNotOptimize(image->m_pixels.data());
    }
}
BENCHMARK(BM_RenderFrame)->Unit(benchmark::kMillisecond);

void BM_EncodeFrame(benchmark::State &state)
{
    HomeScreen home;
    AutoreleasePool pool;
    auto image = StrongRef<CGImage>::adopt(sim::snapshotOfScreen());
    sim::FrameEncoder encoder;
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string jpeg = encoder.encode(image->m_pixels.data(), image->m_pixels.size(),
                                          int(image->m_width), int(image->m_height));
        bytes = jpeg.size();
        benchmark::DoNotOptimize(jpeg.data());
    }
    state.counters["jpeg_bytes"] = double(bytes);
}
BENCHMARK(BM_EncodeFrame)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
