#include "CommandExecutor.h"

#include "Deliverables.h"
#include "FeatureActions.h"
#include "Processes.h"
#include "SpringBoardProcess.h"

#include "darwin/notify.h"
#include "foundation/DeviceRoot.h"
#include "objc/NSObject.h"
#include "springboard/SpringBoardHost.h"

#include <cstdio>

namespace sim {

namespace {

// The panel's edit cycle is quick; a cvsim that takes longer than this is stuck.
constexpr int kDefaultsTimeoutMs = 30000;

ControlReply done(std::string output = {})
{
    return commandDone(std::move(output));
}

ControlReply failed(std::string error)
{
    return commandFailed(std::move(error));
}

// cvsim's messages end in a newline and start with "cvsim: "; the reply carries the bare
// message, and ctl adds both again.
std::string bareMessage(std::string message)
{
    while (!message.empty() && message.back() == '\n')
        message.pop_back();
    if (message.starts_with("cvsim: "))
        message.erase(0, 7);
    return message;
}

template <class Action> ControlReply doneAfter(Action action)
{
    action();
    return done();
}

ControlReply post(const std::string &name)
{
    if (notify_post(name.c_str()) != NOTIFY_STATUS_OK)
        return failed("cannot post " + name + ": the device services did not take it");
    return done();
}

ControlReply runFeatureCommand(const DeviceCommand &command)
{
    for (const FeatureAction &action : featureActions())
        if (std::string_view(action.name) == command.feature->name)
            return action.run(command.text);
    return failed(std::string("this SpringBoard cannot run ") + command.feature->name);
}

ControlReply screenshot(const std::string &path)
{
    if (!SpringBoardHost::screenshot(path))
        return failed("cannot write the screenshot " + path);
    return done();
}

} // namespace

ControlReply CommandExecutor::execute(const std::vector<std::string> &words)
{
    ParsedCommand parsed = parseDeviceCommand(words);
    if (!parsed.command)
        return {2, {}, parsed.error};
    return execute(*parsed.command);
}

ControlReply CommandExecutor::execute(const DeviceCommand &command)
{
    AutoreleasePool pool;
    using Kind = DeviceCommand::Kind;
    switch (command.kind) {
    case Kind::DefaultsWrite:
        return writeDefault(command);
    case Kind::Post:
        return post(command.text[0]);
    case Kind::PressHome:
        return doneAfter(SpringBoardHost::pressHome);
    case Kind::Lock:
        return doneAfter(SpringBoardHost::lock);
    case Kind::Unlock:
        return doneAfter(SpringBoardHost::unlock);
    case Kind::Rotate:
        if (!SpringBoardHost::rotate(static_cast<int>(command.number)))
            return failed("SpringBoard did not rotate (see its log)");
        return done();
    case Kind::Wait:
        return doneAfter([&] { m_passTime(command.number); });
    case Kind::SwipePages:
        return doneAfter([&] { SpringBoardHost::swipePages(command.number, command.flag); });
    case Kind::Dump:
        return done(dumpDevice(m_log, m_launches).dump());
    case Kind::Screenshot:
        return screenshot(command.text[0]);
    case Kind::Feature:
        return runFeatureCommand(command);
    }
    return {2, {}, "unknown command"};
}

// The panel is another process, with its own copy of the settings: it must not take
// SpringBoard's identity (it would take over SpringBoard's reload service).
ControlReply CommandExecutor::writeDefault(const DeviceCommand &command)
{
    ChildOutcome outcome =
        runChild(deviceToolExecutable(),
                 {"--root", deviceRoot(), "defaults", "write", command.text[0], command.text[1],
                  command.text[2]},
                 {{kBundleIdentifierVariable, std::nullopt}, {kLaunchNumberVariable, std::nullopt}},
                 kDefaultsTimeoutMs);
    if (outcome.status == 0) {
        // What the panel's process logged belongs on the device's console all the same.
        std::fputs(outcome.standardError.c_str(), stderr);
        return done();
    }
    std::string error = bareMessage(outcome.standardError);
    if (error.empty())
        error = "defaults write ended with status " + std::to_string(outcome.status);
    return {outcome.status == 2 ? 2 : 1, {}, error};
}

} // namespace sim
