// `cvsim ctl COMMAND…`: one command to the running device. Everything but `wait` runs in
// SpringBoard, through the control channel; `wait` lets real time pass here while the
// device goes on running.

#include "Commands.h"
#include "ControlChannel.h"
#include "DeviceCommand.h"

#include "foundation/DeviceRoot.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace sim {

namespace {

// Long enough for a screenshot of a large screen in the sanitizer build.
constexpr int kReplyTimeoutMs = 60000;

int usage(const std::string &error)
{
    std::fprintf(stderr, "cvsim: %s\nusage: cvsim [--root DIR] ctl COMMAND …\ncommands:\n%s",
                 error.c_str(), deviceCommandsUsage().c_str());
    return 2;
}

int noDevice()
{
    std::fprintf(stderr, "cvsim: no device is running on %s (start one with cvsim run)\n",
                 deviceRoot().c_str());
    return 1;
}

// SpringBoard runs elsewhere, in its own directory: a relative path is this shell's.
std::vector<std::string> withAbsolutePaths(std::vector<std::string> words,
                                           const DeviceCommand &command)
{
    if (command.kind == DeviceCommand::Kind::Screenshot)
        words[1] = std::filesystem::absolute(words[1]).string();
    if (command.feature && command.feature->pathArgument >= 0) {
        std::size_t word = static_cast<std::size_t>(command.feature->pathArgument) + 1;
        if (word < words.size())
            words[word] = std::filesystem::absolute(words[word]).string();
    }
    return words;
}

int printReply(const ControlReply &reply)
{
    if (!reply.output.empty()) {
        std::fputs(reply.output.c_str(), stdout);
        if (reply.output.back() != '\n')
            std::fputc('\n', stdout);
    }
    if (!reply.error.empty())
        std::fprintf(stderr, "cvsim: %s\n", reply.error.c_str());
    return reply.status;
}

} // namespace

int ctlCommand(const std::vector<std::string> &words)
{
    ParsedCommand parsed = parseDeviceCommand(words);
    if (!parsed.command)
        return usage(parsed.error);
    if (parsed.command->kind == DeviceCommand::Kind::Wait) {
        if (!deviceIsRunning())
            return noDevice();
        std::this_thread::sleep_for(std::chrono::duration<double>(parsed.command->number));
        return 0;
    }
    ControlExchange exchange =
        sendControlRequest(withAbsolutePaths(words, *parsed.command), kReplyTimeoutMs);
    if (!exchange.deviceRunning)
        return noDevice();
    if (!exchange.reply) {
        std::fprintf(stderr, "cvsim: %s\n", exchange.failure.c_str());
        return 1;
    }
    return printReply(*exchange.reply);
}

} // namespace sim
