#include "darwin/TemporaryDevice.h"

#include "darwin/DeviceServices.h"
#include "foundation/DeviceRoot.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ftw.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <syslog.h>
#include <unistd.h>

namespace sim {

namespace {

constexpr int kStartTimeoutMs = 10000;

int removeEntry(const char *path, const struct stat *, int, FTW *)
{
    remove(path);
    return 0;
}

std::string makeRoot()
{
    const char *temporary = std::getenv("TMPDIR");
    std::string pattern =
        std::string(temporary && *temporary ? temporary : "/tmp") + "/cv-device-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        syslog(LOG_ERR, "TemporaryDevice: cannot make %s: %m", pattern.c_str());
        return {};
    }
    return pattern;
}

// The services process: starts serving, tells the parent through `ready`, and serves
// until it is asked to end (SIGTERM) or its parent is gone.
[[noreturn]] void serveUntilTerminated(int ready)
{
    sigset_t terminate;
    sigemptyset(&terminate);
    sigaddset(&terminate, SIGTERM);
    sigprocmask(SIG_BLOCK, &terminate, nullptr);
    prctl(PR_SET_PDEATHSIG, SIGTERM); // a test that dies takes its services with it
    if (getppid() == 1)
        _exit(0);
    DeviceServices services;
    char started = services.start() ? 1 : 0;
    (void)!write(ready, &started, 1);
    close(ready);
    if (!started)
        _exit(1);
    int signal = 0;
    sigwait(&terminate, &signal);
    services.stop();
    _exit(0);
}

bool waitForStart(int ready)
{
    pollfd waiting{ready, POLLIN, 0};
    char started = 0;
    bool ok = poll(&waiting, 1, kStartTimeoutMs) == 1 && read(ready, &started, 1) == 1 && started;
    close(ready);
    return ok;
}

} // namespace

TemporaryDevice::TemporaryDevice() : m_root(makeRoot())
{
    if (m_root.empty())
        return;
    setDeviceRoot(m_root);
    m_ready = startServices();
}

TemporaryDevice::~TemporaryDevice()
{
    stopServices();
    if (!m_root.empty())
        nftw(m_root.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

bool TemporaryDevice::startServices()
{
    if (m_services > 0 || m_root.empty())
        return m_services > 0;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return false;
    pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        serveUntilTerminated(pipeEnds[1]);
    }
    close(pipeEnds[1]);
    if (child < 0) {
        close(pipeEnds[0]);
        return false;
    }
    m_services = child;
    if (!waitForStart(pipeEnds[0])) {
        stopServices();
        return false;
    }
    return true;
}

void TemporaryDevice::stopServices()
{
    if (m_services <= 0)
        return;
    kill(m_services, SIGTERM);
    while (waitpid(m_services, nullptr, 0) < 0 && errno == EINTR) {
    }
    m_services = -1;
}

} // namespace sim
