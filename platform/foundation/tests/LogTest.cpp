// NSLog: every line reaches standard error and the observer exactly as written.

#include "foundation/NSLog.h"

#include "foundation/NSString.h"
#include "foundation/tests/Watchdog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <thread>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

class Logging : public testing::Test {
protected:
    void TearDown() override { sim::setLogToStandardError(true); }

    AutoreleasePool m_pool;
};

TEST_F(Logging, LinesReachTheObserverExactlyAndStandardErrorUnlessItIsTurnedOff)
{
    sim::LogCapture capture;
    CaptureStderr();
    NSLog("Welcome to Corvane 3");
    NSLog("[Corvane][ERROR]: Unhandled key: %@", "Foo"_ns);
    NSLog("Loading on %f", 1240.1);
    NSLog("first\n"); // a message ending in a newline is still one line
    NSLog("two\nparts");
    sim::setLogToStandardError(false);
    NSLog("quiet %d", 1);
    sim::setLogToStandardError(true);
    NSLog("loud %d", 2);
    EXPECT_EQ(GetCapturedStderr(), "Welcome to Corvane 3\n[Corvane][ERROR]: Unhandled key: Foo\n"
                                   "Loading on 1240.100000\nfirst\ntwo\nparts\nloud 2\n");
    EXPECT_EQ(capture.lines(), (std::vector<std::string>{"Welcome to Corvane 3",
                                                         "[Corvane][ERROR]: Unhandled key: Foo",
                                                         "Loading on 1240.100000", "first",
                                                         "two\nparts", "quiet 1", "loud 2"}));
}

TEST_F(Logging, CapturesNestAndHandLinesOnToTheObserverTheyDisplaced)
{
    std::vector<std::string> observed;
    sim::LogObserver before = sim::setLogObserver(
        [&observed](const std::string &line) { observed.push_back("observer: " + line); });
    {
        sim::LogCapture outer;
        NSLog("one");
        {
            sim::LogCapture inner;
            NSLog("two");
            EXPECT_EQ(inner.lines(), std::vector<std::string>{"two"});
        }
        NSLog("three");
        EXPECT_EQ(outer.lines(), (std::vector<std::string>{"one", "two", "three"}));
    }
    NSLog("four");
    EXPECT_EQ(observed, (std::vector<std::string>{"observer: one", "observer: two",
                                                  "observer: three", "observer: four"}));
    EXPECT_TRUE(sim::setLogObserver(before)) << "the observer set last is handed back";
}

TEST_F(Logging, AnObserverThatLogsDoesNotHearItself)
{
    std::vector<std::string> observed;
    sim::LogObserver before = sim::setLogObserver([&observed](const std::string &line) {
        observed.push_back(line);
        NSLog("echo of %s", line.c_str());
    });
    CaptureStderr();
    NSLog("original");
    EXPECT_EQ(GetCapturedStderr(), "original\necho of original\n");
    EXPECT_EQ(observed, std::vector<std::string>{"original"});
    sim::setLogObserver(before);
}

TEST_F(Logging, LinesFromManyThreadsArriveWhole)
{
    constexpr int kThreads = 4;
    constexpr int kLinesEach = 200;
    sim::LogCapture capture;
    CaptureStderr();
    {
        Watchdog watchdog("logging threads");
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([t] {
                for (int i = 0; i < kLinesEach; ++i)
                    NSLog("thread %d line %03d of a line long enough to be split", t, i);
            });
        for (std::thread &thread : threads)
            thread.join();
    }
    std::istringstream console(GetCapturedStderr());
    EXPECT_EQ(capture.lines().size(), static_cast<size_t>(kThreads * kLinesEach));
    size_t consoleLines = 0;
    for (std::string line; std::getline(console, line); ++consoleLines) {
        int thread = -1, index = -1;
        EXPECT_EQ(std::sscanf(line.c_str(), "thread %d line %d of a line", &thread, &index), 2)
            << line;
        EXPECT_TRUE(line.ends_with("long enough to be split")) << line;
    }
    EXPECT_EQ(consoleLines, static_cast<size_t>(kThreads * kLinesEach));
}

} // namespace
