// The lock animator on iOS 7, in a process of its own: the shared animator decides when
// it is first made whether to watch the display, and the display's state travels as a
// Darwin notification through a device of the test's own.

#include "LockAnimationsTest.h"

#include "darwin/TemporaryDevice.h"
#include "darwin/notify.h"
#include "foundation/RunLoop.h"

#include <chrono>
#include <thread>

namespace {

constexpr const char *kDisplayStatus = "com.apple.iokit.hid.displayStatus";

// Turns the main run loop at the present instant until `done` or two real seconds pass,
// so that a notification that has reached the process is handled.
bool turnMainLoopUntil(const std::function<bool()> &done)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        sim::RunLoop::main().runInMode(sim::kDefaultMode, 0, false);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

TEST(LockAnimatorOnIOS7, KeepsTheOverlayUntilTheDisplayReportsOff)
{
    sim::TemporaryDevice device;
    ASSERT_TRUE(device.ready());
    Watchdog watchdog{"iOS 7 lock animator test"};
    AutoreleasePool pool;
    useLockTestPhone(sim::DeviceProfile::kIOS7CoreFoundation);
    sim::useVirtualClock(100);
    int display = -1;
    ASSERT_EQ(notify_register_check(kDisplayStatus, &display), NOTIFY_STATUS_OK);
    notify_set_state(display, 1);

    startLockAnimation(2, 0.5);
    sim::advanceVirtualClock(2.0);
    EXPECT_TRUE(isAnimating());
    EXPECT_EQ(visibleOverlays().size(), 1u);

    // A report that the display is still on leaves the overlay up.
    notify_post(kDisplayStatus);
    turnMainLoopUntil([] { return false; });
    EXPECT_TRUE(isAnimating());

    notify_set_state(display, 0);
    notify_post(kDisplayStatus);
    EXPECT_TRUE(turnMainLoopUntil([] { return !isAnimating(); }));
    EXPECT_TRUE(visibleOverlays().empty());
}

} // namespace
