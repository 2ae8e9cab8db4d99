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

void *functionAddress(int (*function)(int))
{
    return reinterpret_cast<void *>(function);
}

class FunctionHooks : public testing::Test {
protected:
    void SetUp() override
    {
        g_slot = doubled;
        g_firstPrevious = g_secondPrevious = nullptr;
        sim::registerHookableFunction(functionAddress(hostFunction),
                                      reinterpret_cast<void **>(&g_slot));
    }

    void TearDown() override { sim::unregisterHookableFunction(functionAddress(hostFunction)); }
};

TEST_F(FunctionHooks, HooksRedirectEveryCallAndChainThroughThePreviousFunction)
{
    ASSERT_EQ(hostFunction(4), 8);
    MSHookFunction(functionAddress(hostFunction), functionAddress(plusOne),
                   reinterpret_cast<void **>(&g_firstPrevious));
    EXPECT_EQ(g_firstPrevious, doubled);
    EXPECT_EQ(hostFunction(4), 9); // 4 × 2 + 1
    MSHookFunction(functionAddress(hostFunction), functionAddress(timesTen),
                   reinterpret_cast<void **>(&g_secondPrevious));
    EXPECT_EQ(g_secondPrevious, plusOne);
    EXPECT_EQ(hostFunction(4), 90); // (4 × 2 + 1) × 10
    // Without a result slot the hook still redirects.
    MSHookFunction(functionAddress(hostFunction), functionAddress(plusOne), nullptr);
    EXPECT_EQ(hostFunction(4), 9);
}

TEST_F(FunctionHooks, UnknownOrUnregisteredFunctionsAndMissingReplacementsAreLoggedAndIgnored)
{
    sim::LogCapture capture;
    void *untouched = functionAddress(timesTen);
    MSHookFunction(functionAddress(doubled), functionAddress(plusOne), &untouched);
    MSHookFunction(functionAddress(hostFunction), nullptr, &untouched);
    sim::unregisterHookableFunction(functionAddress(hostFunction));
    MSHookFunction(functionAddress(hostFunction), functionAddress(plusOne), &untouched);

    EXPECT_EQ(untouched, functionAddress(timesTen));
    EXPECT_EQ(hostFunction(4), 8);
    std::vector<std::string> lines = capture.lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find("is not a function this process lets hook"), std::string::npos);
    EXPECT_NE(lines[1].find("needs a function and a replacement"), std::string::npos);
    EXPECT_NE(lines[2].find("is not a function this process lets hook"), std::string::npos);
}

} // namespace
