// SpringBoard driven by a script on the virtual clock, in one process. After each
// command the device runs what fell due at that instant (a posted notification's
// handler, a live settings update), so the next command sees its effects; `wait` lets
// virtual time pass. A relaunch tears SpringBoard down and launches it again in this
// process, after the run-loop turn that asked, as a real relaunch ends that turn first.

#include "CommandExecutor.h"
#include "ScriptReader.h"
#include "SpringBoardModes.h"

#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "springboard/SpringBoardHost.h"
#include "uikit/UIApplication.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <utility>

namespace sim {

namespace {

std::optional<ParsedScript> readScriptFile(const std::string &script)
{
    if (script == "-")
        return readScript(std::cin);
    std::ifstream file(script);
    if (!file)
        return std::nullopt;
    return readScript(file);
}

// Runs what is due at the present instant.
void settle()
{
    advanceVirtualClock(0);
}

std::string joined(const std::vector<std::string> &words)
{
    std::string text;
    for (const std::string &word : words)
        text += (text.empty() ? "" : " ") + word;
    return text;
}

} // namespace

int runScriptedSpringBoard(const std::string &script, LogCollector &log)
{
    std::optional<ParsedScript> parsed = readScriptFile(script);
    if (!parsed) {
        std::fprintf(stderr, "cvsim: cannot read the script %s\n", script.c_str());
        return 1;
    }
    if (!parsed->error.empty()) {
        std::fprintf(stderr, "cvsim: script %s, %s\n", script.c_str(), parsed->error.c_str());
        return 1;
    }
    useVirtualClock();
    int launches = 1;
    // Asked twice in one turn, SpringBoard still relaunches once, as a process ends once.
    bool relaunchPending = false;
    setRelaunchHandler([&launches, &relaunchPending] {
        if (std::exchange(relaunchPending, true))
            return;
        RunLoop::main().perform([&launches, &relaunchPending] {
            SpringBoardHost::terminate();
            SpringBoardHost::launch();
            ++launches;
            relaunchPending = false;
        });
    });
    CommandExecutor executor(log, launches, advanceVirtualClock);
    if (!SpringBoardHost::launch()) {
        std::fprintf(stderr, "cvsim: SpringBoard did not launch (see its log)\n");
        return 1;
    }
    settle();
    for (const ScriptLine &line : parsed->lines) {
        ControlReply reply = executor.execute(line.command);
        if (!reply.output.empty())
            std::printf("%s\n", reply.output.c_str());
        std::fflush(stdout);
        if (reply.status != 0) {
            std::fprintf(stderr, "cvsim: script %s, line %d (%s): %s\n", script.c_str(),
                         line.number, joined(line.words).c_str(), reply.error.c_str());
            return 1;
        }
        settle();
    }
    return 0;
}

} // namespace sim
