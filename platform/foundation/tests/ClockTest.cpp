#include "foundation/Clock.h"
#include "foundation/RunLoop.h"

#include <ctime>
#include <gtest/gtest.h>
#include <thread>
#include <utility>
#include <vector>

namespace {

class ProcessClock : public testing::Test {
protected:
    void TearDown() override { sim::useRealClock(); }
};

TEST_F(ProcessClock, RealClockIsMonotonicAndWallTimeIsTheSystemTime)
{
    sim::useRealClock();
    double previous = sim::now();
    for (int read = 0; read < 1000; ++read) {
        double current = sim::now();
        ASSERT_GE(current, previous);
        previous = current;
    }
    EXPECT_NEAR(sim::wallTime(), static_cast<double>(std::time(nullptr)), 2.0);
}

TEST_F(ProcessClock, VirtualClockStandsStillUntilAdvancedAndNeverGoesBack)
{
    sim::useVirtualClock(100);
    EXPECT_EQ(sim::wallTime(), sim::kVirtualWallStart);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(sim::now(), 100);
    sim::advanceVirtualClock(2.5);
    EXPECT_EQ(sim::now(), 102.5);
    EXPECT_EQ(sim::wallTime(), sim::kVirtualWallStart + 2.5);
    sim::moveVirtualClockTo(104);
    sim::moveVirtualClockTo(103);
    EXPECT_EQ(sim::now(), 104);

    // Choosing the virtual clock again restarts it, its wall time where the caller says.
    sim::useVirtualClock(5, 1000000000.0);
    EXPECT_EQ(sim::now(), 5);
    sim::advanceVirtualClock(60);
    EXPECT_EQ(sim::wallTime(), 1000000060.0);
}

// Work due during an advance sees the time, and the wall time, it was due at.
TEST_F(ProcessClock, AdvancingRunsDueWorkAtItsOwnTime)
{
    sim::useVirtualClock(0);
    std::vector<std::pair<double, double>> seen; // (now, wall time) inside each timer
    auto record = [&] { seen.emplace_back(sim::now(), sim::wallTime()); };
    sim::RunLoop::main().addTimer(2, 0, record);
    sim::RunLoop::main().addTimer(0.5, 0, record);
    sim::advanceVirtualClock(3);
    EXPECT_EQ(seen, (std::vector<std::pair<double, double>>{{0.5, sim::kVirtualWallStart + 0.5},
                                                            {2.0, sim::kVirtualWallStart + 2.0}}));
    EXPECT_EQ(sim::now(), 3);
}

TEST_F(ProcessClock, AdvancingWrongStopsLoudly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    sim::useRealClock();
    EXPECT_DEATH(sim::advanceVirtualClock(1), "advanceVirtualClock: the process runs on the real");
    sim::useVirtualClock(0);
    EXPECT_DEATH(sim::advanceVirtualClock(-1), "advanceVirtualClock: time only moves forward");
    EXPECT_DEATH(std::thread([] { sim::advanceVirtualClock(1); }).join(),
                 "advanceVirtualClock: a run loop runs only on its own thread");
}

} // namespace
