// NSLog: every line reaches standard error and the observer exactly as written.

#include "foundation/NSLog.h"

#include "foundation/NSString.h"
#include "foundation/tests/Watchdog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <thread>
#include <unistd.h>

namespace {

// Points standard error at a temporary file while it lives.
class StandardErrorCapture {
public:
    StandardErrorCapture() : m_file(std::tmpfile()), m_saved(dup(STDERR_FILENO))
    {
        std::fflush(stderr);
        dup2(fileno(m_file), STDERR_FILENO);
    }

    ~StandardErrorCapture()
    {
        std::fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
        std::fclose(m_file);
    }

    StandardErrorCapture(const StandardErrorCapture &) = delete;
    StandardErrorCapture &operator=(const StandardErrorCapture &) = delete;

    std::string text() const
    {
        std::string contents;
        char buffer[4096];
        std::rewind(m_file);
        for (size_t count; (count = std::fread(buffer, 1, sizeof buffer, m_file)) > 0;)
            contents.append(buffer, count);
        return contents;
    }

private:
    FILE *m_file;
    int m_saved;
};

class Logging : public testing::Test {
protected:
    void TearDown() override { sim::setLogToStandardError(true); }

    AutoreleasePool m_pool;
};

TEST_F(Logging, LinesReachStandardErrorAndTheObserverExactly)
{
    StandardErrorCapture console;
    sim::LogCapture capture;
    NSLog("Welcome to Corvane 3");
    NSLog("[Corvane][ERROR]: Unhandled key: %@", "Foo"_ns);
    NSLog("Loading on %f", 1240.1);
    NSLog("first\n"); // a message ending in a newline is still one line
    NSLog("two\nparts");

    std::vector<std::string> expected{"Welcome to Corvane 3",
                                      "[Corvane][ERROR]: Unhandled key: Foo",
                                      "Loading on 1240.100000", "first", "two\nparts"};
    EXPECT_EQ(capture.lines(), expected);
    EXPECT_EQ(console.text(), "Welcome to Corvane 3\n[Corvane][ERROR]: Unhandled key: Foo\n"
                              "Loading on 1240.100000\nfirst\ntwo\nparts\n");
}

TEST_F(Logging, StandardErrorCanBeTurnedOffWithoutLosingObservedLines)
{
    StandardErrorCapture console;
    sim::LogCapture capture;
    sim::setLogToStandardError(false);
    NSLog("quiet %d", 1);
    sim::setLogToStandardError(true);
    NSLog("loud %d", 2);
    EXPECT_EQ(capture.lines(), (std::vector<std::string>{"quiet 1", "loud 2"}));
    EXPECT_EQ(console.text(), "loud 2\n");
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
    sim::LogObserver mine = sim::setLogObserver(before);
    ASSERT_TRUE(mine);
}

TEST_F(Logging, AnObserverThatLogsDoesNotHearItself)
{
    std::vector<std::string> observed;
    sim::LogObserver before = sim::setLogObserver([&observed](const std::string &line) {
        observed.push_back(line);
        NSLog("echo of %s", line.c_str());
    });
    StandardErrorCapture console;
    NSLog("original");
    EXPECT_EQ(observed, std::vector<std::string>{"original"});
    EXPECT_EQ(console.text(), "original\necho of original\n");
    sim::setLogObserver(before);
}

TEST_F(Logging, LinesFromManyThreadsArriveWhole)
{
    constexpr int kThreads = 4;
    constexpr int kLinesEach = 200;
    StandardErrorCapture console;
    sim::LogCapture capture;
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
    std::vector<std::string> lines = capture.lines();
    ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kLinesEach));
    std::string consoleText = console.text();
    size_t consoleLines = 0;
    for (size_t start = 0, end; (end = consoleText.find('\n', start)) != std::string::npos;
         start = end + 1, ++consoleLines) {
        std::string line = consoleText.substr(start, end - start);
        int thread = -1, index = -1;
        ASSERT_EQ(std::sscanf(line.c_str(), "thread %d line %d of a line", &thread, &index), 2)
            << line;
        EXPECT_TRUE(line.ends_with("long enough to be split")) << line;
    }
    EXPECT_EQ(consoleLines, lines.size());
}

} // namespace
