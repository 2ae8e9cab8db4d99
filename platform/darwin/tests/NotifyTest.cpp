// Darwin notifications across the device's processes, through cancels and service restarts.

#include "darwin/notify.h"
#include "DeviceTest.h"
#include "darwin/ServicesProtocol.h"

#include <atomic>

namespace {

using test::DeviceTest;

class NotifyTest : public DeviceTest {
protected:
    // A registration on the main queue that counts its deliveries.
    int registerCounting(const char *name)
    {
        int token = -1;
        EXPECT_EQ(notify_register_dispatch(name, &token, dispatch_get_main_queue(),
                                           [this](int delivered) {
                                               m_lastToken = delivered;
                                               ++m_deliveries;
                                           }),
                  NOTIFY_STATUS_OK);
        return token;
    }

    // Gives a delivery that should not happen the chance to.
    static void idle()
    {
        test::runMainLoopUntil([] { return false; }, 200);
    }

    std::atomic<int> m_deliveries{0};
    std::atomic<int> m_lastToken{-1};
};

TEST_F(NotifyTest, APostReachesThePostersOwnRegistrationUntilCancelledEvenOnItsWay)
{
    int token = registerCounting("test.self");
    int unrelated = registerCounting("test.unrelated");
    ASSERT_EQ(notify_post("test.self"), NOTIFY_STATUS_OK);
    EXPECT_TRUE(test::runMainLoopUntil([&] { return m_deliveries >= 1; }));
    idle();
    EXPECT_EQ(m_deliveries, 1);
    EXPECT_EQ(m_lastToken, token);

    // The post's handler is queued before notify_post returns; the cancel comes before it runs.
    ASSERT_EQ(notify_post("test.self"), NOTIFY_STATUS_OK);
    EXPECT_EQ(notify_cancel(token), NOTIFY_STATUS_OK);
    EXPECT_EQ(notify_post("test.self"), NOTIFY_STATUS_OK);
    idle();
    EXPECT_EQ(m_deliveries, 1);
    EXPECT_EQ(notify_cancel(token), NOTIFY_STATUS_INVALID_TOKEN);
    EXPECT_EQ(notify_cancel(unrelated), NOTIFY_STATUS_OK);
}

TEST_F(NotifyTest, ACheckRegistrationInAnotherProcessSeesThePost)
{
    test::Signal ready, posted;
    pid_t watcher = test::forkChild([&] {
        int token = -1, check = -1;
        if (notify_register_check("test.polled", &token) != NOTIFY_STATUS_OK)
            return 2;
        auto checkSays = [&](int expected) {
            return notify_check(token, &check) == NOTIFY_STATUS_OK && check == expected;
        };
        if (!checkSays(1) || !checkSays(0)) // the first check answers 1
            return 3;
        ready.send();
        return posted.wait() && checkSays(1) && checkSays(0) ? 0 : 4;
    });
    ASSERT_TRUE(ready.wait());
    EXPECT_EQ(notify_post("test.polled"), NOTIFY_STATUS_OK);
    posted.send();
    EXPECT_EQ(test::waitForChild(watcher), 0);
}

TEST_F(NotifyTest, StateIsSharedByEveryProcessOfTheDevice)
{
    int token = -1;
    ASSERT_EQ(notify_register_check("test.state", &token), NOTIFY_STATUS_OK);
    test::Signal written, rewritten;
    pid_t other = test::forkChild([&] {
        int mine = -1;
        uint64_t state = 0;
        if (notify_register_check("test.state", &mine) != NOTIFY_STATUS_OK ||
            notify_set_state(mine, 0x1234567890ull) != NOTIFY_STATUS_OK)
            return 2;
        written.send();
        if (!rewritten.wait())
            return 3;
        return notify_get_state(mine, &state) == NOTIFY_STATUS_OK && state == 7 ? 0 : 4;
    });
    ASSERT_TRUE(written.wait());
    uint64_t state = 0;
    EXPECT_EQ(notify_get_state(token, &state), NOTIFY_STATUS_OK);
    EXPECT_EQ(state, 0x1234567890ull);
    EXPECT_EQ(notify_set_state(token, 7), NOTIFY_STATUS_OK);
    rewritten.send();
    EXPECT_EQ(test::waitForChild(other), 0);
    EXPECT_EQ(notify_cancel(token), NOTIFY_STATUS_OK);
}

TEST_F(NotifyTest, RegistrationsSurviveARestartOfTheServices)
{
    int polled = -1, check = -1;
    ASSERT_EQ(notify_register_check("test.restart", &polled), NOTIFY_STATUS_OK);
    ASSERT_EQ(notify_check(polled, &check), NOTIFY_STATUS_OK);
    int delivered = registerCounting("test.restart");

    m_device.stopServices();
    ASSERT_TRUE(m_device.startServices());
    // The next call connects again and registers anew (a fresh registration's check says 1).
    EXPECT_EQ(notify_check(polled, &check), NOTIFY_STATUS_OK);
    pid_t poster = test::forkChild([] { return static_cast<int>(notify_post("test.restart")); });
    EXPECT_EQ(test::waitForChild(poster), 0);

    EXPECT_EQ(notify_check(polled, &check), NOTIFY_STATUS_OK);
    EXPECT_EQ(check, 1);
    EXPECT_TRUE(test::runMainLoopUntil([&] { return m_deliveries == 1; }));
    EXPECT_EQ(m_lastToken, delivered);
    EXPECT_EQ(notify_cancel(polled), NOTIFY_STATUS_OK);
    EXPECT_EQ(notify_cancel(delivered), NOTIFY_STATUS_OK);
}

TEST_F(NotifyTest, CallsCheckTheirArguments)
{
    int token = -1, check = 0;
    uint64_t state = 0;
    std::string tooLong(sim::kMaxServiceNameLength + 1, 'n');
    EXPECT_EQ(notify_post(nullptr), NOTIFY_STATUS_INVALID_NAME);
    EXPECT_EQ(notify_post(""), NOTIFY_STATUS_INVALID_NAME);
    EXPECT_EQ(notify_post(tooLong.c_str()), NOTIFY_STATUS_INVALID_NAME);
    EXPECT_EQ(notify_register_check("test.args", nullptr), NOTIFY_STATUS_INVALID_REQUEST);
    EXPECT_EQ(notify_register_dispatch("test.args", &token, nullptr, [](int) {}),
              NOTIFY_STATUS_INVALID_REQUEST);
    EXPECT_EQ(notify_register_dispatch("test.args", &token, dispatch_get_main_queue(), nullptr),
              NOTIFY_STATUS_INVALID_REQUEST);
    EXPECT_EQ(notify_check(987654, &check), NOTIFY_STATUS_INVALID_TOKEN);
    EXPECT_EQ(notify_get_state(987654, &state), NOTIFY_STATUS_INVALID_TOKEN);
    EXPECT_EQ(notify_set_state(987654, 1), NOTIFY_STATUS_INVALID_TOKEN);
    EXPECT_EQ(notify_cancel(987654), NOTIFY_STATUS_INVALID_TOKEN);
    ASSERT_EQ(notify_register_check("test.args", &token), NOTIFY_STATUS_OK);
    EXPECT_EQ(notify_check(token, nullptr), NOTIFY_STATUS_INVALID_REQUEST);
    EXPECT_EQ(notify_get_state(token, nullptr), NOTIFY_STATUS_INVALID_REQUEST);
    EXPECT_EQ(notify_cancel(token), NOTIFY_STATUS_OK);
}

} // namespace
