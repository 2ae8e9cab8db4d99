#pragma once
// Helpers for tests that run a second process of the device, every wait bounded so a broken
// test fails instead of hanging. The child leaves with _exit: the temporary device and the
// test framework belong to the parent.

#include "darwin/mach.h"

#include <functional>
#include <string>
#include <sys/types.h>

namespace test {

inline constexpr int kWatchdogMs = 10000;

// Runs `body` in a forked child that exits with its result (0 for success).
pid_t forkChild(const std::function<int()> &body);

// The child's exit status, or -1 (killed) when it did not exit normally within timeoutMs.
int waitForChild(pid_t child, int timeoutMs = kWatchdogMs);

// A one-way channel of single bytes between two processes.
class Signal {
public:
    Signal();
    ~Signal();
    Signal(const Signal &) = delete;
    Signal &operator=(const Signal &) = delete;

    void send(char byte = '!');
    // True when a byte arrived within timeoutMs (and equals `expected`).
    bool wait(char expected = '!', int timeoutMs = kWatchdogMs);

private:
    int m_read;
    int m_write;
};

// Runs the main run loop until `done` answers true or timeoutMs passed; answers `done`.
bool runMainLoopUntil(const std::function<bool()> &done, int timeoutMs = kWatchdogMs);

// A simple message: header, descriptor count 0, a data length and the data, the size
// being the data length plus 40 rounded up to 4 (the reload service's inline form).
struct InlineMessage {
    mach_msg_header_t header;
    mach_msg_body_t body;
    mach_msg_size_t length;
    unsigned char data[4104];
};
void makeInlineMessage(InlineMessage &message, mach_port_t destination, mach_msg_id_t id,
                       const std::string &data);

// A complex message carrying `data` out of line, 40 bytes long.
#pragma pack(push, 4)
struct OutOfLineMessage {
    mach_msg_header_t header;
    mach_msg_body_t body;
    mach_msg_ool_descriptor_t descriptor;
};
#pragma pack(pop)
void makeOutOfLineMessage(OutOfLineMessage &message, mach_port_t destination, mach_msg_id_t id,
                          const std::string &data);

// Sends the message to its destination; the mach_msg result.
kern_return_t sendMessage(InlineMessage &message);

// Looks `name` up and sends it an inline message; the mach_msg result, or the look-up's
// error.
kern_return_t sendInline(const char *name, mach_msg_id_t id, const std::string &data);

} // namespace test
