#include "ChildProcess.h"

#include "darwin/bootstrap.h"
#include "foundation/RunLoop.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace test {

pid_t forkChild(const std::function<int()> &body)
{
    pid_t child = fork();
    if (child == 0)
        _exit(body());
    return child;
}

int waitForChild(pid_t child, int timeoutMs)
{
    if (child <= 0)
        return -1;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Signal::Signal()
{
    int fds[2] = {-1, -1};
    if (pipe2(fds, O_CLOEXEC) != 0)
        fds[0] = fds[1] = -1;
    m_read = fds[0];
    m_write = fds[1];
}

Signal::~Signal()
{
    close(m_read);
    close(m_write);
}

void Signal::send(char byte)
{
    if (write(m_write, &byte, 1) != 1)
        std::abort(); // a pipe that cannot take one byte: the test cannot go on
}

bool Signal::wait(char expected, int timeoutMs)
{
    pollfd entry{m_read, POLLIN, 0};
    if (poll(&entry, 1, timeoutMs) != 1)
        return false;
    char byte = 0;
    return read(m_read, &byte, 1) == 1 && byte == expected;
}

bool runMainLoopUntil(const std::function<bool()> &done, int timeoutMs)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done() && std::chrono::steady_clock::now() < deadline)
        sim::RunLoop::main().runInMode(sim::kDefaultMode, 0.02, true);
    return done();
}

void makeInlineMessage(InlineMessage &message, mach_port_t destination, mach_msg_id_t id,
                       const std::string &data)
{
    std::memset(&message, 0, sizeof(message));
    message.header.msgh_bits = MACH_MSGH_BITS(MACH_MSG_TYPE_COPY_SEND, 0);
    message.header.msgh_size = static_cast<mach_msg_size_t>((data.size() + 40 + 3) & ~size_t(3));
    message.header.msgh_remote_port = destination;
    message.header.msgh_id = id;
    message.length = static_cast<mach_msg_size_t>(data.size());
    std::memcpy(message.data, data.data(), data.size());
}

void makeOutOfLineMessage(OutOfLineMessage &message, mach_port_t destination, mach_msg_id_t id,
                          const std::string &data)
{
    std::memset(&message, 0, sizeof(message));
    message.header.msgh_bits = MACH_MSGH_BITS(MACH_MSG_TYPE_COPY_SEND, 0) | MACH_MSGH_BITS_COMPLEX;
    message.header.msgh_size = 40;
    message.header.msgh_remote_port = destination;
    message.header.msgh_id = id;
    message.body.msgh_descriptor_count = 1;
    message.descriptor.address = const_cast<char *>(data.data());
    message.descriptor.size = static_cast<mach_msg_size_t>(data.size());
    message.descriptor.copy = MACH_MSG_VIRTUAL_COPY;
    message.descriptor.type = MACH_MSG_OOL_DESCRIPTOR;
}

kern_return_t sendMessage(InlineMessage &message)
{
    return mach_msg(&message.header, MACH_SEND_MSG, message.header.msgh_size, 0, MACH_PORT_NULL,
                    MACH_MSG_TIMEOUT_NONE, MACH_PORT_NULL);
}

kern_return_t sendInline(const char *name, mach_msg_id_t id, const std::string &data)
{
    mach_port_t bootstrap = MACH_PORT_NULL;
    task_get_special_port(mach_task_self(), TASK_BOOTSTRAP_PORT, &bootstrap);
    mach_port_t service = MACH_PORT_NULL;
    if (kern_return_t result = bootstrap_look_up(bootstrap, name, &service))
        return result;
    InlineMessage message;
    makeInlineMessage(message, service, id, data);
    kern_return_t result = sendMessage(message);
    mach_port_deallocate(mach_task_self(), service);
    return result;
}

} // namespace test
