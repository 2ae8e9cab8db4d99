// Function hooks: a registered function calls through its slot, MSHookFunction redirects
// the slot and hands back what was there, and hooks chain.

#include "substrate/substrate.h"

#include "foundation/NSLog.h"

#include <gtest/gtest.h>

namespace {

// A hookable function as a host exports one: the body calls through the slot.
int doubled(int value)
{
    return value * 2;
}

int (*g_slot)(int) = doubled;

int hostFunction(int value)
{
    return g_slot(value);
}

int (*g_firstPrevious)(int) = nullptr;
int (*g_secondPrevious)(int) = nullptr;

int plusOne(int value)
{
    return g_firstPrevious(value) + 1;
}

int timesTen(int value)
{
    return g_secondPrevious(value) * 10;
}

void *const kHost = reinterpret_cast<void *>(hostFunction);
void *const kPlusOne = reinterpret_cast<void *>(plusOne);
void *const kTimesTen = reinterpret_cast<void *>(timesTen);

class FunctionHooks : public testing::Test {
protected:
    void SetUp() override
    {
        g_slot = doubled;
        g_firstPrevious = g_secondPrevious = nullptr;
        sim::registerHookableFunction(kHost, reinterpret_cast<void **>(&g_slot));
    }

    void TearDown() override { sim::unregisterHookableFunction(kHost); }
};

TEST_F(FunctionHooks, HooksRedirectEveryCallAndChainThroughThePreviousFunction)
{
    ASSERT_EQ(hostFunction(4), 8);
    MSHookFunction(kHost, kPlusOne, reinterpret_cast<void **>(&g_firstPrevious));
    EXPECT_EQ(g_firstPrevious, doubled);
    EXPECT_EQ(hostFunction(4), 9); // 4 × 2 + 1
    MSHookFunction(kHost, kTimesTen, reinterpret_cast<void **>(&g_secondPrevious));
    EXPECT_EQ(g_secondPrevious, plusOne);
    EXPECT_EQ(hostFunction(4), 90);           // (4 × 2 + 1) × 10
    MSHookFunction(kHost, kPlusOne, nullptr); // without a result slot it still redirects
    EXPECT_EQ(hostFunction(4), 9);
}

TEST_F(FunctionHooks, UnknownOrUnregisteredFunctionsAndMissingReplacementsAreLoggedAndIgnored)
{
    sim::LogCapture capture;
    void *untouched = kTimesTen;
    MSHookFunction(reinterpret_cast<void *>(doubled), kPlusOne, &untouched);
    MSHookFunction(kHost, nullptr, &untouched);
    sim::unregisterHookableFunction(kHost);
    MSHookFunction(kHost, kPlusOne, &untouched);

    EXPECT_EQ(untouched, kTimesTen);
    EXPECT_EQ(hostFunction(4), 8);
    std::vector<std::string> lines = capture.lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find("is not a function this process lets hook"), std::string::npos);
    EXPECT_NE(lines[1].find("needs a function and a replacement"), std::string::npos);
    EXPECT_NE(lines[2].find("is not a function this process lets hook"), std::string::npos);
}

} // namespace
