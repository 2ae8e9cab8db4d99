// NSTimer on the virtual clock: one fire date across modes, its messages, and what it
// holds.

#include "foundation/CFRunLoop.h"
#include "foundation/Clock.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

struct Clock : NSObject {
    int m_ticks = 0;
    static inline int s_deallocs = 0;
    ~Clock() { ++s_deallocs; }
};

void tick(Clock *self, SEL)
{
    ++self->m_ticks;
}

Class clockClass()
{
    static Class cls =
        ClassBuilder<Clock>("TimerTestClock", "NSObject").method("tick", tick).registerClass();
    return cls;
}

class Timers : public testing::Test {
protected:
    void SetUp() override
    {
        sim::useVirtualClock(1000);
        Clock::s_deallocs = 0;
    }
    void TearDown() override { sim::useRealClock(); }

    StrongRef<Clock> makeClock()
    {
        return StrongRef<Clock>::adopt(sim::create<Clock>(clockClass()));
    }

    AutoreleasePool m_pool;
};

TEST_F(Timers, TimerInSeveralModesFiresOncePerFireDateInWhicheverRuns)
{
    StrongRef<Clock> clock = makeClock();
    NSTimer *timer = NSTimer::scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(
        1, clock, "tick"_sel, nil, true);
    NSRunLoop *loop = NSRunLoop::currentRunLoop();
    loop->addTimerForMode(timer, NSRunLoopCommonModes);
    loop->addTimerForMode(timer, NSRunLoopCommonModes);
    sim::advanceVirtualClock(10);
    EXPECT_EQ(clock->m_ticks, 10);

    // A finger dragging: only the common modes' entry serves it, still once per second.
    CFRunLoopRunInMode("UITrackingRunLoopMode"_ns, 5, false);
    EXPECT_EQ(clock->m_ticks, 15);
    timer->invalidate();
}

TEST_F(Timers, AnswersItsMessages)
{
    StrongRef<Clock> clock = makeClock();
    StrongRef<NSString> info("clock"_ns);
    NSTimer *timer = NSTimer::scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(
        2, clock, "tick"_sel, info, true);
    EXPECT_TRUE(msg<BOOL>(timer, "isValid"_sel));
    EXPECT_DOUBLE_EQ(msg<NSDate *>(timer, "fireDate"_sel)->timeIntervalSinceNow(), 2);

    msg<void>(timer, "fire"_sel); // at once, the schedule stays
    EXPECT_EQ(clock->m_ticks, 1);
    msg<void, NSDate *>(timer, "setFireDate:"_sel, NSDate::dateWithTimeIntervalSinceNow(5));
    sim::advanceVirtualClock(4.5);
    EXPECT_EQ(clock->m_ticks, 1);
    sim::advanceVirtualClock(1);
    EXPECT_EQ(clock->m_ticks, 2);
    sim::advanceVirtualClock(2); // re-armed from the date it was moved to
    EXPECT_EQ(clock->m_ticks, 3);

    std::uint32_t held = objc_retainCount(info);
    msg<void>(timer, "invalidate"_sel);
    EXPECT_FALSE(msg<BOOL>(timer, "isValid"_sel));
    EXPECT_EQ(objc_retainCount(clock), 1u);
    EXPECT_EQ(objc_retainCount(info), held - 1);
}

TEST_F(Timers, TimerMovedOrInvalidatedInsideItsActionFiresAtTheNewDateOrNoMore)
{
    int fired = 0;
    NSTimer *timer =
        NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(1, true, [&](NSTimer *self) {
            if (++fired == 1)
                self->setFireDate(NSDate::dateWithTimeIntervalSinceNow(3));
            else
                self->invalidate();
        });
    sim::advanceVirtualClock(1);
    EXPECT_EQ(fired, 1);
    sim::advanceVirtualClock(2.5);
    EXPECT_EQ(fired, 1); // its action moved it to three seconds on
    sim::advanceVirtualClock(10);
    EXPECT_EQ(fired, 2); // and then invalidated it
    EXPECT_FALSE(timer->isValid());
}

TEST_F(Timers, InvalidatingAfterItsLoopsThreadEndedLetsGoSafely)
{
    StrongRef<Clock> clock = makeClock();
    StrongRef<NSTimer> timer;
    std::thread owner([&] {
        AutoreleasePool pool;
        timer = NSTimer::scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(
            1, clock, "tick"_sel, nil, true);
    });
    owner.join(); // its loop went with it, and let go of the timer
    EXPECT_EQ(objc_retainCount(timer), 1u);
    EXPECT_TRUE(timer->isValid());
    timer->invalidate();
    EXPECT_FALSE(timer->isValid());
    EXPECT_EQ(objc_retainCount(clock), 1u);
    timer = StrongRef<NSTimer>();
    clock = StrongRef<Clock>();
    EXPECT_EQ(Clock::s_deallocs, 1);
}

} // namespace
