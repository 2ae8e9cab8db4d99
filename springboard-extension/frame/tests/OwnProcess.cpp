#include "OwnProcess.h"

#include "ChildProcess.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// Generous, for the sanitizer build; the case's own watchdog fires well before.
constexpr int kCaseBudgetMs = 60000;

} // namespace

bool ranInProcessOfItsOwn()
{
    static bool processTaken = false;
    if (!processTaken) {
        processTaken = true;
        return false;
    }
    const testing::TestInfo *info = testing::UnitTest::GetInstance()->current_test_info();
    std::string program = "/proc/self/exe";
    std::string filter =
        std::string("--gtest_filter=") + info->test_suite_name() + "." + info->name();
    char *arguments[] = {program.data(), filter.data(), nullptr};
    std::fflush(stdout);
    pid_t child = test::forkChild([&] {
        execv(program.c_str(), arguments);
        return 127;
    });
    EXPECT_EQ(test::waitForChild(child, kCaseBudgetMs), 0)
        << info->name() << " failed in its own process (its output is above)";
    return true;
}
