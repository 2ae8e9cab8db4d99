// The frame source on SpringBoard's screen, on the virtual clock.

#include "FrameSource.h"

#include "darwin/TemporaryDevice.h"
#include "foundation/Clock.h"
#include "foundation/DeviceProfile.h"
#include "springboard/SpringBoardHost.h"

#include <gtest/gtest.h>

using namespace sim;

namespace {

class FrameSourceTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_device.ready());
        useVirtualClock();
        DeviceProfile::setCurrent(DeviceProfile{});
        ASSERT_TRUE(SpringBoardHost::launch());
        SpringBoardHost::unlock();
        advanceVirtualClock(1);
    }

    void TearDown() override { SpringBoardHost::terminate(); }

    FrameSink collect()
    {
        return [this](RenderedFrame &&frame) { m_frames.push_back(std::move(frame)); };
    }

    TemporaryDevice m_device;
    std::vector<RenderedFrame> m_frames;
};

} // namespace

TEST_F(FrameSourceTest, AStillScreenSendsOnlyItsFirstFrameAndAMovedOneEachChange)
{
    FrameSource source(collect(), 60);
    EXPECT_TRUE(source.tick());
    ASSERT_EQ(m_frames.size(), 1u);
    EXPECT_DOUBLE_EQ(m_frames[0].scale, 2);
    EXPECT_EQ(m_frames[0].pixels.size(), 750u * 1334 * 4);
    for (int tick = 0; tick < 5; ++tick) {
        advanceVirtualClock(1.0 / 60);
        EXPECT_FALSE(source.tick());
    }

    // A moved screen sends the changed frame once.
    SpringBoardHost::swipePages(0.4, true);
    EXPECT_TRUE(source.tick());
    EXPECT_NE(m_frames.back().pixels, m_frames.front().pixels);
    EXPECT_FALSE(source.tick());
    SpringBoardHost::swipePages(0.6, true);
    EXPECT_TRUE(source.tick());
    EXPECT_EQ(source.framesSent(), 3u) << "what tick answered is what was sent";
}

TEST_F(FrameSourceTest, TheTimerSendsEveryFrameOfAnAnimationAndARecordingEveryTick)
{
    FrameSource source(collect(), 60);
    source.start();
    advanceVirtualClock(0.1);
    std::size_t still = m_frames.size();
    EXPECT_EQ(still, 1u) << "a still screen sends its first frame only";
    // Opening a folder animates: frames follow one another until it is open.
    ASSERT_TRUE(SpringBoardHost::openFolder(0));
    advanceVirtualClock(1);
    std::size_t opened = m_frames.size();
    EXPECT_GE(opened - still, 10u);
    advanceVirtualClock(1);
    EXPECT_EQ(m_frames.size(), opened);
    source.stop();

    // A recording's source sends every tick, the still screen too.
    m_frames.clear();
    FrameSource recording(collect(), 30, FrameSource::Policy::EveryTick);
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_TRUE(recording.tick());
        advanceVirtualClock(1.0 / 30);
    }
    ASSERT_EQ(m_frames.size(), 3u);
    EXPECT_EQ(m_frames[0].pixels, m_frames[2].pixels);
    EXPECT_NEAR(m_frames[2].time - m_frames[0].time, 2.0 / 30, 1e-9);
}
