// SpringBoard served on the real clock: the control channel on the main run loop, a
// relaunch that ends the process with kRelaunchExitStatus for cvsim to start it again,
// and SIGINT or SIGTERM that end it. When the device page listens for frames, the screen
// streams to it while something moves (FrameSource.h, FrameSender.h).

#include "CommandExecutor.h"
#include "ControlChannel.h"
#include "FrameSender.h"
#include "FrameSource.h"
#include "Processes.h"
#include "SpringBoardModes.h"
#include "SpringBoardProcess.h"

#include "foundation/RunLoop.h"
#include "springboard/SpringBoardHost.h"
#include "uikit/UIApplication.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace sim {

namespace {

int launchNumber()
{
    const char *number = std::getenv(kLaunchNumberVariable);
    int launch = number ? std::atoi(number) : 0;
    return launch > 0 ? launch : 1;
}

// `wait` sent over the channel: the device goes on running meanwhile, the channel's
// other requests included.
void runFor(double seconds)
{
    RunLoop::main().runInMode(kDefaultMode, seconds, false);
}

// The frames of the screen, at most this many a second.
constexpr double kFramesPerSecond = 60;

// The device page's stream, when cvsim listens for frames: the sender's thread encodes
// and writes what the main thread's frame source renders.
struct PageStream {
    std::unique_ptr<FrameSender> sender;
    std::unique_ptr<FrameSource> source;
};

PageStream streamFramesToThePage()
{
    PageStream stream;
    OwnedFd connection = connectForFrames(frameSocketPath());
    if (!connection.valid())
        return stream;
    stream.sender = std::make_unique<FrameSender>(std::move(connection));
    stream.source = std::make_unique<FrameSource>(
        [sender = stream.sender.get()](RenderedFrame &&frame) { sender->offer(std::move(frame)); },
        kFramesPerSecond);
    stream.source->start();
    return stream;
}

} // namespace

int serveSpringBoard(LogCollector &log)
{
    int signals = terminationSignalDescriptor();
    const int launches = launchNumber();
    CommandExecutor executor(log, launches, runFor);
    ControlServer server(
        [&executor](const std::vector<std::string> &words) { return executor.execute(words); });
    if (!server.start(controlSocketPath())) {
        std::fprintf(stderr, "springboard: cannot serve the control channel at %s: %s\n",
                     controlSocketPath().c_str(), std::strerror(errno));
        return 1;
    }
    // Ends the process once the turn of the run loop that asked is over, so that the
    // caller (the farewell's completion) returns first, as it would on the phone.
    setRelaunchHandler([&server] {
        RunLoop::main().perform([&server] {
            server.stop();
            endSpringBoardProcess(kRelaunchExitStatus);
        });
    });
    RunLoop::main().addFileDescriptor(signals, [&server] {
        server.stop();
        endSpringBoardProcess(0);
    });
    if (!SpringBoardHost::launch()) {
        std::fprintf(stderr, "springboard: SpringBoard did not launch (see its log)\n");
        return 1;
    }
    PageStream stream = streamFramesToThePage();
    RunLoop::main().run();
    return 0;
}

} // namespace sim
